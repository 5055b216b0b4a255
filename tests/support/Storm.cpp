#include "tests/support/Storm.h"

#include <cstdio>
#include <cstdlib>
#include <random>
#include <thread>

#include "scan/FolderPath.h"
#include "scan/ReadAheadFileSystem.h"
#include "scan/TreeWalk.h"
#include "tests/support/RandomMachine.h"
#include "tests/support/ScanExpectation.h"
#include "tests/support/StormGuards.h"
#include "tests/support/StormPlan.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kMaxFailedSequences = 3;
// A leak check stops every thread and scans all memory (some 30 ms under AddressSanitizer
// here): a long storm checks after every so many sequences, a short one (a replay)
// after each.
constexpr int kSequencesPerLeakCheck = 50;
constexpr int kMegabytes = 2;

bool NumberFromEnvironment(const char* name, std::uint64_t& value) {
  const char* text = std::getenv(name);
  if (text == nullptr || *text == '\0') return false;
  char* end = nullptr;
  value = std::strtoull(text, &end, 10);
  return *end == '\0';
}

// The machine as the read-ahead lister's inner file system, which it owns: a share.
class SharedMachine : public FileSystem {
 public:
  explicit SharedMachine(std::shared_ptr<MemoryFileSystem> machine) : m_machine(std::move(machine)) {}
  std::uint32_t GetLogicalDrives() override { return m_machine->GetLogicalDrives(); }
  bool IsFixedDrive(const char* rootText) override { return m_machine->IsFixedDrive(rootText); }
  ListingResult OpenListing(const char* pattern) override { return m_machine->OpenListing(pattern); }

 private:
  std::shared_ptr<MemoryFileSystem> m_machine;
};

// Half the sequences list the machine as the programs list real disks: with threads
// reading ahead of the walk, which the gate may hold as well as the worker.
std::shared_ptr<FileSystem> ListedAsDisks(std::shared_ptr<MemoryFileSystem> machine, unsigned threads) {
  if (threads <= 1) return machine;
  return std::make_shared<ReadAheadFileSystem>(std::make_unique<SharedMachine>(std::move(machine)),
                                               [threads](char) { return threads; });
}

// One sequence: a machine and a plan from its seed, run against a newly opened front end.
class SequenceRun {
 public:
  SequenceRun(const StormTarget& target, std::uint64_t seed, StormGuards& guards, GateKeeper& keeper,
              StormReport& report)
      : m_target(target), m_guards(guards), m_keeper(keeper), m_report(report), m_random(seed) {
    m_machine = MakeRandomMachine(m_random);
    m_plan = MakeStormPlan(*m_machine, m_random, target.closeWays);
    m_expected = ExpectedScanOrder(*m_machine);
  }

  std::string DescribePlan() const {
    std::string text = "\n  " + std::to_string(m_plan.listingThreads) + " listing threads; the gate opens " +
                       std::to_string(m_plan.abortReleaseDelayMicros) + " us after an abort request; steps:";
    if (!m_plan.gateBeforeOpen.empty())
      text += "\n    0. arm the gate at '" + m_plan.gateBeforeOpen + "', open";
    for (std::size_t i = 0; i < m_plan.steps.size(); ++i) {
      text += "\n    " + std::to_string(i + 1) + ". " + DescribeStep(m_plan.steps[i]);
    }
    return text;
  }

  // Empty when every check held, else the first fault with the sequence's steps.
  std::string Run() {
    Gate& gate = m_machine->GetGate();
    if (!m_plan.gateBeforeOpen.empty()) gate.Arm(m_plan.gateBeforeOpen);
    if (m_plan.listingThreads > 1) ++m_report.readingAhead;
    m_frontEnd = m_target.open(ListedAsDisks(m_machine, m_plan.listingThreads), m_plan.frontEndChoice);
    if (!m_frontEnd) return "the front end could not be opened";
    StartedScan();
    m_keeper.Watch(gate, *m_frontEnd, std::chrono::microseconds(m_plan.abortReleaseDelayMicros));
    for (m_step = 0; m_step < m_plan.steps.size(); ++m_step) {
      m_guards.Step("step " + std::to_string(m_step + 1) + " (" + DescribeStep(m_plan.steps[m_step]) + ")");
      Do(m_plan.steps[m_step]);
    }
    m_keeper.Unwatch();
    gate.Release();
    m_frontEnd.reset();
    m_guards.Step("waiting for every worker to end");
    // Every worker shares the machine until it ends, and so do the threads reading ahead.
    while (m_machine.use_count() > 1) std::this_thread::sleep_for(std::chrono::microseconds(100));
    return m_fault.empty() ? std::string() : m_fault + DescribePlan();
  }

