#include "app/win32/CommandLine.h"

#include <windows.h>

#include "platform/win32/CommandLineArguments.h"
#include "platform/win32/NativePath.h"
#include "platform/win32/WideText.h"

namespace {

bool IsExistingFile(const std::string& path) {
  std::wstring wide;
  if (!Utf8ToWide(path.c_str(), wide) || wide.empty()) return false;
  const DWORD attributes = GetFileAttributesW(ToExtendedPath(wide).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

std::vector<std::string> SavedScansOnCommandLine(const wchar_t* commandLine) {
  std::vector<std::string> files = Utf8ArgumentsOf(commandLine);
  if (files.empty() || !IsExistingFile(files.front())) return {};
  return files;
}
