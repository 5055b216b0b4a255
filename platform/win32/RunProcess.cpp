#include "platform/win32/RunProcess.h"

#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/ProgramText.h"
#include "platform/win32/WideText.h"

namespace {

template <typename StartupInfo>
StartupInfo Startup(std::uint32_t flags) {
  StartupInfo startup = {};
  startup.cb = sizeof startup;
  if ((flags & kRunHidden) != 0) {
    startup.dwFlags |= STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
  }
  return startup;
}

// CreateProcess may write into its command line: each call gets a copy.
bool StartAnsi(const CDynString& commandLine, std::uint32_t flags, PROCESS_INFORMATION& process) {
  const char* text = TextOrEmpty(commandLine);
  std::vector<char> writableCopy(text, text + commandLine.GetLength() + 1);
  STARTUPINFOA startup = Startup<STARTUPINFOA>(flags);
  return CreateProcessA(nullptr, writableCopy.data(), nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS, nullptr,
                        nullptr, &startup, &process) != 0;
}

bool StartWide(const CDynString& commandLine, std::uint32_t flags, PROCESS_INFORMATION& process) {
  std::wstring wide;
  if (!Utf8ToWide(TextOrEmpty(commandLine), wide)) {
    SetLastError(ERROR_NO_UNICODE_TRANSLATION);
    return false;
  }
  std::vector<wchar_t> writableCopy(wide.c_str(), wide.c_str() + wide.size() + 1);
  STARTUPINFOW startup = Startup<STARTUPINFOW>(flags);
  return CreateProcessW(nullptr, writableCopy.data(), nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS, nullptr,
                        nullptr, &startup, &process) != 0;
}

// The "A" functions read UTF-8 through the system's converter, which turns the
// 3-byte form of a lone surrogate (a name NTFS allows) into U+FFFD: such a
// command line goes through the wide function even where the code page is UTF-8.
bool AnsiTakesIntact(const CDynString& commandLine, unsigned codePage) {
  return AnsiTakesUtf8(codePage) &&
         MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, TextOrEmpty(commandLine), -1, nullptr, 0) > 0;
}

}  // namespace

std::uint32_t RunProcess(const CDynString& commandLine, std::uint32_t flags) {
  return RunProcess(commandLine, flags, GetACP());
}

std::uint32_t RunProcess(const CDynString& commandLine, std::uint32_t flags, unsigned codePage) {
  PROCESS_INFORMATION process = {};
  const bool started = AnsiTakesIntact(commandLine, codePage) ? StartAnsi(commandLine, flags, process)
                                                              : StartWide(commandLine, flags, process);
  if (!started) return GetLastError();
  DWORD result = 0;
  if ((flags & kRunNoWait) == 0) {
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &result);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return result;
}
