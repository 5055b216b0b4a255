#pragma once
// The scan protocol's scenarios, written once and run against the scan controller with
// a front end kept in memory and against each dialog. A dialog's suite supplies a
// driver that opens it on the test's machine and presses its controls; the scenarios
// say only what every front end must show.
//
// A suite instantiates them with its own drivers:
//
//   INSTANTIATE_TEST_SUITE_P(Dialog, ScanProtocolTest,
//                            ::testing::Values(ScanProtocolTarget{"Dialog", &OpenDialog}),
//                            ScanProtocolTargetName());
//
// and, where the driver can set the closing wait, ScanProtocolCloseWaitTest too.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/MemoryFileSystem.h"

// A front end opened on a machine, which starts the first scan at once. Every call but
// IsAbortRequested comes from the test's thread.
class ScanProtocolDriver {
 public:
  virtual ~ScanProtocolDriver() = default;
  // The Refresh/Abort button.
  virtual void ClickRefresh() = 0;
  // The unit list: 0 bytes, 1 kilobytes, 2 megabytes, 3 gigabytes.
  virtual void PickUnit(int unit) = 0;
  virtual int Unit() const = 0;
  // What the hand-over timer does when it fires.
  virtual void HandOverTimer() = 0;
  // Serves the front end's events until condition holds; false after a limit far beyond
  // any real wait (a hang guard, not a timing check).
  virtual bool PumpUntil(const std::function<bool()>& condition) = 0;
  // A scan has started and its end has not been handled yet.
  virtual bool IsScanHeld() const = 0;
  // ... and its worker has not ended.
  virtual bool IsScanRunning() const = 0;
  // Any thread.
  virtual bool IsAbortRequested() const = 0;
  // The labels in tree order, one a line, two blanks of indent a level.
  virtual std::string Labels() const = 0;
  virtual std::size_t ItemCount() const = 0;
  // The button's text: "&Abort" while a worker runs, else "&Refresh".
  virtual std::string ButtonText() const = 0;
  // The tree and the unit list both take input.
  virtual bool ListsEnabled() const = 0;
  virtual bool ShowsBusyCursor() const = 0;
  // The closing wait, for the next close, where the front end lets a test set it (the
  // suite ScanProtocolCloseWaitTest runs only with such front ends).
  virtual void SetCloseWait(std::chrono::milliseconds /*wait*/) {
    ADD_FAILURE() << "this front end keeps its own closing wait";
  }
  // Checks or unchecks the window menu's "Sort by Size" as the user does, where the
  // front end has the menu (ScanProtocolMenuTest runs only with such front ends).
  virtual void SortBySize(bool /*checked*/) { ADD_FAILURE() << "this front end has no window menu"; }
  // Whether the item is there, enabled and checked: "", "greyed", "checked".
  virtual std::string SortBySizeState() const { return "no menu"; }
  // Opens every folder as the user would, then the labels in the order shown.
  virtual std::string ShownLabels() { return Labels(); }
  // Selects the item whose label starts with name and a size, as a click does; the
  // selected item's label.
  virtual void Select(const std::string& name) = 0;
  virtual std::string SelectedLabel() const = 0;
  // Opens the window of the largest files from the window menu, as the user does.
  virtual void OpenLargestFiles() { ADD_FAILURE() << "this front end has no window menu"; }
  // Its rows, top to bottom; none before it was first opened.
  virtual std::vector<std::string> LargestFileRows() const { return {}; }
  // Enter on a row: the full path of the file the file browser was asked to show.
  virtual std::string ShowLargestFile(int /*row*/) { return {}; }
  // Every call the scan's progress indicator got, in order, as RecordingIndicator
  // writes them: the front end is given one in place of the taskbar or launcher.
  virtual std::vector<std::string> ProgressShown() const = 0;
  // "Refresh Selected Folder" as the user chooses it; the controller is asked directly.
  virtual void RefreshSelectedFolder() = 0;
  // The menu item's state as SortBySizeState tells it.
  virtual std::string RefreshFolderState() const { return "no menu"; }
  // "Compare with Saved Scan..." as the user chooses it, the file box answering with
  // file (none: cancelled).
  virtual void CompareWith(const std::string& /*file*/) {
    ADD_FAILURE() << "this front end has no window menu";
  }
  // How often a file box was shown.
  virtual int FileBoxesShown() const { return 0; }
  // The items' states as SortBySizeState tells them ("no item" when not there).
  virtual std::string CompareState() const { return "no menu"; }
  virtual std::string SortByChangeState() const { return "no menu"; }
  virtual void SortByChange(bool /*checked*/) { ADD_FAILURE() << "this front end has no window menu"; }
  // "Show Map" as the user chooses it from the window menu (only when enabled), and the
  // item's state as SortBySizeState tells it.
  virtual void ShowMap() { ADD_FAILURE() << "this front end has no window menu"; }
  virtual std::string ShowMapState() const { return "no menu"; }
  // The map window's title, or "closed" when it is not open.
  virtual std::string MapTitle() const { return "closed"; }
  // The labels of the mapped folder's block and of the blocks right inside it, in the
  // layout's order (largest first); none while it shows nothing.
  virtual std::vector<std::string> MapLabels() const { return {}; }
  // A click and a double-click on the named folder's block (on its header).
  virtual void ClickMap(const std::string& /*name*/) {}
  virtual void DoubleClickMap(const std::string& /*name*/) {}
  // The mouse over the named folder's block: the text the window shows for it.
  virtual std::string HoverMap(const std::string& /*name*/) { return "no map"; }
  enum class MapKey { Backspace, Escape };
  virtual void PressMapKey(MapKey /*key*/) {}
  // Closes the way the Close button does. Empty when the tree was emptied and nothing
  // the dialog had is left to act later (a completion still on its way included), else
  // what is wrong. The driver is only destroyed after this.
  virtual std::string Close() = 0;
};