 private:
  void Do(const StormStep& step) {
    Gate& gate = m_machine->GetGate();
    switch (step.action) {
      case StormAction::ArmGate:
        gate.Release();  // a worker held elsewhere would never reach the new point
        gate.Arm(step.point);
        break;
      case StormAction::ReleaseGate:
        gate.Release();
        break;
      case StormAction::ReleaseSoon:
        m_keeper.ReleaseAfter(std::chrono::microseconds(step.delayMicros));
        break;
      case StormAction::WaitUntilHeld:
        PumpUntil([&] { return gate.IsHeld() || !m_frontEnd->IsScanHeld(); });
        break;
      case StormAction::Click:
        Click();
        break;
      case StormAction::PickUnit:
        m_unit = step.unit;
        m_frontEnd->PickUnit(step.unit);
        if (!m_frontEnd->IsScanHeld()) CheckTree();
        break;
      case StormAction::HandOverTimer:
        m_frontEnd->HandOverTimer();
        break;
      case StormAction::Pump:
        for (int turn = 0; turn < 3; ++turn) m_frontEnd->Pump();
        break;
      case StormAction::WaitUntilIdle:
        gate.Release();
        PumpUntil([&] { return !m_frontEnd->IsScanHeld(); });
        CheckIdle();
        break;
      case StormAction::Close:
        CloseDown(step);
        break;
      case StormAction::RefreshFolder:
        RefreshFolder(step.pick);
        break;
    }
  }

  // Only a finished tree offers the item: while a scan is held it is greyed.
  void RefreshFolder(std::uint64_t pick) {
    if (m_frontEnd->IsScanHeld()) return;
    const TreeView& tree = m_frontEnd->Folders();
    std::vector<TreeItem> items;
    WalkPreOrder(tree, [&items](TreeItem item) { items.push_back(item); });
    if (items.empty()) return;
    const TreeItem item = items[pick % items.size()];
    std::string path = TextOrEmpty(FolderPathOf(tree, item).ToString());
    if (!path.empty() && path.back() == '\\') path.pop_back();  // a drive, 'C:\'
    m_frontEnd->RefreshFolder(item);
    if (!m_frontEnd->IsScanHeld()) return;
    StartedScan();
    ++m_report.folderRefreshes;
    m_refreshed = path;
  }

  void Click() {
    const bool abort = m_frontEnd->IsScanHeld();
    if (abort) {
      if (m_frontEnd->IsScanRunning()) ++m_report.aborts;
      m_mayBeAborted = true;
    } else {
      StartedScan();
    }
    m_frontEnd->ClickRefresh();
    // Abort returns once the worker has ended; its end is handled later.
    if (abort) {
      if (m_frontEnd->IsScanRunning()) Fail("the worker still runs after Abort returned");
      Fail(m_frontEnd->ControlsFault());
    }
  }

  void StartedScan() {
    ++m_report.scans;
    ++m_scan;
    m_mayBeAborted = false;
    m_refreshed.clear();
  }

  void CheckIdle() {
    Fail(m_frontEnd->ControlsFault());
    Fail(m_frontEnd->CursorFault());
    CheckTree();
  }

  void CheckTree() {
    if (m_frontEnd->Unit() != m_unit)
      Fail("unit " + std::to_string(m_frontEnd->Unit()) + " after picking another");
    const ScannedTree scanned{m_frontEnd->Folders(),
                              [this](TreeItem item) { return m_frontEnd->Label(item); }, m_frontEnd->Unit()};
    const TreeCheck check = m_refreshed.empty()
                                ? CheckScannedTree(scanned, m_expected, m_mayBeAborted)
                                : CheckRefreshedTree(scanned, *m_machine, m_refreshed, m_mayBeAborted);
    Fail(check.fault);
    ++m_report.treeChecks;
    if (m_checkedScan != m_scan && !check.complete) ++m_report.cutShort;
    m_checkedScan = m_scan;
  }

  void CloseDown(const StormStep& step) {
    if (m_frontEnd->IsScanHeld()) ++m_report.closesMidScan;
    m_keeper.Closing();
    Fail(m_frontEnd->Close(step.closeWay, step.giveUpSoon));
  }

  template <typename Condition>
  void PumpUntil(Condition done) {
    while (!done()) m_frontEnd->Pump();  // the guards' watchdog ends a wait that never ends
  }

  void Fail(const std::string& fault) {
    if (fault.empty() || !m_fault.empty()) return;
    m_fault = "step " + std::to_string(m_step + 1) + " (" +
              (m_step < m_plan.steps.size() ? DescribeStep(m_plan.steps[m_step]) : "the end") + "): " + fault;
  }

