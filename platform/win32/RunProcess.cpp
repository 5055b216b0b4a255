#include "platform/win32/RunProcess.h"

#include <windows.h>

#include <vector>

std::uint32_t RunProcess(const CDynString& commandLine, std::uint32_t flags) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if ((flags & kRunHidden) != 0) {
    startup.dwFlags |= STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
  }

  // CreateProcessA may write into its command line: it gets a copy.
  const char* text = TextOrEmpty(commandLine);
  std::vector<char> writableCopy(text, text + commandLine.GetLength() + 1);

  if (!CreateProcessA(nullptr, writableCopy.data(), nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS, nullptr,
                      nullptr, &startup, &process)) {
    return GetLastError();
  }
  DWORD result = 0;
  if ((flags & kRunNoWait) == 0) {
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &result);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return result;
}
