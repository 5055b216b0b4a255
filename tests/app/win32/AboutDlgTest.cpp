// The About box and its link: texts, colouring, and the clipboard fallback.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "app/AppTexts.h"
#include "app/win32/AboutDlg.h"
#include "platform/win32/ProgramFolder.h"
#include "platform/win32/WideText.h"
#include "res/resource.h"
#include "tests/app/win32/DialogTestSupport.h"

namespace {

// In UTF-8, from the clipboard's Unicode text.
std::string ClipboardText(HWND owner) {
  std::string text;
  if (!OpenClipboard(owner)) return "(clipboard unavailable)";
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const wchar_t* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = WideToUtf8(chars);
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

// One control of an extended dialog template, as far as the tests look at it.
struct DialogItem {
  DWORD style;
  short x, y, cx, cy;
};

// Skips a name or ordinal field of a template (0xFFFF and a number, or a string).
const WORD* SkipNameOrOrdinal(const WORD* field) {
  if (*field == 0xFFFF) return field + 2;
  while (*field != 0) ++field;
  return field + 1;
}

const BYTE* AlignToDword(const void* at) {
  const auto address = reinterpret_cast<std::uintptr_t>(at);
  return reinterpret_cast<const BYTE*>((address + 3) & ~std::uintptr_t{3});
}

// The controls of a DLGTEMPLATEEX: the header with its menu, class, title and font,
// then one DWORD-aligned record per control.
std::vector<DialogItem> DialogItems(const BYTE* dialog) {
  const auto* words = reinterpret_cast<const WORD*>(dialog);
  if (words[0] != 1 || words[1] != 0xFFFF) return {};  // not an extended template
  const DWORD style = *reinterpret_cast<const DWORD*>(dialog + 12);
  const WORD count = *reinterpret_cast<const WORD*>(dialog + 16);
  const WORD* field = reinterpret_cast<const WORD*>(dialog + 26);          // after x, y, cx, cy
  field = SkipNameOrOrdinal(SkipNameOrOrdinal(SkipNameOrOrdinal(field)));  // menu, class, title
  if ((style & DS_SETFONT) != 0) field = SkipNameOrOrdinal(field + 3);     // size, weight, italic+charset
  std::vector<DialogItem> items;
  const BYTE* item = AlignToDword(field);
  for (WORD i = 0; i < count; ++i) {
    DialogItem described;
    described.style = *reinterpret_cast<const DWORD*>(item + 8);
    std::memcpy(&described.x, item + 12, 4 * sizeof(short));
    items.push_back(described);
    const WORD* text = SkipNameOrOrdinal(SkipNameOrOrdinal(reinterpret_cast<const WORD*>(item + 24)));
    const WORD extraBytes = *text;
    item = AlignToDword(reinterpret_cast<const BYTE*>(text + 1) + extraBytes);
  }
  return items;
}

class AboutDlgTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(about.Create()); }

  HWND Link() const { return GetDlgItem(about.GetSafeHwnd(), IDC_HOMEPAGE); }
  LRESULT ColourRequest(HWND control, HDC dc) {
    return SendMessageA(about.GetSafeHwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                        reinterpret_cast<LPARAM>(control));
  }

  CAboutDlg about;
};

TEST_F(AboutDlgTest, ShowsTheProgramsNameVersionNoticeAndHomePage) {
  EXPECT_EQ(WindowText(about.GetSafeHwnd()), "About Ambrell");
  // The README beside the program, as a full path the shell opens.
  const std::string homePage = WindowText(Link());
  EXPECT_EQ(homePage, FileBesideProgram("README.txt"));
  EXPECT_EQ(homePage.substr(1, 2), ":\\");
  EXPECT_EQ(homePage.substr(homePage.size() - 11), "\\README.txt");
  std::string versionText;
  for (HWND child = GetWindow(about.GetSafeHwnd(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if ((GetWindowLongA(child, GWL_STYLE) & SS_NOPREFIX) != 0) versionText = WindowText(child);
  }
  EXPECT_EQ(versionText, AMBRELL_TEXT_VERSION_LINE "\n" AMBRELL_TEXT_NOTICE_LINE);
}

TEST_F(AboutDlgTest, TheLinkIsBlueUnderlinedAndTransparentWithOneFontMadeOnce) {
  const HDC dc = GetDC(Link());
  EXPECT_EQ(ColourRequest(Link(), dc), reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)));
  EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 255));
  EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
  const HFONT font = about.GetHomePageLink().GetLinkFont();
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font);
  LOGFONTA description = {};
  GetObjectA(font, sizeof description, &description);
  EXPECT_TRUE(description.lfUnderline);

  // A later change of the control's font leaves the link's font as it was.
  SendMessageA(Link(), WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(SYSTEM_FONT)), FALSE);
  ColourRequest(Link(), dc);
  EXPECT_EQ(about.GetHomePageLink().GetLinkFont(), font);
  ReleaseDC(Link(), dc);
}

