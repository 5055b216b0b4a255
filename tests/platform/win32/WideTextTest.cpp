#include <gtest/gtest.h>

#include <string>

#include "platform/win32/WideText.h"

namespace {

struct NameForms {
  const char* what;
  std::wstring units;
  std::string bytes;
};

// Names as NTFS may hold them; the lone halves come back as their 3-byte forms.
const NameForms kNames[] = {
    {"plain", L"Data", "Data"},
    {"outside Latin-1", L"\x65E5\x672C", "\xE6\x97\xA5\xE6\x9C\xAC"},
    {"a pair stays one 4-byte sequence", L"a\xD83D\xDE00z", "a\xF0\x9F\x98\x80z"},
    {"lone high half", L"a\xD800z", "a\xED\xA0\x80z"},
    {"lone low half", L"\xDFFF", "\xED\xBF\xBF"},
    {"high half last", L"ab\xDBFF", "ab\xED\xAF\xBF"},
    {"reversed pair", L"\xDC00\xD800", "\xED\xB0\x80\xED\xA0\x80"},
    {"two high halves", L"\xD800\xD800\xDC00", "\xED\xA0\x80\xF0\x90\x80\x80"},
};

TEST(WideText, EveryNameConvertsToItsFormAndBackToTheSameUnits) {
  for (const NameForms& name : kNames) {
    EXPECT_EQ(WideToUtf8(name.units.c_str()), name.bytes) << name.what;
    char buffer[32];
    ASSERT_TRUE(WideToUtf8(name.units.c_str(), buffer, sizeof buffer)) << name.what;
    EXPECT_EQ(std::string(buffer), name.bytes) << name.what;

    std::wstring back;
    ASSERT_TRUE(Utf8ToWide(name.bytes.c_str(), back)) << name.what;
    EXPECT_EQ(back, name.units) << name.what;
  }
}

TEST(WideText, MalformedBytesAreRefused) {
  const char* const malformed[] = {
      "\xC0\x80",                  // overlong NUL
      "\xE0\x80\xAF",              // overlong '/'
      "\xF4\x90\x80\x80",          // past U+10FFFF
      "\xE6\x97",                  // cut off by the end
      "a\x80",                     // a continuation alone
      "\xED\xA0\x80\xED\xB0\x80",  // a pair's halves written apart
  };
  for (const char* text : malformed) {
    std::wstring out;
    EXPECT_FALSE(Utf8ToWide(text, out)) << testing::PrintToString(std::string(text));
  }
}

}  // namespace
