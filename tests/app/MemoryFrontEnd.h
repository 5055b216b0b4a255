#pragma once
// A front end for the scan controller that keeps its tree in memory and carries out
// the worker's mailbox when the test pumps it: the scan protocol without a dialog.

#include <chrono>
#include <memory>
#include <thread>

#include "app/ScanController.h"
#include "app/ScanThread.h"
#include "scan/FolderPath.h"
#include "scan/MemoryTree.h"
#include "tests/support/Eventually.h"
#include "tests/support/MemoryFileSystem.h"
#include "tests/support/RecordingIndicator.h"

class DigitsAsTheyAre : public NumberLocale {
 public:
  CDynString FormatDigits(const CDynString& digits) override { return digits; }
};

class MemoryFrontEnd : public ScanFrontEnd {
 public:
  explicit MemoryFrontEnd(std::shared_ptr<FileSystem> fileSystem) : m_fileSystem(std::move(fileSystem)) {}

  std::unique_ptr<ScanWorker> StartWorker(std::shared_ptr<AbortFlag> abort,
                                          SharedScanSession session) override {
    ++starts;
    std::shared_ptr<TreeSource> source = std::move(m_folderSource);
    if (failToStart) return nullptr;
    m_mailbox = std::make_shared<ScanMailbox>([] {});
    m_items.Clear();
    if (!source) source = DriveScanSource(m_fileSystem);
    return ScanThread::Start(std::move(source), std::move(session), std::move(abort), m_mailbox);
  }
  bool PrepareFolderRefill(TreeItem item) override {
    std::string pattern = ListingPatternOf(*tree.GetItemData(item));
    if (pattern.empty()) return false;
    m_folderSource = FolderScanSource(m_fileSystem, FolderRescan{tree.GetItemData(item), std::move(pattern)});
    return true;
  }
  void EmptyFolder(TreeItem item) override {
    tree.ForgetChildren(item);
    m_items.ClearBelow(item);
  }
  void ShowScanning(bool running) override { showsScanning = running; }
  void SetBusyCursor(bool busy) override { busyCursor = busy; }
  TreeView& Folders() override { return tree; }
  void HoldRedraw(bool hold) override { redrawHeld = hold; }
  bool MirrorAbortRequest(bool set) override {
    mirroredAbort = set;
    return canAbort;
  }
  void OnScanCompleted() override { ++completions; }
  ProgressIndicator* ScanProgressIndicator() override { return &progress; }

  // The GUI thread's turn: the insertions that arrived, then the completion.
  void Pump(ScanController& controller) {
    if (!m_mailbox) return;
    ScanMailbox::Contents contents = m_mailbox->Collect();
    for (const auto& batch : contents.batches) {
      for (const PendingInsertion& pending : *batch) {
        m_items.Add(pending.item,
                    tree.Insert(m_items.Resolve(pending.parent), pending.record->name, pending.record));
      }
    }
    if (contents.completed) controller.OnScanComplete();
  }

  // Pumps until cond holds; false after a generous limit (a hang guard, not a timing check).
  template <typename Condition>
  bool PumpUntil(ScanController& controller, Condition cond) {
    auto pump = [&] {
      Pump(controller);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
    return EventuallyWith(cond, pump, std::chrono::seconds(30));
  }

  MemoryTree tree;
  RecordingIndicator progress;
  int starts = 0;
  int completions = 0;
  bool showsScanning = false;
  bool busyCursor = false;
  bool redrawHeld = false;
  bool mirroredAbort = false;
  bool canAbort = true;
  bool failToStart = false;

 private:
  std::shared_ptr<FileSystem> m_fileSystem;
  std::shared_ptr<ScanMailbox> m_mailbox;
  std::shared_ptr<TreeSource> m_folderSource;  // the next worker's, when it walks one folder
  InsertedItemMap<TreeItem> m_items{kTopLevel};
};
