#include "platform/posix/SystemLocale.h"

#include <langinfo.h>
#include <locale.h>

#include <cstdlib>

#include "platform/posix/TextFile.h"

namespace {

constexpr const char* kLocaleFileVariable = "AMBRELL_SYSTEM_LOCALE_FILE";

std::string_view Trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// The last value given to name, in shell assignment syntax.
std::string ValueOf(std::string_view settings, std::string_view name) {
  std::string value;
  std::size_t start = 0;
  while (start < settings.size()) {
    std::size_t end = settings.find('\n', start);
    if (end == std::string_view::npos) end = settings.size();
    std::string_view line = Trim(settings.substr(start, end - start));
    start = end + 1;
    if (line.substr(0, 7) == "export ") line = Trim(line.substr(7));
    if (line.size() > name.size() && line.substr(0, name.size()) == name && line[name.size()] == '=') {
      value = std::string(Unquote(Trim(line.substr(name.size() + 1))));
    }
  }
  return value;
}

}  // namespace

std::vector<std::string> SystemLocaleFiles() {
  const char* overridden = std::getenv(kLocaleFileVariable);
  if (overridden != nullptr && *overridden != '\0') return {overridden};
  return {"/etc/default/locale", "/etc/locale.conf"};
}

std::string NumericLocaleName(std::string_view settings) {
  for (const char* name : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
    std::string value = ValueOf(settings, name);
    if (!value.empty()) return value;
  }
  return std::string();
}

NumberGrouping GroupingOfLocale(const std::string& localeName) {
  NumberGrouping grouping;
  if (localeName.empty()) return grouping;
  const locale_t locale = ::newlocale(LC_NUMERIC_MASK, localeName.c_str(), static_cast<locale_t>(0));
  if (locale == static_cast<locale_t>(0)) return grouping;
  const char* separator = ::nl_langinfo_l(THOUSEP, locale);
  const char* groups = ::nl_langinfo_l(GROUPING, locale);
  // The first group's size is a byte value; 0 and CHAR_MAX mean no grouping.
  const unsigned first = groups != nullptr ? static_cast<unsigned char>(groups[0]) : 0;
  if (separator != nullptr && *separator != '\0' && first > 0 && first < 127) {
    grouping.groupSize = first;
    grouping.separator = separator;
  }
  ::freelocale(locale);
  return grouping;
}

PosixNumberLocale::PosixNumberLocale(std::vector<std::string> settingFiles)
    : m_files(std::move(settingFiles)) {}

void PosixNumberLocale::BeginPass() {
  m_read = true;
  m_grouping = NumberGrouping();
  std::string settings;
  for (const std::string& file : m_files) {
    if (ReadWholeFile(file, settings)) {
      m_grouping = GroupingOfLocale(NumericLocaleName(settings));
      return;
    }
  }
}

CDynString PosixNumberLocale::FormatDigits(const CDynString& digits) {
  if (!m_read) BeginPass();
  return GroupDigits(digits, m_grouping.groupSize, m_grouping.separator.c_str());
}

void PosixNumberLocale::AppendDigits(std::string_view digits, std::string& out) {
  if (!m_read) BeginPass();
  AppendGroupedDigits(digits, m_grouping.groupSize, m_grouping.separator.c_str(), out);
}
