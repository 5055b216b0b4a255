#pragma once
// A main dialog over an in-memory file system, and what the tests read of it.

#include <QString>
#include <QStringList>
#include <memory>
#include <thread>

#include "app/qt/AmbrellDlg.h"
#include "tests/support/MemoryFileSystem.h"

// Units of 1 MiB keep the examples' labels short.
constexpr std::uint64_t kMiB = 1024 * 1024;

// Drive C: with two folders below 'data' and a file in each.
std::shared_ptr<MemoryFileSystem> SampleDrive();

// Plain names, groups of three digits with ',' between.
AmbrellServices MemoryServices(std::shared_ptr<MemoryFileSystem> fileSystem);

// The labels in tree order.
QStringList Labels(const CAmbrellDlg& dialog);
// The same, one item a line, two blanks of indent a level.
QString DumpLabels(const CAmbrellDlg& dialog);

// Waits (running the event loop) until the dialog has handled a scan's end.
bool WaitForScanEnd(CAmbrellDlg& dialog, int milliseconds = 10000);

// Releases the gate once the dialog asks the worker to stop, so that a test
// can press Abort or close while the worker is held.
class ReleaseOnAbort {
 public:
  ReleaseOnAbort(const CAmbrellDlg& dialog, Gate& gate);
  ~ReleaseOnAbort();

 private:
  std::thread m_thread;
};
