#pragma once
// The scan protocol both dialogs follow: a scan starts on a worker, the same button
// aborts it or scans again, the completion totals and labels the tree, a new unit
// relabels it, and closing stops the worker within a time limit. The dialog supplies
// its worker, its controls and its tree through ScanFrontEnd; the handlers named after
// the dialog's messages are thin calls into this class.

#include <chrono>
#include <memory>
#include <string>

#include "app/ProgressIndicator.h"
#include "app/ScanProgressFollower.h"
#include "scan/Baseline.h"
#include "scan/DisplayText.h"
#include "scan/FolderOrder.h"
#include "scan/ScanProgress.h"
#include "scan/ScanSession.h"
#include "scan/ScanSignals.h"
#include "scan/SizeLabels.h"
#include "scan/Tree.h"
#include "text/GroupedNumber.h"

// One scan's worker thread, as the dialog started it.
class ScanWorker {
 public:
  // Joins an ended worker; one still running is left to end on its own.
  virtual ~ScanWorker() = default;
  virtual bool HasEnded() const = 0;
  // Waits until the worker has ended, carrying out whatever it hands over meanwhile,
  // so that it always reaches its next abort test. False when the limit has passed.
  virtual bool WaitServingHandOver(std::chrono::milliseconds limit) = 0;
  // Hands over the insertions the worker has buffered, however few: the tree grows
  // while the worker crawls through a slow folder.
  virtual void HandOverWaiting() = 0;
  // How far it has come, valid as long as the worker is held; null: it counts nothing.
  virtual const ScanProgress* Progress() const { return nullptr; }
};

// The dialog as the scan protocol sees it.
class ScanFrontEnd {
 public:
  virtual ~ScanFrontEnd() = default;
  // A worker filling session's folders, which it keeps a share of until it has ended.
  // Null when no thread could be started: the scan then ends at once with what it has.
  virtual std::unique_ptr<ScanWorker> StartWorker(std::shared_ptr<AbortFlag> abort,
                                                  SharedScanSession session) = 0;
  // The tree and the unit list locked, the button reading Abort, or the reverse.
  virtual void ShowScanning(bool running) = 0;
  virtual void SetBusyCursor(bool busy) = 0;
  // The folders as the totals and label passes walk them.
  virtual TreeView& Folders() = 0;
  // Keeps the tree from drawing while many items change.
  virtual void HoldRedraw(bool hold) = 0;
  // A tree that makes each label from its record as it draws it takes the context
  // to label with from now on, in one change, and answers true; false leaves the
  // controller to write every label through the tree.
  virtual bool LabelOnDemand(const LabelContext& /*context*/) { return false; }
  // Shows every folder's subfolders in order (by the changes given, for ByChange), the
  // top level as it is. The selection and the expanded folders stay, and the selection
  // stays in view.
  virtual void ShowInOrder(FolderOrder /*order*/, const FolderChanges* /*changes*/) {}
  // Sets or clears an abort request the platform keeps beside the flag (an event);
  // false when it cannot be made, and a scan then runs to its end.
  virtual bool MirrorAbortRequest(bool /*set*/) { return true; }
  // Every scan's end, once the labels are written.
  virtual void OnScanCompleted() {}
  // Readies what Refresh fills the tree with next; false keeps the tree as it is (a
  // saved scan whose file no longer reads).
  virtual bool PrepareRefill() { return true; }
  // Readies the next worker to walk the item's folder alone (FolderScanSource); false
  // where that folder cannot be scanned (a saved scan's folder not on this machine).
  virtual bool PrepareFolderRefill(TreeItem /*item*/) { return false; }
  // The worker walking the item's folder has started: the item's subfolders go (their
  // records stay with the session), and its insertions at the top level go below it.
  virtual void EmptyFolder(TreeItem /*item*/) {}
  // Where a running scan shows how far it has come outside the dialog (the taskbar
  // button, the launcher entry); null: nowhere.
  virtual ProgressIndicator* ScanProgressIndicator() { return nullptr; }
};

