#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/CommandLineArguments.h"

namespace {

using Arguments = std::vector<std::string>;

// Names no single ANSI code page holds together: Western, Greek and Japanese, and a
// lone surrogate, which an NTFS name may hold.
TEST(CommandLineArguments, EveryArgumentComesBackInUtf8WhateverItHolds) {
  const wchar_t* commandLine =
      L"\"C:\\Program Files\\ambrell-scan.exe\" --unit mb \"C:\\D\x00FCsseldorf Fotos\" "
      L"D:\\\x0394\x03B9\x03AC \x65E5\x672C E:\\a\xD800z \"quoted \\\"part\\\"\"";
  EXPECT_EQ(Utf8ArgumentsOf(commandLine),
            (Arguments{"--unit", "mb", "C:\\D\xC3\xBCsseldorf Fotos", "D:\\\xCE\x94\xCE\xB9\xCE\xAC",
                       "\xE6\x97\xA5\xE6\x9C\xAC", "E:\\a\xED\xA0\x80z", "quoted \"part\""}));
}

TEST(CommandLineArguments, TheProgramAloneOrNothingGivesNoArguments) {
  EXPECT_EQ(Utf8ArgumentsOf(L"ambrell-scan.exe"), Arguments{});
  EXPECT_EQ(Utf8ArgumentsOf(L""), Arguments{});
  EXPECT_EQ(Utf8ArgumentsOf(nullptr), Arguments{});
}

}  // namespace
