// The shared scan protocol scenarios against the Windows main dialog under Wine, driven
// with the messages its button, unit list, hand-over timer and Close button send.

#include <windows.h>

#include "platform/win32/WideText.h"
#include "tests/app/win32/MainDialogFixture.h"
#include "tests/protocol/MapSpot.h"
#include "tests/protocol/ScanProtocol.h"
#include "tests/support/RecordingIndicator.h"

namespace {

class DialogDriver : public ScanProtocolDriver {
 public:
  // Null when the dialog cannot be made.
  static std::unique_ptr<ScanProtocolDriver> Open(std::shared_ptr<MemoryFileSystem> machine) {
    auto processes = std::make_shared<RecordedProcesses>();
    auto progress = std::make_shared<RecordingIndicator>();
    AmbrellServices services = TestServices(std::move(machine), processes);
    services.progress = progress;
    auto opened = std::unique_ptr<DialogDriver>(
        new DialogDriver(std::make_unique<CAmbrellDlg>(std::move(services)), processes, progress));
    if (!opened->m_dialog->Create()) return nullptr;
    opened->m_abortEvent = opened->m_dialog->GetAbortEvent();
    return opened;
  }

  void ClickRefresh() override { Command(IDC_REFRESH, BN_CLICKED); }
  void PickUnit(int unit) override {
    SendMessageA(Item(IDC_UNITS), CB_SETCURSEL, static_cast<WPARAM>(unit), 0);
    Command(IDC_UNITS, CBN_SELCHANGE);
  }
  int Unit() const override { return m_dialog->GetUnit(); }
  void HandOverTimer() override { SendMessageA(m_dialog->GetSafeHwnd(), WM_TIMER, 1, 0); }
  bool PumpUntil(const std::function<bool()>& condition) override { return ::PumpUntil(condition); }
  bool IsScanHeld() const override { return m_dialog->GetScanThread() != nullptr; }
  bool IsScanRunning() const override { return m_dialog->IsScanRunning(); }
  bool IsAbortRequested() const override { return WaitForSingleObject(m_abortEvent, 0) == WAIT_OBJECT_0; }
  std::string Labels() const override { return DumpLabels(m_dialog->GetTree()); }
  std::size_t ItemCount() const override { return m_dialog->GetTree().GetCount(); }
  std::string ButtonText() const override { return WindowText(Item(IDC_REFRESH)); }
  bool ListsEnabled() const override {
    return IsWindowEnabled(Item(IDC_TREE)) != FALSE && IsWindowEnabled(Item(IDC_UNITS)) != FALSE;
  }
  // The cursor the dialog sets when the mouse moves over it.
  bool ShowsBusyCursor() const override {
    const HWND window = m_dialog->GetSafeHwnd();
    SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor() == LoadCursorA(nullptr, IDC_APPSTARTING);
  }
  void SortBySize(bool checked) override {
    if (IsSortChecked() != checked) SendMessageA(m_dialog->GetSafeHwnd(), WM_SYSCOMMAND, IDM_SORT_BY_SIZE, 0);
  }
  std::string SortBySizeState() const override { return ItemState(IDM_SORT_BY_SIZE); }
  // Expands every item the way a click on its button does, then reads the control.
  std::string ShownLabels() override {
    std::string shown;
    DumpShown(m_dialog->GetTree().Control(), TVI_ROOT, 0, shown);
    return shown;
  }
  void Select(const std::string& name) override {
    const FolderTreeIndex& tree = m_dialog->GetTree();
    SendMessageA(Item(IDC_TREE), TVM_SELECTITEM, TVGN_CARET,
                 reinterpret_cast<LPARAM>(tree.NativeOf(FindItem(tree, name))));
  }
  std::string SelectedLabel() const override {
    const FolderTreeIndex& tree = m_dialog->GetTree();
    return tree.GetItemText(tree.GetSelectedItem());
  }
  std::vector<std::string> ProgressShown() const override { return m_progress->calls; }
  void RefreshSelectedFolder() override {
    SendMessageA(m_dialog->GetSafeHwnd(), WM_SYSCOMMAND, IDM_REFRESH_FOLDER, 0);
  }
  std::string RefreshFolderState() const override { return ItemState(IDM_REFRESH_FOLDER); }
  void CompareWith(const std::string& file) override {
    m_dialog->SetFileChooser([this, file](HWND, SavedScanChoice) {
      ++m_fileBoxes;
      return file.empty() ? std::vector<std::string>() : std::vector<std::string>{file};
    });
    SendMessageA(m_dialog->GetSafeHwnd(), WM_SYSCOMMAND, IDM_COMPARE, 0);
  }
  int FileBoxesShown() const override { return m_fileBoxes; }
  std::string CompareState() const override { return ItemState(IDM_COMPARE); }
  std::string SortByChangeState() const override { return ItemState(IDM_SORT_BY_CHANGE); }
  void SortByChange(bool checked) override {
    if (ItemState(IDM_SORT_BY_CHANGE).find("checked") == std::string::npos ? checked : !checked)
      SendMessageA(m_dialog->GetSafeHwnd(), WM_SYSCOMMAND, IDM_SORT_BY_CHANGE, 0);
  }
  void OpenLargestFiles() override {
    SendMessageA(m_dialog->GetSafeHwnd(), WM_SYSCOMMAND, IDM_LARGEST_FILES, 0);
  }
  std::vector<std::string> LargestFileRows() const override {
    const CLargestFilesDlg& window = m_dialog->GetLargestFiles();
    std::vector<std::string> rows;
    if (window.GetSafeHwnd() == nullptr) return rows;
    for (std::size_t row = 0; row < window.GetRowCount(); ++row)
      rows.push_back(window.GetRowText(static_cast<int>(row)));
    return rows;
  }
  // Enter in the list, which the list hands its window as WM_VKEYTOITEM.
  std::string ShowLargestFile(int row) override {
    const HWND list = m_dialog->GetLargestFiles().GetDlgItem(IDC_FILES);
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    SendMessageA(list, WM_KEYDOWN, VK_RETURN, 0);
    if (m_processes->commandLines.empty()) return "nothing started";
    const std::string started = m_processes->commandLines.back();
    const std::string prefix = "explorer.exe /select,\"";
    if (started.rfind(prefix, 0) != 0 || started.back() != '"') return started;
    return started.substr(prefix.size(), started.size() - prefix.size() - 1);
  }
  void ShowMap() override {
    if (ShowMapState() == "") SendMessageA(m_dialog->GetSafeHwnd(), WM_SYSCOMMAND, IDM_SHOW_MAP, 0);
  }
  std::string ShowMapState() const override {
    const UINT state = GetMenuState(SystemMenu(), IDM_SHOW_MAP, MF_BYCOMMAND);
    if (state == static_cast<UINT>(-1)) return "no item";
    return MenuItemState((state & MF_GRAYED) == 0, (state & MF_CHECKED) != 0);
  }
  std::string MapTitle() const override {
    const CMapDlg& map = m_dialog->GetMap();
    return map.IsOpen() ? WideWindowText(map.GetSafeHwnd()) : "closed";
  }
  std::vector<std::string> MapLabels() const override {
    std::vector<std::string> labels;
    const MapWindowState& state = m_dialog->GetMap().State();
    for (const MapBlock& block : state.Map().Blocks()) {
      if (block.depth <= 1) labels.push_back(state.BlockLabel(block));
    }
    return labels;
  }
  void ClickMap(const std::string& name) override { ClickMapBlock(name, WM_LBUTTONDOWN); }
  void DoubleClickMap(const std::string& name) override {
    ClickMapBlock(name, WM_LBUTTONDOWN);
    ClickMapBlock(name, WM_LBUTTONDBLCLK);
  }
  std::string HoverMap(const std::string& name) override {
    ClickMapBlock(name, WM_MOUSEMOVE);
    return m_dialog->GetMap().HoverText();
  }
  void PressMapKey(MapKey key) override {
    SendMessageA(m_dialog->GetMap().GetSafeHwnd(), WM_KEYDOWN, key == MapKey::Backspace ? VK_BACK : VK_ESCAPE,
                 0);
  }
  std::string Close() override {
    HANDLE thread = nullptr;
    if (m_dialog->GetScanThread() != nullptr &&
        !DuplicateHandle(GetCurrentProcess(), m_dialog->GetScanThread(), GetCurrentProcess(), &thread, 0,
                         FALSE, DUPLICATE_SAME_ACCESS)) {
      return "the worker's thread cannot be watched";
    }
    Command(IDC_CLOSE, BN_CLICKED);
    const bool threadEnded = thread == nullptr || WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
    if (thread != nullptr) CloseHandle(thread);
    if (!threadEnded) return "the worker's thread still runs";
    if (!m_dialog->HasEnded() || m_dialog->GetSafeHwnd() != nullptr) return "the window is still there";
    if (m_dialog->GetResult() != IDOK) return "the dialog did not end with OK";
    return m_dialog->GetTree().GetCount() == 0 ? "" : "the tree still holds items";
  }

