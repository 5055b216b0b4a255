#pragma once
// How far a running scan has come, for a taskbar button, a launcher entry or
// a terminal line: the folders and bytes it has seen, and, when it walks
// whole drives, those bytes against the space the drives use. The walk
// writes; any thread reads, while it runs. Every figure is read alone
// (relaxed): a reader sees each as it was a moment ago, never a torn one.

#include <atomic>
#include <cstdint>

#include "scan/FolderRecord.h"

struct ProgressFigures {
  std::uint64_t folders = 0;
  std::uint64_t bytes = 0;      // apparent sizes, as the totals count them
  std::uint64_t usedBytes = 0;  // of the drives walked; 0: unknown, no share
  bool finished = false;
};

class ScanProgress {
 public:
  // The share is held below this until the scan ends: bytes seen can pass
  // the space used (hard links count once per link, sparse files their
  // apparent size), and a scan at 100% that still runs would be a lie.
  static constexpr double kMostShareWhileRunning = 0.99;

  // For the walk.
  void Start(std::uint64_t usedBytes);
  void Publish(std::uint64_t folders, std::uint64_t bytes);
  void SetCurrentFolder(const FolderRecord* folder) { m_current.store(folder, std::memory_order_release); }
  // Also after an abort: the figures then are what was seen.
  void Finish();

  // For any thread.
  ProgressFigures Read() const;
  // The folder being listed; its name and its parents' stay valid with the
  // scan's records. Null before the first and after the last.
  const FolderRecord* CurrentFolder() const { return m_current.load(std::memory_order_acquire); }

 private:
  std::atomic<std::uint64_t> m_folders{0};
  std::atomic<std::uint64_t> m_bytes{0};
  std::atomic<std::uint64_t> m_usedBytes{0};
  std::atomic<bool> m_finished{false};
  std::atomic<const FolderRecord*> m_current{nullptr};
};

// The share of the used space the bytes seen stand for, from 0 to 1, held
// at kMostShareWhileRunning until the scan ends; false when the scan has no
// share (folders that are not whole drives, or a drive whose use is unknown).
bool ShareOf(const ProgressFigures& figures, double& share);