// Releases the gate once the front end has asked the worker to stop, from another
// thread: the test's thread is then inside the front end's wait for the worker.
class ReleaseGateOnAbort {
 public:
  ReleaseGateOnAbort(const ScanProtocolDriver& driver, Gate& gate)
      : m_thread([&driver, &gate] {
          while (!driver.IsAbortRequested()) std::this_thread::yield();
          gate.Release();
        }) {}
  ~ReleaseGateOnAbort() { m_thread.join(); }
  ReleaseGateOnAbort(const ReleaseGateOnAbort&) = delete;
  ReleaseGateOnAbort& operator=(const ReleaseGateOnAbort&) = delete;

 private:
  std::thread m_thread;
};

struct ScanProtocolTarget {
  std::string name;
  std::function<std::unique_ptr<ScanProtocolDriver>(std::shared_ptr<MemoryFileSystem> machine)> open;
};

// The scenarios' machine:
//   C:  pagefile.sys 5 MB, Windows\win.ini 1 MB, Windows\System32\big.dll 3 MB,
//       Data\My Photos\a.jpg 2 MB
//   D:  Games\game.dat 1 GB
//   E:  removable, never scanned
void AddProtocolMachine(MemoryFileSystem& machine);
// Its labels once scanned, in megabytes.
inline constexpr const char* kProtocolMachineLabels =
    "C:    (11 MB)\n"
    "  Windows    (4 MB)\n"
    "    System32    (3 MB)\n"
    "  Data    (2 MB)\n"
    "    My Photos    (2 MB)\n"
    "D:    (1,024 MB)\n"
    "  Games    (1,024 MB)\n";

class ScanProtocolTest : public ::testing::TestWithParam<ScanProtocolTarget> {
 protected:
  ScanProtocolTest();
  ~ScanProtocolTest() override;

  // Opens the front end on the machine, which starts the first scan.
  void Open();
  // Opens it and waits until the first scan's end has been handled.
  void OpenAndScan();
  bool WaitForScanEnd();
  // Refresh, and the events run until the worker is held at the gate's point.
  void RefreshHeldAt(const std::string& point);
  // Abort (the Refresh/Abort button), or Close, while the gate holds the worker: the
  // gate opens once the front end asks the worker to stop. Close's answer.
  void AbortWhileHeld();
  std::string CloseWhileHeld();

  std::shared_ptr<MemoryFileSystem> machine;  // AddProtocolMachine's
  std::unique_ptr<ScanProtocolDriver> driver;
};

inline void PrintTo(const ScanProtocolTarget& target, std::ostream* out) { *out << target.name; }

// The scenarios that shorten the closing wait.
class ScanProtocolCloseWaitTest : public ScanProtocolTest {};

// The scenarios of the progress shown outside the dialog.
class ScanProtocolProgressTest : public ScanProtocolTest {};

// The scenarios of one folder scanned again.
class ScanProtocolFolderRefreshTest : public ScanProtocolTest {};

// The scenarios of the window menu's items.
class ScanProtocolMenuTest : public ScanProtocolTest {};

// The scenarios of the map window, opened from the window menu.
class ScanProtocolMapTest : public ScanProtocolTest {};

// A menu item's state as SortBySizeState tells it: "", "greyed", "checked" or both.
inline std::string MenuItemState(bool enabled, bool checked) {
  if (enabled) return checked ? "checked" : "";
  return checked ? "greyed checked" : "greyed";
}

// gtest's name for each instantiation.
struct ScanProtocolTargetName {
  std::string operator()(const ::testing::TestParamInfo<ScanProtocolTarget>& info) const {
    return info.param.name;
  }
};
