#include "app/win32/CommandLine.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "platform/win32/NativePath.h"
#include "platform/win32/WideText.h"

namespace {

bool IsExistingFile(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(ToExtendedPath(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

std::vector<std::string> SavedScansOnCommandLine(const wchar_t* commandLine) {
  std::vector<std::string> files;
  int count = 0;
  // The first argument is the program itself.
  wchar_t** arguments = CommandLineToArgvW(commandLine, &count);
  if (arguments == nullptr) return files;
  if (count > 1 && IsExistingFile(arguments[1])) {
    for (int i = 1; i < count; ++i) files.push_back(WideToUtf8(arguments[i]));
  }
  LocalFree(arguments);
  return files;
}
