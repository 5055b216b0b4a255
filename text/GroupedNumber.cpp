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

FixedNumberLocale::FixedNumberLocale(unsigned groupSize, const char* separator)
    : m_groupSize(groupSize), m_separator{} {
  if (separator != nullptr) std::strncpy(m_separator, separator, sizeof m_separator - 1);
}

CDynString FixedNumberLocale::FormatDigits(const CDynString& digits) {
  return GroupDigits(digits, m_groupSize, m_separator);
}

CDynString FormatGroupedNumber(std::uint64_t value, NumberLocale& locale) {
  CDynString digits = IntToText(value, 10);
  CDynString grouped = locale.FormatDigits(digits);
  // A locale that cannot format must never make a size disappear.
  if (grouped.IsEmpty()) return digits;
  return grouped;
}