class ScanController {
 public:
  static constexpr std::chrono::milliseconds kClosingWait{10000};

  ScanController(ScanFrontEnd& frontEnd, std::shared_ptr<const DisplayText> display,
                 std::shared_ptr<NumberLocale> locale, int unit);
  ScanController(const ScanController&) = delete;
  ScanController& operator=(const ScanController&) = delete;
  ~ScanController();

  void StartScan();
  // Abort while a scan is held, else empty the tree and scan again.
  void OnRefresh();
  // Scans the item's folder again, as a scan: the same controls, Abort and closing.
  // Its subfolders are replaced, and the totals and labels of the folder and its
  // ancestors corrected at the end. Nothing happens while a scan is held, or where the
  // front end cannot ready it.
  void RefreshFolder(TreeItem item);
  // The worker's completion has arrived: totals, labels, the controls set free.
  void OnScanComplete();
  // Labels in the new unit at once, unless a worker still owns the records.
  void OnSelchangeUnits(int unit);
  // The unit of the labels to come, without relabelling now.
  void SetUnit(int unit) { m_unit = unit; }
  void OnHandOverTimer();
  // Stops a running worker within the limit and empties the tree; one that does not
  // end in time keeps its share of the scan, and the records go when it ends.
  void StopForClosing(std::chrono::milliseconds limit = kClosingWait);

  // A scan has started and its completion has not been handled yet.
  bool IsScanHeld() const { return m_worker != nullptr; }
  // ... and its worker has not ended yet.
  bool IsScanRunning() const { return m_worker != nullptr && !m_worker->HasEnded(); }
  bool IsAbortRequested() const { return m_abort->IsSet(); }
  int Unit() const { return m_unit; }
  // The scan the tree shows; null before the first scan and after closing.
  const SharedScanSession& Session() const { return m_session; }
  // Its largest files once its worker is done with them; null without a scan, or while
  // one is held.
  const LargestFiles* FinishedLargestFiles() const {
    return m_session && !m_worker ? &m_session->Largest() : nullptr;
  }
  void RelabelAll();
  // The labels of the folder, everything below it and its ancestors.
  void RelabelAround(TreeItem folder);
  // The order of each folder's subfolders: shown at once unless a scan holds the
  // records, and at every scan's end. Totals order nothing while the worker adds up.
  void SetFolderOrder(FolderOrder order);
  FolderOrder Order() const { return m_order; }

  // Each folder's change since the baseline (a saved scan read from file) shows in its
  // label from now on, matched again after every scan, until it is dropped with null.
  // A baseline that matches no folder of the tree changes nothing, with a message on
  // standard error: false. Nothing happens while a scan is held.
  bool SetBaseline(std::shared_ptr<const Baseline> baseline, const std::string& file);
  bool HasBaseline() const { return m_baseline != nullptr; }
  // What the labels and the order by change read; null without a baseline.
  const FolderChanges* Changes() const;

 private:
  void UpdateScanControls();
  void FollowProgress();
  bool RequestAbort();
  void FreeAllRecords();
  // False, said on standard error, when the baseline matches no folder of the tree.
  bool MatchBaseline(const Baseline& baseline, const std::string& file);

  ScanFrontEnd& m_frontEnd;
  std::shared_ptr<const DisplayText> m_display;
  std::shared_ptr<NumberLocale> m_locale;
  int m_unit;
  FolderOrder m_order = FolderOrder::Listed;
  std::shared_ptr<AbortFlag> m_abort = std::make_shared<AbortFlag>();
  SharedScanSession m_session;
  std::unique_ptr<ScanWorker> m_worker;  // from the start until the completion is handled
  ScanProgressFollower m_progress;       // of m_worker's figures: stopped before it goes
  bool m_completing = false;             // while the completion waits for the worker to end
  TreeItem m_refilled = kNoItem;         // the folder the worker walks alone, if it does
  int m_labelledUnit = -1;               // of the labels written last
  std::shared_ptr<const Baseline> m_baseline;
  std::string m_baselineFile;
};