TEST_F(AboutDlgTest, AStaticThatIsNotPlainTextKeepsItsColoursButTakesTheMouse) {
  // The first control with no identifier of its own is the program's icon (SS_ICON).
  CLinkStatic iconLink;
  ASSERT_TRUE(iconLink.SubclassDlgItem(IDC_STATIC, about.GetSafeHwnd()));
  const HDC dc = GetDC(iconLink.GetSafeHwnd());

  EXPECT_NE(ColourRequest(iconLink.GetSafeHwnd(), dc), reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)));
  EXPECT_NE(GetTextColor(dc), RGB(0, 0, 255));
  EXPECT_EQ(iconLink.GetLinkFont(), nullptr);
  EXPECT_EQ(SendMessageA(iconLink.GetSafeHwnd(), WM_NCHITTEST, 0, 0), HTCLIENT);
  ReleaseDC(iconLink.GetSafeHwnd(), dc);
}

// Greek and Japanese: no ANSI code page holds both.
TEST_F(AboutDlgTest, ALinkTheShellCannotOpenGoesToTheClipboardAsText) {
  const std::string unopenable = "ambrell-test-no-such-scheme:nowhere/at all \xCE\xA9 \xE6\x97\xA5";
  std::wstring wide;
  ASSERT_TRUE(Utf8ToWide(unopenable.c_str(), wide));
  SetWindowTextW(Link(), wide.c_str());
  ASSERT_TRUE(CopyTextToClipboard(about.GetSafeHwnd(), "something else"));

  SendMessageA(Link(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
  EXPECT_EQ(ClipboardText(about.GetSafeHwnd()), unopenable);
}

TEST_F(AboutDlgTest, TheLinkAnswersTheMouseAndShowsTheHand) {
  SetCursor(LoadCursorA(nullptr, IDC_ARROW));
  EXPECT_EQ(SendMessageA(Link(), WM_NCHITTEST, 0, 0), HTCLIENT);
  EXPECT_EQ(SendMessageA(Link(), WM_SETCURSOR, reinterpret_cast<WPARAM>(Link()),
                         MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
            TRUE);
  EXPECT_NE(GetCursor(), LoadCursorA(nullptr, IDC_ARROW));
  EXPECT_NE(GetCursor(), nullptr);  // the hand was loaded from the resources
}

// The icon control's size as the template holds it: a SS_ICON static sizes itself to
// its icon on screen, so only the template shows whether the resource compiler kept it.
TEST(AboutTemplate, TheIconControlKeepsItsSize) {
  const HRSRC found =
      FindResourceA(nullptr, MAKEINTRESOURCEA(IDD_ABOUTBOX), MAKEINTRESOURCEA(5));  // RT_DIALOG
  ASSERT_NE(found, nullptr);
  const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found)));
  ASSERT_NE(bytes, nullptr);
  bool foundIcon = false;
  for (const DialogItem& item : DialogItems(bytes)) {
    if ((item.style & SS_TYPEMASK) != SS_ICON) continue;
    foundIcon = true;
    EXPECT_EQ(item.x, 10);
    EXPECT_EQ(item.y, 10);
    EXPECT_EQ(item.cx, 20);
    EXPECT_EQ(item.cy, 20);
  }
  EXPECT_TRUE(foundIcon);
}

TEST_F(AboutDlgTest, OkEndsTheBox) {
  SendMessageA(about.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_TRUE(about.HasEnded());
  EXPECT_EQ(about.GetResult(), IDOK);
}

}  // namespace
