#pragma once
// One storm sequence as a list of what the user and the worker's surroundings do to a
// dialog, drawn from a seed before it runs: the same seed gives the same steps (their
// timing against the worker still varies from run to run).

#include <string>
#include <vector>

#include "tests/support/MemoryFileSystem.h"
#include "tests/support/StormRandom.h"

enum class StormAction {
  ArmGate,        // the gate holds the worker at point from now on
  ReleaseGate,    // from the dialog's thread, at once
  ReleaseSoon,    // from a second thread, after a delay of delayMicros
  WaitUntilHeld,  // events run until the worker is held, or its scan has ended
  Click,          // the Refresh/Abort button
  PickUnit,       // unit, picked whether the list is enabled or not
  HandOverTimer,  // the timer that hands the worker's buffered insertions over
  Pump,           // the event loop runs for a moment
  WaitUntilIdle,  // the gate opens, events run until the scan's end has been handled
  Close,          // closeWay picks the way; giveUpSoon shortens the closing wait
  RefreshFolder,  // "Refresh Selected Folder" on the pick-th folder in tree order, when idle
};

struct StormStep {
  StormAction action = StormAction::Pump;
  std::string point;
  int unit = 0;
  int delayMicros = 0;
  int closeWay = 0;
  bool giveUpSoon = false;
  std::uint64_t pick = 0;
};

struct StormPlan {
  std::string gateBeforeOpen;    // where the first scan is held, or empty
  std::vector<StormStep> steps;  // the dialog opens (and starts a scan) before the first
  int abortReleaseDelayMicros;   // how long after an abort request the gate opens
  unsigned listingThreads;       // threads listing ahead of the walk; 1: none
  std::uint64_t frontEndChoice;  // for the front end's own choices (a batch size)
};

// closeWays: how many ways of closing the front end has.
StormPlan MakeStormPlan(const MemoryFileSystem& machine, StormRandom& random, int closeWays);
std::string DescribeStep(const StormStep& step);
