#include "tests/support/StormPlan.h"

#include "tests/support/RandomMachine.h"

namespace {

struct Weighted {
  StormAction action;
  int weight;
};

// Clicks and waits weigh most: they decide where aborts and refreshes fall.
const std::vector<Weighted> kActions = {
    {StormAction::ArmGate, 14},      {StormAction::ReleaseGate, 5}, {StormAction::ReleaseSoon, 6},
    {StormAction::WaitUntilHeld, 9}, {StormAction::Click, 20},      {StormAction::PickUnit, 10},
    {StormAction::HandOverTimer, 8}, {StormAction::Pump, 12},       {StormAction::WaitUntilIdle, 10},
    {StormAction::RefreshFolder, 8},
};

StormAction RandomAction(StormRandom& random) {
  int total = 0;
  for (const Weighted& choice : kActions) total += choice.weight;
  int draw = static_cast<int>(random.Below(total));
  for (const Weighted& choice : kActions) {
    if (draw < choice.weight) return choice.action;
    draw -= choice.weight;
  }
  return StormAction::Pump;
}

StormStep RandomStep(const MemoryFileSystem& machine, StormRandom& random) {
  StormStep step;
  step.action = RandomAction(random);
  if (step.action == StormAction::ArmGate) step.point = RandomGatePoint(machine, random);
  if (step.action == StormAction::PickUnit) step.unit = static_cast<int>(random.Below(4));
  if (step.action == StormAction::ReleaseSoon) step.delayMicros = static_cast<int>(random.Below(3000));
  if (step.action == StormAction::RefreshFolder) step.pick = random.Bits();
  return step;
}

}  // namespace

StormPlan MakeStormPlan(const MemoryFileSystem& machine, StormRandom& random, int closeWays) {
  StormPlan plan;
  if (random.OneIn(3)) plan.gateBeforeOpen = RandomGatePoint(machine, random);
  const std::uint64_t count = 1 + random.Below(12);
  for (std::uint64_t i = 0; i < count; ++i) plan.steps.push_back(RandomStep(machine, random));
  StormStep close;
  close.action = StormAction::Close;
  close.closeWay = static_cast<int>(random.Below(closeWays));
  close.giveUpSoon = random.OneIn(4);
  plan.steps.push_back(close);
  const std::vector<int> abortDelays = {0, 0, 100, 1000, 3000};
  plan.abortReleaseDelayMicros = random.Pick(abortDelays);
  const std::vector<unsigned> listingThreads = {1, 1, 2, 4};
  plan.listingThreads = random.Pick(listingThreads);
  plan.frontEndChoice = random.Bits();
  return plan;
}

std::string DescribeStep(const StormStep& step) {
  switch (step.action) {
    case StormAction::ArmGate:
      return "arm the gate at '" + step.point + "'";
    case StormAction::ReleaseGate:
      return "release the gate";
    case StormAction::ReleaseSoon:
      return "release the gate from another thread in " + std::to_string(step.delayMicros) + " us";
    case StormAction::WaitUntilHeld:
      return "wait until the worker is held";
    case StormAction::Click:
      return "click Refresh/Abort";
    case StormAction::PickUnit:
      return "pick unit " + std::to_string(step.unit);
    case StormAction::HandOverTimer:
      return "hand-over timer";
    case StormAction::Pump:
      return "run the event loop a moment";
    case StormAction::WaitUntilIdle:
      return "release the gate and wait for the scan's end";
    case StormAction::Close:
      return "close (way " + std::to_string(step.closeWay) + (step.giveUpSoon ? ", waiting 1 ms)" : ")");
    case StormAction::RefreshFolder:
      return "refresh folder " + std::to_string(step.pick) + " (modulo the folders)";
  }
  return "?";
}
