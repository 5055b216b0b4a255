#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "text/IntToText.h"

namespace {

TEST(IntToText, DigitsInEveryRadix) {
  struct Case {
    std::uint64_t value;
    std::uint8_t radix;
    std::string expected;
  };
  const Case cases[] = {
      {0, 10, "0"},         {UINT64_MAX, 10, "18446744073709551615"}, {UINT64_MAX, 16, "FFFFFFFFFFFFFFFF"},
      {35, 36, "Z"},        {UINT64_MAX, 2, std::string(64, '1')},    {36, 36, "10"},
      {0xBEEF, 16, "BEEF"}, {4294967296ULL, 10, "4294967296"},
  };
  for (const Case& c : cases) {
    const CDynString text = IntToText(c.value, c.radix);
    ASSERT_NE(text.GetText(), nullptr);
    EXPECT_EQ(text.GetText(), c.expected) << c.value << " in radix " << int{c.radix};
  }
}

}  // namespace
