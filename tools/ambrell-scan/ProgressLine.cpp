#include "tools/ambrell-scan/ProgressLine.h"

#include <utility>

#include "scan/SizeLabels.h"

namespace {

constexpr std::string_view kCut = "...";

std::size_t LengthOfCharacter(unsigned char lead) {
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
  if (lead >= 0xC2) return 2;
  return 1;
}

// The character at text's start: its bytes and its columns.
std::pair<std::size_t, std::size_t> FirstCharacter(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text[0]);
  const std::size_t length = LengthOfCharacter(lead);
  if (length == 1 || length > text.size()) return {1, 1};
  for (std::size_t i = 1; i < length; ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return {1, 1};
  }
  const bool wide =
      length == 4 ||
      (length == 3 && (lead > 0xE1 || (lead == 0xE1 && static_cast<unsigned char>(text[1]) >= 0x84)));
  return {length, wide ? 2 : 1};
}

// The end of text that fits in columns, whole characters only.
std::string_view TailWithin(std::string_view text, std::size_t columns) {
  std::size_t used = TerminalColumns(text);
  while (used > columns && !text.empty()) {
    const auto [bytes, width] = FirstCharacter(text);
    text.remove_prefix(bytes);
    used -= width;
  }
  return text;
}

// The start of ASCII text that fits: the figures are ASCII but for the
// locale's separator, which may not be.
std::string_view HeadWithin(std::string_view text, std::size_t columns) {
  std::size_t end = 0;
  std::size_t used = 0;
  while (end < text.size()) {
    const auto [bytes, width] = FirstCharacter(text.substr(end));
    if (used + width > columns) break;
    end += bytes;
    used += width;
  }
  return text.substr(0, end);
}

std::string FiguresText(const ProgressFigures& figures, int unit, NumberLocale& locale) {
  std::string text;
  AppendGroupedNumber(figures.folders, locale, text);
  text += figures.folders == 1 ? " folder, " : " folders, ";
  std::string label;
  AppendSizeLabel("", figures.bytes, unit, locale, label);
  // The label reads '    (N unit)': the figure is what the brackets hold.
  const std::size_t open = label.find('(');
  text += label.substr(open + 1, label.size() - open - 2);
  double share = 0;
  if (ShareOf(figures, share)) {
    text += ", ";
    text += std::to_string(static_cast<int>(share * 100));
    text += '%';
  }
  return text;
}

}  // namespace

std::size_t TerminalColumns(std::string_view text) {
  std::size_t columns = 0;
  while (!text.empty()) {
    const auto [bytes, width] = FirstCharacter(text);
    text.remove_prefix(bytes);
    columns += width;
  }
  return columns;
}

std::string ProgressText(const ProgressFigures& figures, std::string_view folder, std::size_t width, int unit,
                         NumberLocale& locale) {
  const std::size_t columns = width > 1 ? width - 1 : 0;
  std::string text(HeadWithin(FiguresText(figures, unit, locale), columns));
  const std::size_t used = TerminalColumns(text);
  constexpr std::size_t kGap = 2;
  if (folder.empty() || used + kGap + kCut.size() >= columns) return text;
  text.append(kGap, ' ');
  const std::size_t room = columns - used - kGap;
  if (TerminalColumns(folder) <= room) {
    text += folder;
  } else {
    text += kCut;
    text += TailWithin(folder, room - kCut.size());
  }
  return text;
}

ProgressLine::ProgressLine(Clock clock, Writer writer, std::size_t width, int unit, NumberLocale& locale)
    : m_clock(std::move(clock)),
      m_writer(std::move(writer)),
      m_width(width),
      m_unit(unit),
      m_locale(locale),
      m_lastDrawn(m_clock()) {}

bool ProgressLine::Update(const ProgressFigures& figures, const FolderText& folder) {
  const auto now = m_clock();
  if (now - m_lastDrawn < kInterval) return false;
  m_lastDrawn = now;
  Draw(ProgressText(figures, folder ? folder() : std::string(), m_width, m_unit, m_locale));
  return true;
}

// Blanks instead of a terminal's erase sequence: every console takes them.
void ProgressLine::Draw(const std::string& text) {
  const std::size_t columns = TerminalColumns(text);
  std::string line = "\r" + text;
  if (m_drawnColumns > columns) line.append(m_drawnColumns - columns, ' ');
  m_writer(line);
  m_drawnColumns = columns;
  m_drawn = true;
}

void ProgressLine::Clear() {
  if (!m_drawn) return;
  m_writer("\r" + std::string(m_drawnColumns, ' ') + "\r");
  m_drawnColumns = 0;
  m_drawn = false;
}
