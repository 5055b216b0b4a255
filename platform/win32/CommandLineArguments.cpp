#include "platform/win32/CommandLineArguments.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "platform/win32/WideText.h"

std::vector<std::string> Utf8ArgumentsOf(const wchar_t* commandLine) {
  std::vector<std::string> arguments;
  // An empty command line would make the system split this program's own instead.
  if (commandLine == nullptr || *commandLine == L'\0') return arguments;
  int count = 0;
  wchar_t** split = CommandLineToArgvW(commandLine, &count);
  if (split == nullptr) return arguments;
  try {
    for (int i = 1; i < count; ++i) arguments.push_back(WideToUtf8(split[i]));
  } catch (...) {
    LocalFree(split);
    throw;
  }
  LocalFree(split);
  return arguments;
}
