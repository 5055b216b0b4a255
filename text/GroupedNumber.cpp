#include "text/GroupedNumber.h"

#include <cstring>

#include "text/IntToText.h"

CDynString GroupDigits(const CDynString& digits, unsigned groupSize, const char* separator) {
  if (groupSize == 0 || separator == nullptr || *separator == 0) {
    return CDynString(digits, AllocHeap);
  }
  const std::int32_t length = digits.GetLength();
  if (groupSize >= static_cast<unsigned>(length)) return CDynString(digits, AllocHeap);

  CDynString grouped(AllocHeap);
  const char* text = digits.GetText();
  const std::int32_t size = static_cast<std::int32_t>(groupSize);
  // The leftmost group takes the digits that do not fill a whole group.
  std::int32_t position = length % size;
  if (position == 0) position = size;
  grouped.Append(text, position);
  for (; position < length; position += size) {
    grouped.Append(separator);
    grouped.Append(text + position, size);
  }
  return grouped;
}

void AppendGroupedDigits(std::string_view digits, unsigned groupSize, const char* separator,
                         std::string& out) {
  if (groupSize == 0 || separator == nullptr || *separator == 0 || groupSize >= digits.size()) {
    out += digits;
    return;
  }
  std::size_t position = digits.size() % groupSize;
  if (position == 0) position = groupSize;
  out += digits.substr(0, position);
  for (; position < digits.size(); position += groupSize) {
    out += separator;
    out += digits.substr(position, groupSize);
  }
}

void NumberLocale::AppendDigits(std::string_view digits, std::string& out) {
  const CDynString grouped = FormatDigits(CDynString(std::string(digits).c_str(), AllocHeap));
  out += TextOrEmpty(grouped);
}

FixedNumberLocale::FixedNumberLocale(unsigned groupSize, const char* separator)
    : m_groupSize(groupSize), m_separator{} {
  if (separator != nullptr) std::strncpy(m_separator, separator, sizeof m_separator - 1);
}

CDynString FixedNumberLocale::FormatDigits(const CDynString& digits) {
  return GroupDigits(digits, m_groupSize, m_separator);
}

void FixedNumberLocale::AppendDigits(std::string_view digits, std::string& out) {
  AppendGroupedDigits(digits, m_groupSize, m_separator, out);
}

CDynString FormatGroupedNumber(std::uint64_t value, NumberLocale& locale) {
  CDynString digits = IntToText(value, 10);
  CDynString grouped = locale.FormatDigits(digits);
  // A locale that cannot format must never make a size disappear.
  if (grouped.IsEmpty()) return digits;
  return grouped;
}

void AppendGroupedNumber(std::uint64_t value, NumberLocale& locale, std::string& out) {
  char digits[20];
  char* first = digits + sizeof digits;
  do {
    *--first = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  const std::string_view text(first, static_cast<std::size_t>(digits + sizeof digits - first));
  const std::size_t start = out.size();
  locale.AppendDigits(text, out);
  if (out.size() == start) out += text;
}
