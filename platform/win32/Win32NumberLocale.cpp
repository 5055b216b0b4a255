#include "platform/win32/Win32NumberLocale.h"

#include <windows.h>

#include <cctype>

namespace {

const LCID kLocale = LOCALE_SYSTEM_DEFAULT;

UINT ReadLocaleNumber(LCTYPE type) {
  UINT value = 0;
  GetLocaleInfoA(kLocale, type | LOCALE_RETURN_NUMBER, reinterpret_cast<LPSTR>(&value),
                 sizeof value / sizeof(char));
  return value;
}

// A text that does not fit (or any other failure) leaves an empty one.
void ReadLocaleText(LCTYPE type, char* buffer, int size) {
  if (GetLocaleInfoA(kLocale, type, buffer, size) == 0) buffer[0] = '\0';
}

// Only the first digit counts: '3;0' and '3;2;0' both mean groups of three.
UINT FirstGroupingDigit(const char* grouping) {
  for (const char* c = grouping; *c != '\0'; ++c) {
    if (std::isdigit(static_cast<unsigned char>(*c))) return static_cast<UINT>(*c - '0');
  }
  return 0;
}

}  // namespace

CDynString Win32NumberLocale::FormatDigits(const CDynString& digits) {
  char grouping[32] = {};
  char decimalSeparator[5] = {};
  char thousandSeparator[5] = {};
  NUMBERFMTA format = {};
  format.NumDigits = 0;
  format.LeadingZero = ReadLocaleNumber(LOCALE_ILZERO);
  ReadLocaleText(LOCALE_SGROUPING, grouping, sizeof grouping);
  format.Grouping = FirstGroupingDigit(grouping);
  ReadLocaleText(LOCALE_SDECIMAL, decimalSeparator, sizeof decimalSeparator);
  format.lpDecimalSep = decimalSeparator;
  ReadLocaleText(LOCALE_STHOUSAND, thousandSeparator, sizeof thousandSeparator);
  format.lpThousandSep = thousandSeparator;
  format.NegativeOrder = ReadLocaleNumber(LOCALE_INEGNUMBER);

  char result[64] = {};
  const int written = GetNumberFormatA(kLocale, 0, TextOrEmpty(digits), &format, result, sizeof result);
  // With LeadingZero 0 some systems write "0" as nothing at all, and a failed
  // call writes nothing: a size must never vanish from its label.
  if (written == 0 || result[0] == '\0') return CDynString(digits, AllocHeap);
  return CDynString(result, AllocHeap);
}
