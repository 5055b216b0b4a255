#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/win32/Win32NumberLocale.h"
#include "text/IntToText.h"

namespace {

std::string SystemLocaleText(LCTYPE type) {
  char text[32] = {};
  GetLocaleInfoA(LOCALE_SYSTEM_DEFAULT, type, text, sizeof text);
  return text;
}

TEST(Win32NumberLocale, GroupsInThreesWithCommasUnderAnEnglishSystemLocale) {
  if (SystemLocaleText(LOCALE_STHOUSAND) != "," || SystemLocaleText(LOCALE_SGROUPING) != "3;0") {
    GTEST_SKIP() << "the system locale does not group '3;0' with ','";
  }
  const struct {
    std::uint64_t value;
    const char* text;
  } cases[] = {
      {0, "0"},
      {999, "999"},
      {1000, "1,000"},
      {1234567, "1,234,567"},
      {UINT64_MAX, "18,446,744,073,709,551,615"},
  };
  Win32NumberLocale locale;
  for (const auto& c : cases) {
    EXPECT_STREQ(TextOrEmpty(locale.FormatDigits(IntToText(c.value, 10))), c.text);
  }
}

}  // namespace
