// The shared scan protocol scenarios against the scan controller, with a front end
// that keeps its tree in memory standing in for a dialog.

#include <gtest/gtest.h>

#include "app/ScanController.h"
#include "scan/TreeWalk.h"
#include "tests/app/MemoryFrontEnd.h"
#include "tests/protocol/ScanProtocol.h"
#include "tests/support/TreeDump.h"

namespace {

class ControllerDriver : public ScanProtocolDriver {
 public:
  explicit ControllerDriver(std::shared_ptr<MemoryFileSystem> machine) : m_frontEnd(std::move(machine)) {
    m_controller.StartScan();
  }
  ~ControllerDriver() override { m_controller.StopForClosing(); }

  void ClickRefresh() override { m_controller.OnRefresh(); }
  void PickUnit(int unit) override { m_controller.OnSelchangeUnits(unit); }
  int Unit() const override { return m_controller.Unit(); }
  void HandOverTimer() override { m_controller.OnHandOverTimer(); }
  bool PumpUntil(const std::function<bool()>& condition) override {
    return m_frontEnd.PumpUntil(m_controller, condition);
  }
  bool IsScanHeld() const override { return m_controller.IsScanHeld(); }
  bool IsScanRunning() const override { return m_controller.IsScanRunning(); }
  bool IsAbortRequested() const override { return m_controller.IsAbortRequested(); }
  std::string Labels() const override { return DumpLabels(m_frontEnd.tree); }
  std::size_t ItemCount() const override { return m_frontEnd.tree.GetCount(); }
  std::string ButtonText() const override { return m_frontEnd.showsScanning ? "&Abort" : "&Refresh"; }
  bool ListsEnabled() const override { return !m_frontEnd.showsScanning; }
  bool ShowsBusyCursor() const override { return m_frontEnd.busyCursor; }
  void SetCloseWait(std::chrono::milliseconds wait) override { m_closeWait = wait; }
  void Select(const std::string& name) override {
    MemoryTree& tree = m_frontEnd.tree;
    WalkPreOrder(tree, [&](TreeItem item) {
      if (tree.GetItemText(item).rfind(name + "    (", 0) == 0) tree.SelectItem(item);
    });
  }
  std::string SelectedLabel() const override {
    const MemoryTree& tree = m_frontEnd.tree;
    return tree.GetSelectedItem() != kNoItem ? std::string(tree.GetItemText(tree.GetSelectedItem())) : "";
  }
  std::vector<std::string> ProgressShown() const override { return m_frontEnd.progress.calls; }
  void RefreshSelectedFolder() override { m_controller.RefreshFolder(m_frontEnd.tree.GetSelectedItem()); }
  std::string Close() override {
    m_controller.StopForClosing(m_closeWait);
    if (m_controller.IsScanHeld()) return "the scan is still held";
    // Every record freed with its item (the sanitizers check).
    return m_frontEnd.tree.GetCount() == 0 ? "" : "the tree still holds items";
  }

 private:
  MemoryFrontEnd m_frontEnd;
  ScanController m_controller{m_frontEnd, std::make_shared<PlainDisplayText>(),
                              std::make_shared<FixedNumberLocale>(3, ","), 2};
  std::chrono::milliseconds m_closeWait = ScanController::kClosingWait;
};

const ScanProtocolTarget kControllerTarget{"Controller", [](std::shared_ptr<MemoryFileSystem> machine) {
                                             return std::make_unique<ControllerDriver>(std::move(machine));
                                           }};
INSTANTIATE_TEST_SUITE_P(Controller, ScanProtocolTest, ::testing::Values(kControllerTarget),
                         ScanProtocolTargetName());
INSTANTIATE_TEST_SUITE_P(Controller, ScanProtocolFolderRefreshTest, ::testing::Values(kControllerTarget),
                         ScanProtocolTargetName());
INSTANTIATE_TEST_SUITE_P(Controller, ScanProtocolProgressTest, ::testing::Values(kControllerTarget),
                         ScanProtocolTargetName());
INSTANTIATE_TEST_SUITE_P(Controller, ScanProtocolCloseWaitTest, ::testing::Values(kControllerTarget),
                         ScanProtocolTargetName());

}  // namespace

// The controller has no window menu.
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(ScanProtocolMenuTest);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(ScanProtocolMapTest);
