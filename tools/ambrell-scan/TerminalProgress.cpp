#include "tools/ambrell-scan/TerminalProgress.h"

#include <cstdio>
#include <string>
#include <vector>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <sys/ioctl.h>
#include <unistd.h>
#endif

#include "scan/DisplayPath.h"
#include "text/NameQuoting.h"
#include "tools/ambrell-scan/ProgressLine.h"

namespace {

constexpr std::size_t kDefaultWidth = 80;
// The thread looks this often; the line itself decides when to redraw.
constexpr std::chrono::milliseconds kLookEvery{25};

void WriteToStandardError(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fflush(stderr);
}

}  // namespace

bool StandardErrorIsTerminal() {
#ifdef _WIN32
  return _isatty(_fileno(stderr)) != 0;
#else
  return ::isatty(STDERR_FILENO) != 0;
#endif
}

std::size_t StandardErrorWidth() {
#ifdef _WIN32
  CONSOLE_SCREEN_BUFFER_INFO console;
  if (GetConsoleScreenBufferInfo(GetStdHandle(STD_ERROR_HANDLE), &console)) {
    const int width = console.srWindow.Right - console.srWindow.Left + 1;
    if (width > 0) return static_cast<std::size_t>(width);
  }
#else
  struct winsize size {};
  if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
#endif
  return kDefaultWidth;
}

std::string ShownFolderPath(const FolderRecord& folder, const DisplayText& display) {
  if (folder.parent == nullptr) return QuoteName(TextOrEmpty(display.ForName(folder.name, true)));
  std::string path = DisplayPathOf(*folder.parent, folder.name, display);
  return QuoteName(path);
}

TerminalProgress::TerminalProgress(const ScanProgress& progress, const DisplayText& display,
                                   NumberLocale& locale, int unit)
    : m_progress(progress), m_display(display) {
  m_thread = std::thread([this, &locale, unit] { Run(locale, unit); });
}

void TerminalProgress::Stop() {
  if (!m_thread.joinable()) return;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_stopping = true;
  }
  m_wake.notify_all();
  m_thread.join();
}

// Memory running out costs the line, never the report.
void TerminalProgress::Run(NumberLocale& locale, int unit) try {
  locale.BeginPass();
  ProgressLine line([] { return std::chrono::steady_clock::now(); }, WriteToStandardError,
                    StandardErrorWidth(), unit, locale);
  const auto folderText = [this]() -> std::string {
    const FolderRecord* folder = m_progress.CurrentFolder();
    return folder != nullptr ? ShownFolderPath(*folder, m_display) : std::string();
  };
  std::unique_lock<std::mutex> lock(m_mutex);
  while (!m_wake.wait_for(lock, kLookEvery, [this] { return m_stopping; })) {
    line.Update(m_progress.Read(), folderText);
  }
  line.Clear();
} catch (...) {
}
