#pragma once
// One scan on a thread of its own. Everything the worker touches is shared
// with it, so that a worker still running when the dialog closes can be left
// to finish without ever using freed memory.

#include <chrono>
#include <memory>
#include <vector>

#include "app/ScanMailbox.h"
#include "scan/FileSystem.h"
#include "scan/FolderRecord.h"
#include "scan/ScanSignals.h"

class ScanThread {
 public:
  // Null when no thread could be started.
  static std::unique_ptr<ScanThread> Start(std::shared_ptr<FileSystem> fileSystem,
                                           std::shared_ptr<AbortFlag> abort,
                                           std::shared_ptr<ScanMailbox> mailbox);
  // Joins an ended worker; leaves one still running to end on its own.
  ~ScanThread();

  bool HasEnded() const;
  void Wait();
  bool WaitFor(std::chrono::milliseconds limit);  // true when it has ended

  // For a worker given up on: records it may still write, freed once it has
  // ended (at once if it already has).
  void FreeWhenEnded(std::vector<FolderRecord*> records);

 private:
  struct Shared;
  explicit ScanThread(std::shared_ptr<Shared> shared);

  std::shared_ptr<Shared> m_shared;
};
