#include "scan/ScanProgress.h"

void ScanProgress::Start(std::uint64_t usedBytes) {
  m_folders.store(0, std::memory_order_relaxed);
  m_bytes.store(0, std::memory_order_relaxed);
  m_usedBytes.store(usedBytes, std::memory_order_relaxed);
  m_finished.store(false, std::memory_order_relaxed);
  m_current.store(nullptr, std::memory_order_release);
}

void ScanProgress::Publish(std::uint64_t folders, std::uint64_t bytes) {
  m_folders.store(folders, std::memory_order_relaxed);
  m_bytes.store(bytes, std::memory_order_relaxed);
}

void ScanProgress::Finish() {
  m_current.store(nullptr, std::memory_order_release);
  m_finished.store(true, std::memory_order_relaxed);
}

ProgressFigures ScanProgress::Read() const {
  ProgressFigures figures;
  figures.folders = m_folders.load(std::memory_order_relaxed);
  figures.bytes = m_bytes.load(std::memory_order_relaxed);
  figures.usedBytes = m_usedBytes.load(std::memory_order_relaxed);
  figures.finished = m_finished.load(std::memory_order_relaxed);
  return figures;
}

bool ShareOf(const ProgressFigures& figures, double& share) {
  if (figures.usedBytes == 0) return false;
  if (figures.finished) {
    share = 1.0;
    return true;
  }
  const double seen = static_cast<double>(figures.bytes) / static_cast<double>(figures.usedBytes);
  share = seen < ScanProgress::kMostShareWhileRunning ? seen : ScanProgress::kMostShareWhileRunning;
  return true;
}
