#include "platform/win32/ProgramFolder.h"

#include <windows.h>

#include <vector>

#include "platform/win32/WideText.h"

namespace {

// The .exe's own path, however long (GetModuleFileNameW truncates silently).
std::wstring ProgramPath() {
  for (DWORD size = MAX_PATH;; size *= 2) {
    std::vector<wchar_t> buffer(size);
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), size);
    if (length == 0) return std::wstring();
    if (length < size) return std::wstring(buffer.data(), length);
    if (size >= 32768) return std::wstring();
  }
}

}  // namespace

std::string FileBesideProgram(const char* name) {
  const std::wstring program = ProgramPath();
  const std::size_t separator = program.find_last_of(L"\\/");
  if (separator == std::wstring::npos) return std::string();
  return WideToUtf8(program.substr(0, separator + 1).c_str()) + name;
}
