#pragma once
// Abort storms: random sequences of starts, Aborts, Refreshes, folder refreshes, unit
// changes, hand-over timers and closes against a dialog, or against the scan controller alone, with the
// in-memory file system's gate holding the worker at random folders and entries. After
// each step that settles the dialog, the tree is checked against the machine's own
// count; after each sequence, that the tree was freed, that no worker is left running
// and (under AddressSanitizer) that nothing leaked. A hang ends the run with the
// sequence's seed; so does a sanitizer report.
//
// AMBRELL_STORM_SEED=N starts from seed N (else a random one, printed);
// AMBRELL_STORM_SEQUENCES=N runs N sequences. Sequence i runs from seed + i, so one
// printed with a failure is replayed alone with that seed and a count of 1.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "scan/FileSystem.h"
#include "scan/Tree.h"
#include "tests/support/GateKeeper.h"

// A dialog, or the controller with a front end of the test's, as the storm drives it.
// Every call but IsAbortRequested comes from the thread that opened it.
class StormFrontEnd : public AbortProbe {
 public:
  ~StormFrontEnd() override = default;
  // The Refresh/Abort button.
  virtual void ClickRefresh() = 0;
  virtual void PickUnit(int unit) = 0;
  virtual void HandOverTimer() = 0;
  // Selects the item and chooses "Refresh Selected Folder", as the user does.
  virtual void RefreshFolder(TreeItem item) = 0;
  // Closes the way numbered way; giveUpSoon: the closing wait lasts a millisecond
  // where the front end lets a test set it. Empty when the tree was emptied (or went
  // with the dialog), else what is wrong.
  virtual std::string Close(int way, bool giveUpSoon) = 0;
  // One turn of the event loop, waiting a moment when nothing is there.
  virtual void Pump() = 0;
  // A scan has started and its end has not been handled yet.
  virtual bool IsScanHeld() const = 0;
  // ... and its worker has not ended.
  virtual bool IsScanRunning() const = 0;
  virtual int Unit() const = 0;
  virtual const TreeView& Folders() const = 0;
  virtual std::string Label(TreeItem item) const = 0;
  // Empty when the button and the lists show a dialog with no worker running.
  virtual std::string ControlsFault() const = 0;
  // Empty when the busy cursor is gone.
  virtual std::string CursorFault() const { return {}; }
};

struct StormTarget {
  std::string name;
  int closeWays;
  // Opens the front end on the machine (in some sequences under a read-ahead lister,
  // as the programs list real disks), which starts the first scan; choice is the
  // sequence's random pick for the front end's own options. Null when it cannot open.
  std::function<std::unique_ptr<StormFrontEnd>(std::shared_ptr<FileSystem> machine, std::uint64_t choice)>
      open;
};

struct StormSettings {
  std::uint64_t seed = 0;
  int sequences = 0;
  std::chrono::seconds hangLimit{60};  // one sequence; far beyond any real one
};

StormSettings StormSettingsFromEnvironment(int defaultSequences);

struct StormReport {
  int sequences = 0;
  int scans = 0;            // started: the first one and every Refresh
  int folderRefreshes = 0;  // of them, folders scanned again
  int aborts = 0;           // clicks while a worker was running
  int cutShort = 0;         // scans that ended with part of the machine
  int closesMidScan = 0;    // closes while a scan was held
  int treeChecks = 0;
  int readingAhead = 0;  // sequences with threads listing ahead of the walk
  double seconds = 0;
  std::vector<std::string> failures;  // each with its seed and steps

  std::string Summary(const std::string& name, const StormSettings& settings) const;
};

// Stops after a few failed sequences: the first ones say what is wrong.
StormReport RunStorm(const StormTarget& target, const StormSettings& settings);
