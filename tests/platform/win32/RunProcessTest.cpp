#include "platform/win32/RunProcess.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

TEST(RunProcess, WaitingGivesTheProgramsExitCode) {
  EXPECT_EQ(RunProcess(CDynString("cmd.exe /c exit 7", AllocHeap), kRunHidden), 7u);
  EXPECT_EQ(RunProcess(CDynString("cmd.exe /c exit 0", AllocHeap), 0), 0u);
}

TEST(RunProcess, NotWaitingGivesZeroOnceStarted) {
  EXPECT_EQ(RunProcess(CDynString("cmd.exe /c exit 7", AllocHeap), kRunNoWait | kRunHidden), 0u);
}

TEST(RunProcess, AProgramThatCannotStartGivesTheSystemError) {
  const CDynString missing("ambrell-no-such-program.exe", AllocHeap);
  EXPECT_EQ(RunProcess(missing, kRunNoWait), static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(RunProcess(missing, 0), static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND));
}


}  // namespace
