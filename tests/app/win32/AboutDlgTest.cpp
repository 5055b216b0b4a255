// The About box and its link: texts, colouring, and the clipboard fallback.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/AppTexts.h"
#include "app/win32/AboutDlg.h"
#include "res/resource.h"
#include "tests/app/win32/DialogTestSupport.h"

namespace {

std::string ClipboardText(HWND owner) {
  std::string text;
  if (!OpenClipboard(owner)) return "(clipboard unavailable)";
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char* chars = static_cast<const char*>(GlobalLock(data))) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
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
  EXPECT_EQ(WindowText(Link()), AMBRELL_TEXT_HOME_PAGE);
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

TEST_F(AboutDlgTest, ALinkTheShellCannotOpenGoesToTheClipboardAsText) {
  const std::string unopenable = "ambrell-test-no-such-scheme:nowhere/at all";
  SetWindowTextA(Link(), unopenable.c_str());
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

TEST_F(AboutDlgTest, OkEndsTheBox) {
  SendMessageA(about.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_TRUE(about.HasEnded());
  EXPECT_EQ(about.GetResult(), IDOK);
}

}  // namespace
