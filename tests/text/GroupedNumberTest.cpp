#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "text/GroupedNumber.h"

namespace {

std::string TextOf(const CDynString& s) { return s.GetText() ? s.GetText() : ""; }

TEST(GroupedNumber, GroupDigits) {
  struct Case {
    const char* digits;
    unsigned groupSize;
    const char* separator;
    const char* expected;
  };
  const Case cases[] = {
      {"1234567", 3, ",", "1,234,567"}, {"1234567", 3, ".", "1.234.567"},   {"123456", 3, ",", "123,456"},
      {"999", 3, ",", "999"},           {"12345", 2, "--", "1--23--45"},    {"1234567", 0, ",", "1234567"},
      {"1234567", 3, "", "1234567"},    {"1234567", 3, nullptr, "1234567"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TextOf(GroupDigits(CDynString(c.digits, AllocHeap), c.groupSize, c.separator)), c.expected)
        << c.digits << " by " << c.groupSize;
    std::string appended = "(";
    AppendGroupedDigits(c.digits, c.groupSize, c.separator, appended);
    EXPECT_EQ(appended, std::string("(") + c.expected) << c.digits << " by " << c.groupSize;
  }
}

class SilentLocale : public NumberLocale {
 public:
  CDynString FormatDigits(const CDynString&) override { return CDynString(AllocHeap); }
};

// Formats with FormatDigits alone, as a platform's locale may.
class DashLocale : public NumberLocale {
 public:
  CDynString FormatDigits(const CDynString& digits) override { return GroupDigits(digits, 2, "-"); }
};

// The number, formatted and appended to a label: both ways must agree.
std::string Grouped(std::uint64_t value, NumberLocale& locale) {
  std::string appended = "(";
  AppendGroupedNumber(value, locale, appended);
  EXPECT_EQ(appended.substr(1), TextOf(FormatGroupedNumber(value, locale))) << value;
  return appended.substr(1);
}

TEST(GroupedNumber, FormatGroupedNumber) {
  FixedNumberLocale commas(3, ",");
  EXPECT_EQ(Grouped(0, commas), "0");
  EXPECT_EQ(Grouped(UINT64_MAX, commas), "18,446,744,073,709,551,615");
  FixedNumberLocale longSeparator(3, "ABCDEFGHIJ");  // keeps its first seven bytes
  EXPECT_EQ(Grouped(1000, longSeparator), "1ABCDEFG000");
  SilentLocale silent;  // a locale that cannot format leaves the plain digits
  EXPECT_EQ(Grouped(9216, silent), "9216");
  DashLocale dashes;
  EXPECT_EQ(Grouped(12345, dashes), "1-23-45");
}

}  // namespace
