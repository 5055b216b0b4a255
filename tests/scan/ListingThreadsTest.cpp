#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "scan/ListingThreads.h"

namespace {

// Null unsets it.
void SetVariable(const char* value) {
#ifdef _WIN32
  _putenv_s(kListingThreadsVariable, value != nullptr ? value : "");
#else
  if (value != nullptr) {
    ::setenv(kListingThreadsVariable, value, 1);
  } else {
    ::unsetenv(kListingThreadsVariable);
  }
#endif
}

TEST(ListingThreads, TakesAWholeCountWithinTheLimitsOnly) {
  unsigned threads = 0;
  EXPECT_TRUE(ParseListingThreads("1", threads));
  EXPECT_EQ(threads, 1u);
  EXPECT_TRUE(ParseListingThreads("64", threads));
  EXPECT_EQ(threads, 64u);
  for (const char* bad : {"", "0", "65", "-1", "+2", "2x", " 2", "4294967298", "99999999999999999999"}) {
    threads = 7;
    EXPECT_FALSE(ParseListingThreads(bad, threads)) << bad;
    EXPECT_EQ(threads, 7u) << bad;
  }
}

TEST(ListingThreads, TheVariableSetsTheCountWhenNothingElseDoes) {
  unsigned threads = 9;
  std::string error;
  SetVariable(nullptr);
  EXPECT_TRUE(ListingThreadsFromEnvironment(threads, error));
  EXPECT_EQ(threads, 0u);

  SetVariable("3");
  EXPECT_TRUE(ListingThreadsFromEnvironment(threads, error));
  EXPECT_EQ(threads, 3u);
  EXPECT_EQ(AskedListingThreads(0), 3u);
  EXPECT_EQ(AskedListingThreads(5), 5u);

  SetVariable("many");
  EXPECT_FALSE(ListingThreadsFromEnvironment(threads, error));
  EXPECT_NE(error.find(kListingThreadsVariable), std::string::npos);
  EXPECT_EQ(AskedListingThreads(0), 0u);
  SetVariable(nullptr);
}

TEST(ListingThreads, ADiskThatSeeksGetsOneThreadUnlessAskedOtherwise) {
  EXPECT_EQ(ListingThreadsFor(0, false), kDefaultListingThreads);
  EXPECT_EQ(ListingThreadsFor(0, true), 1u);
  EXPECT_EQ(ListingThreadsFor(6, true), 6u);
  EXPECT_EQ(ListingThreadsFor(1, false), 1u);
}

}  // namespace
