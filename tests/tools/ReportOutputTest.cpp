#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tools/ambrell-scan/ReportOutput.h"

namespace {

TEST(ReportOutputTest, WhatArrivesIsASuccess) {
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  ReportOutput output(file);
  output.Write("C:    (1 MB)\n", 13);
  output.Write("", 0);
  output.Write("  a    (0 MB)\n", 14);
  EXPECT_TRUE(output.Finish());
  EXPECT_EQ(output.Error(), 0);
  std::rewind(file);
  char text[64] = {};
  EXPECT_EQ(std::fread(text, 1, sizeof text, file), 27u);
  EXPECT_EQ(std::string(text), "C:    (1 MB)\n  a    (0 MB)\n");
  std::fclose(file);
}

// A stream that refuses writes stands for a full disk or a closed descriptor.
TEST(ReportOutputTest, AWriteThatFailsIsNeverASuccess) {
  const char* path = "report-output-test.tmp";
  std::FILE* file = std::fopen(path, "wb");
  ASSERT_NE(file, nullptr);
  std::fclose(file);
  file = std::fopen(path, "rb");
  ASSERT_NE(file, nullptr);
  ReportOutput output(file);
  output.Write("C:    (1 MB)\n", 13);
  EXPECT_FALSE(output.Finish());
  EXPECT_NE(output.Error(), 0);
  EXPECT_FALSE(output.Finish()) << "a later flush must not clear the failure";
  std::fclose(file);
  std::remove(path);
}

}  // namespace
