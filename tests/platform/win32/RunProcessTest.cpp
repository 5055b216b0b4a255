#include <gtest/gtest.h>
#include <windows.h>

#include "TempFolder.h"
#include "platform/win32/RunProcess.h"

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

// A command line of UTF-8 text reaches the program intact whatever the process code
// page: as it is where that is UTF-8, through CreateProcessW where it is not.
TEST(RunProcess, ANameOutsideTheCodePageReachesTheProgramIntact) {
  for (const unsigned codePage : {1252u, 65001u}) {
    TempFolder temp;
    const std::string folder = temp / u8"\u00fcn\u00ef \u65e5\u672c \U0001F4C1";
    const CDynString command(("cmd.exe /c mkdir \"" + folder + "\"").c_str(), AllocHeap);
    EXPECT_EQ(RunProcess(command, kRunHidden, codePage), 0u) << codePage;
    EXPECT_NE(GetFileAttributesW(Extended(folder).c_str()), INVALID_FILE_ATTRIBUTES) << codePage;
  }
}

}  // namespace
