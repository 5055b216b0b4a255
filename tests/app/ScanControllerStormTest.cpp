// Abort storms against the scan controller alone, over a front end kept in memory:
// the protocol both dialogs share, fast enough for a thousand sequences.

#include <gtest/gtest.h>

#include <atomic>

#include "tests/app/MemoryFrontEnd.h"
#include "tests/support/Storm.h"

namespace {

class ControllerUnderStorm : public StormFrontEnd {
 public:
  explicit ControllerUnderStorm(std::shared_ptr<FileSystem> machine) : m_frontEnd(std::move(machine)) {
    m_controller.StartScan();
  }

  void ClickRefresh() override { m_controller.OnRefresh(); }
  void PickUnit(int unit) override { m_controller.OnSelchangeUnits(unit); }
  void HandOverTimer() override { m_controller.OnHandOverTimer(); }
  void RefreshFolder(TreeItem item) override {
    m_frontEnd.tree.SelectItem(item);
    m_controller.RefreshFolder(item);
  }
  std::string Close(int, bool giveUpSoon) override {
    m_controller.StopForClosing(giveUpSoon ? std::chrono::milliseconds(1) : ScanController::kClosingWait);
    return m_frontEnd.tree.GetCount() == 0 ? "" : "the tree still holds items";
  }
  void Pump() override {
    m_frontEnd.Pump(m_controller);
    std::this_thread::sleep_for(std::chrono::microseconds(50));
  }
  bool IsScanHeld() const override { return m_controller.IsScanHeld(); }
  bool IsScanRunning() const override { return m_controller.IsScanRunning(); }
  bool IsAbortRequested() const override { return m_controller.IsAbortRequested(); }
  int Unit() const override { return m_controller.Unit(); }
  const TreeView& Folders() const override { return m_frontEnd.tree; }
  std::string Label(TreeItem item) const override { return std::string(m_frontEnd.tree.GetItemText(item)); }
  std::string ControlsFault() const override {
    return m_frontEnd.showsScanning ? "the controls show a scan" : "";
  }
  std::string CursorFault() const override {
    if (m_frontEnd.busyCursor) return "the busy cursor stays";
    return m_frontEnd.redrawHeld ? "the tree's redraw stays held" : "";
  }

 private:
  MemoryFrontEnd m_frontEnd;
  ScanController m_controller{m_frontEnd, std::make_shared<PlainDisplayText>(),
                              std::make_shared<FixedNumberLocale>(3, ","), 2};
};

// Natively a sequence costs a few milliseconds, even under the sanitizers; under Wine
// some 25 (thread starts and timed waits go through the Wine server).
constexpr int kSequences = 1000;

TEST(ScanControllerStorm, EverySequenceEndsWithExactLabelsNoWorkerAndNothingLeft) {
  const StormTarget target{"scan controller", 1, [](std::shared_ptr<FileSystem> machine, std::uint64_t) {
                             return std::make_unique<ControllerUnderStorm>(std::move(machine));
                           }};
  const StormSettings settings = StormSettingsFromEnvironment(kSequences);
  const StormReport report = RunStorm(target, settings);
  EXPECT_EQ(report.sequences, settings.sequences);
  for (const std::string& failure : report.failures) ADD_FAILURE() << failure;
}

// Storms re-arm the gate while the worker is held there: the release in between must
// let the worker go even when the new Arm comes before the worker wakes.
TEST(StormGate, AReleaseLetsTheHeldWorkerGoEvenWhenANewArmFollowsAtOnce) {
  Gate gate;
  gate.Arm("C:");
  std::atomic<bool> passed{false};
  std::thread worker([&] {
    gate.Pass("C:");
    passed = true;
  });
  gate.WaitUntilHeld();
  gate.Release();
  gate.Arm("C:");
  // A worker still held after this never goes on.
  EXPECT_TRUE(Eventually([&] { return passed.load(); }, std::chrono::seconds(10)));
  gate.Release();
  worker.join();
}

}  // namespace
