#pragma once
// Draws a running scan's progress on standard error from a thread of its
// own, while the walk runs on the calling thread; the line is cleared when
// the drawing stops.

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <thread>

#include "scan/DisplayText.h"
#include "scan/ScanProgress.h"
#include "text/GroupedNumber.h"

// True when standard error is a terminal.
bool StandardErrorIsTerminal();
// Its width in columns; 80 when it tells none.
std::size_t StandardErrorWidth();

// The folder's full path as the report shows it: its drive as shown, then
// every name, quoted as a whole where a name needs it.
std::string ShownFolderPath(const FolderRecord& folder, const DisplayText& display);

class TerminalProgress {
 public:
  // locale is used on the drawing thread alone until Stop.
  TerminalProgress(const ScanProgress& progress, const DisplayText& display, NumberLocale& locale, int unit);
  ~TerminalProgress() { Stop(); }
  TerminalProgress(const TerminalProgress&) = delete;
  TerminalProgress& operator=(const TerminalProgress&) = delete;

  // Ends the drawing and clears the line; as often as asked.
  void Stop();

 private:
  void Run(NumberLocale& locale, int unit);

  const ScanProgress& m_progress;
  const DisplayText& m_display;
  std::mutex m_mutex;
  std::condition_variable m_wake;
  bool m_stopping = false;
  std::thread m_thread;
};
