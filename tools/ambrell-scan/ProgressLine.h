#pragma once
// The report's progress on one terminal line, redrawn in place: folders,
// bytes, the share of the drives' used space when there is one, and the
// folder being read, shortened from its start to fit the width:
// '12,345 folders, 9,216 MB, 42%  ...share/doc/ambrell'. The clock and the
// writer are given, so that the rate is a matter of tests, not of timing.

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "scan/ScanProgress.h"
#include "text/GroupedNumber.h"

// Columns a text takes on a terminal, counted high: a character at or past
// U+1100 counts two, as the wide ones do; a malformed byte one.
std::size_t TerminalColumns(std::string_view text);

// The line's text in at most width - 1 columns (the last column would wrap
// on some terminals); folder as it is to be shown, quoted where needed.
std::string ProgressText(const ProgressFigures& figures, std::string_view folder, std::size_t width, int unit,
                         NumberLocale& locale);

class ProgressLine {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;
  using Writer = std::function<void(std::string_view text)>;
  // The folder being read, as shown: asked only when the line is drawn.
  using FolderText = std::function<std::string()>;
  static constexpr std::chrono::milliseconds kInterval{100};  // ten times a second at most

  ProgressLine(Clock clock, Writer writer, std::size_t width, int unit, NumberLocale& locale);
  // Draws the line unless it was drawn less than kInterval ago (or, the first
  // time, the line began less than that ago: a short scan shows none).
  // True when it drew.
  bool Update(const ProgressFigures& figures, const FolderText& folder);
  // Blanks what was drawn and puts the cursor back at the line's start.
  void Clear();

 private:
  void Draw(const std::string& text);

  Clock m_clock;
  Writer m_writer;
  std::size_t m_width;
  int m_unit;
  NumberLocale& m_locale;
  std::chrono::steady_clock::time_point m_lastDrawn;
  std::size_t m_drawnColumns = 0;  // of the line on the terminal now
  bool m_drawn = false;
};