  const StormTarget& m_target;
  StormGuards& m_guards;
  GateKeeper& m_keeper;
  StormReport& m_report;
  StormRandom m_random;
  std::shared_ptr<MemoryFileSystem> m_machine;
  StormPlan m_plan;
  std::vector<ExpectedFolder> m_expected;
  std::unique_ptr<StormFrontEnd> m_frontEnd;
  std::size_t m_step = 0;
  int m_unit = kMegabytes;
  bool m_mayBeAborted = false;
  std::string m_refreshed;  // the folder the last scan walked alone, if it did
  int m_scan = 0;
  int m_checkedScan = 0;
  std::string m_fault;
};

// Leak checks after every so many sequences: a leak is reported with the sequences run
// since the last check, to be replayed together.
class LeakChecks {
 public:
  LeakChecks(std::string name, const StormSettings& settings)
      : m_name(std::move(name)),
        m_settings(settings),
        m_every(settings.sequences <= kSequencesPerLeakCheck ? 1 : kSequencesPerLeakCheck) {}

  // Empty, or the failure to report, after sequence index.
  std::string After(int index) {
    const int unchecked = index + 1 - m_checkedTo;
    if (unchecked < m_every && index + 1 < m_settings.sequences) return {};
    const int from = m_checkedTo;
    m_checkedTo = index + 1;
    if (StormGuards::NoLeaks()) return {};
    return "storm (" + m_name + "): memory left behind (above) by sequences " + std::to_string(from) +
           " to " + std::to_string(index) +
           "\n  replay: AMBRELL_STORM_SEED=" + std::to_string(m_settings.seed + from) +
           " AMBRELL_STORM_SEQUENCES=" + std::to_string(unchecked);
  }

 private:
  std::string m_name;
  const StormSettings& m_settings;
  int m_every;
  int m_checkedTo = 0;  // the sequences before this one have been checked
};

}  // namespace

StormSettings StormSettingsFromEnvironment(int defaultSequences) {
  StormSettings settings;
  if (!NumberFromEnvironment("AMBRELL_STORM_SEED", settings.seed)) settings.seed = std::random_device{}();
  std::uint64_t sequences = 0;
  settings.sequences = NumberFromEnvironment("AMBRELL_STORM_SEQUENCES", sequences)
                           ? static_cast<int>(sequences)
                           : defaultSequences;
  return settings;
}

std::string StormReport::Summary(const std::string& name, const StormSettings& settings) const {
  const auto count = [](int number, const char* what) { return std::to_string(number) + " " + what; };
  return "storm (" + name + "): " + count(sequences, "sequences") + " from seed " +
         std::to_string(settings.seed) + " in " + count(static_cast<int>(seconds * 1000), "ms: ") +
         count(scans, "scans, ") + count(folderRefreshes, "of them folder refreshes, ") +
         count(aborts, "aborts of a running worker, ") + count(cutShort, "trees cut short, ") +
         count(closesMidScan, "closes mid-scan, ") + count(treeChecks, "trees checked, ") +
         count(readingAhead, "sequences reading ahead, ") +
         count(static_cast<int>(failures.size()), "failed");
}

StormReport RunStorm(const StormTarget& target, const StormSettings& settings) {
  std::fprintf(stderr,
               "storm (%s): %d sequences from seed %llu (AMBRELL_STORM_SEED, AMBRELL_STORM_SEQUENCES)\n",
               target.name.c_str(), settings.sequences, static_cast<unsigned long long>(settings.seed));
  StormReport report;
  StormGuards guards(settings.hangLimit);
  GateKeeper keeper;
  LeakChecks leakChecks(target.name, settings);
  const Clock::time_point started = Clock::now();
  for (int i = 0; i < settings.sequences && report.failures.size() < kMaxFailedSequences; ++i) {
    const std::uint64_t seed = settings.seed + static_cast<std::uint64_t>(i);
    const std::string name =
        "storm (" + target.name + ") sequence " + std::to_string(i) + " (seed " + std::to_string(seed) + ")";
    SequenceRun run(target, seed, guards, keeper, report);
    guards.Begin(name, run.DescribePlan());
    const std::string fault = run.Run();
    guards.End();
    ++report.sequences;
    if (!fault.empty()) {
      report.failures.push_back(name + ": " + fault + "\n  replay: AMBRELL_STORM_SEED=" +
                                std::to_string(seed) + " AMBRELL_STORM_SEQUENCES=1");
    }
    const std::string leaks = leakChecks.After(i);
    if (!leaks.empty()) report.failures.push_back(leaks);
  }
  report.seconds = std::chrono::duration<double>(Clock::now() - started).count();
  std::fprintf(stderr, "%s\n", report.Summary(target.name, settings).c_str());
  return report;
}
