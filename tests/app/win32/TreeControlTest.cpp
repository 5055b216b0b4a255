#include <gtest/gtest.h>

#include <string>

#include "app/win32/framework/TreeControl.h"

namespace {

// A bare tree-view control, destroyed with the test.
class TreeWindow {
 public:
  TreeWindow() {
    InitCommonControls();
    m_hWnd = CreateWindowExW(0, WC_TREEVIEWW, L"", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  }
  TreeWindow(const TreeWindow&) = delete;
  TreeWindow& operator=(const TreeWindow&) = delete;
  ~TreeWindow() { DestroyWindow(m_hWnd); }
  HWND Handle() const { return m_hWnd; }

 private:
  HWND m_hWnd;
};

std::wstring LabelAsShown(HWND control, HTREEITEM item) {
  wchar_t buffer[256] = {};
  TVITEMW data = {};
  data.mask = TVIF_TEXT | TVIF_HANDLE;
  data.hItem = item;
  data.pszText = buffer;
  data.cchTextMax = 256;
  SendMessageW(control, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data));
  return buffer;
}

// Labels are UTF-8 inside; the control shows the same characters whether the process
// code page is UTF-8 (A messages) or a Windows code page (W messages, converted).
TEST(TreeControl, NamesOutsideTheCodePageShowAsTheyAre) {
  const std::string name = u8"\u00fcn\u00ef \u65e5\u672c \U0001F4C1";
  const std::wstring shown = L"\u00fcn\u00ef \u65e5\u672c \U0001F4C1";
  const std::string label = name + u8"    (9,216 MB)";
  for (const unsigned codePage : {1252u, 65001u}) {
    TreeWindow window;
    ASSERT_NE(window.Handle(), nullptr);
    CTreeCtrl tree;
    tree.Attach(window.Handle());
    tree.SetTextCodePage(codePage);

    const HTREEITEM item = tree.InsertItem(name.c_str(), nullptr, TVI_ROOT);
    ASSERT_NE(item, nullptr) << codePage;
    EXPECT_EQ(LabelAsShown(window.Handle(), item), shown) << codePage;
    EXPECT_EQ(tree.GetItemText(item), name) << codePage;

    tree.SetItemText(item, label.c_str());
    EXPECT_EQ(LabelAsShown(window.Handle(), item), shown + L"    (9,216 MB)") << codePage;
    EXPECT_EQ(tree.GetItemText(item), label) << codePage;
    tree.Detach();
  }
}

}  // namespace