 private:
  DialogDriver(std::unique_ptr<CAmbrellDlg> dialog, std::shared_ptr<RecordedProcesses> processes,
               std::shared_ptr<RecordingIndicator> progress)
      : m_dialog(std::move(dialog)), m_processes(std::move(processes)), m_progress(std::move(progress)) {}

  void ClickMapBlock(const std::string& name, UINT message) {
    const MapSpot spot = FindMapSpot(m_dialog->GetMap().State().Map(), name);
    if (!spot.found) return ADD_FAILURE() << name << " is not on the map";
    SendMessageA(m_dialog->GetMap().GetSafeHwnd(), message, MK_LBUTTON, MAKELPARAM(spot.x, spot.y));
  }
  static std::string WideWindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    GetWindowTextW(window, &text[0], static_cast<int>(text.size()));
    return WideToUtf8(text.c_str());
  }
  HWND Item(int id) const { return GetDlgItem(m_dialog->GetSafeHwnd(), id); }
  HMENU SystemMenu() const { return GetSystemMenu(m_dialog->GetSafeHwnd(), FALSE); }
  std::string ItemState(UINT command) const {
    const UINT state = GetMenuState(SystemMenu(), command, MF_BYCOMMAND);
    if (state == static_cast<UINT>(-1)) return "no item";
    return MenuItemState((state & MF_GRAYED) == 0, (state & MF_CHECKED) != 0);
  }
  bool IsSortChecked() const {
    return (GetMenuState(SystemMenu(), IDM_SORT_BY_SIZE, MF_BYCOMMAND) & MF_CHECKED) != 0;
  }
  static void DumpShown(const CTreeCtrl& control, HTREEITEM parent, int depth, std::string& shown) {
    const HTREEITEM first = parent == TVI_ROOT ? control.GetRootItem() : control.GetChildItem(parent);
    for (HTREEITEM item = first; item != nullptr; item = control.GetNextSiblingItem(item)) {
      SendMessageA(control.GetSafeHwnd(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
      shown += std::string(static_cast<std::size_t>(depth) * 2, ' ') + control.GetItemText(item) + '\n';
      DumpShown(control, item, depth + 1, shown);
    }
  }
  void Command(int id, WORD code) {
    SendMessageA(m_dialog->GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, code),
                 reinterpret_cast<LPARAM>(Item(id)));
  }

  std::unique_ptr<CAmbrellDlg> m_dialog;
  std::shared_ptr<RecordedProcesses> m_processes;
  std::shared_ptr<RecordingIndicator> m_progress;
  HANDLE m_abortEvent = nullptr;  // the dialog's, polled from the releasing thread
  int m_fileBoxes = 0;
};

INSTANTIATE_TEST_SUITE_P(Win32Dialog, ScanProtocolTest,
                         ::testing::Values(ScanProtocolTarget{"Win32Dialog", &DialogDriver::Open}),
                         ScanProtocolTargetName());

}  // namespace

INSTANTIATE_TEST_SUITE_P(Win32Dialog, ScanProtocolFolderRefreshTest,
                         ::testing::Values(ScanProtocolTarget{"Win32Dialog", &DialogDriver::Open}),
                         ScanProtocolTargetName());
INSTANTIATE_TEST_SUITE_P(Win32Dialog, ScanProtocolProgressTest,
                         ::testing::Values(ScanProtocolTarget{"Win32Dialog", &DialogDriver::Open}),
                         ScanProtocolTargetName());
INSTANTIATE_TEST_SUITE_P(Win32Dialog, ScanProtocolMenuTest,
                         ::testing::Values(ScanProtocolTarget{"Win32Dialog", &DialogDriver::Open}),
                         ScanProtocolTargetName());
INSTANTIATE_TEST_SUITE_P(Win32Dialog, ScanProtocolMapTest,
                         ::testing::Values(ScanProtocolTarget{"Win32Dialog", &DialogDriver::Open}),
                         ScanProtocolTargetName());

// The dialog keeps its own closing wait of ten seconds: ScanProtocolCloseWaitTest does
// not run here.
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(ScanProtocolCloseWaitTest);
