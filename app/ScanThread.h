#pragma once
// One scan, or one fill from saved scans, on a thread of its own, handing its
// insertions and its completion to a mailbox, so that it never waits for the GUI
// thread. Everything the worker touches is shared with it, so that a worker still
// running when the dialog closes can be left to finish without ever using freed
// memory.

#include <chrono>
#include <memory>

#include "app/ScanController.h"
#include "app/ScanMailbox.h"
#include "app/TreeSource.h"
#include "scan/FileSystem.h"
#include "scan/ScanSession.h"
#include "scan/ScanSignals.h"

class ScanThread : public ScanWorker {
 public:
  // Null when no thread could be started.
  static std::unique_ptr<ScanThread> Start(std::shared_ptr<TreeSource> source, SharedScanSession session,
                                           std::shared_ptr<AbortFlag> abort,
                                           std::shared_ptr<ScanMailbox> mailbox);
  // A scan of the file system's drives.
  static std::unique_ptr<ScanThread> Start(std::shared_ptr<FileSystem> fileSystem, SharedScanSession session,
                                           std::shared_ptr<AbortFlag> abort,
                                           std::shared_ptr<ScanMailbox> mailbox);
  // Joins an ended worker; leaves one still running to end on its own.
  ~ScanThread() override;

  bool HasEnded() const override;
  // The worker never waits for this thread: nothing needs serving while it ends.
  bool WaitServingHandOver(std::chrono::milliseconds limit) override;
  void HandOverWaiting() override;
  const ScanProgress* Progress() const override;

 private:
  struct Shared;
  explicit ScanThread(std::shared_ptr<Shared> shared);

  std::shared_ptr<Shared> m_shared;
};
