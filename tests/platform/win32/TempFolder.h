#pragma once
// A fresh folder under the user's temporary folder, removed with all it
// holds when the test ends. Paths are UTF-8, the program's own text.

#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/win32/NativePath.h"
#include "platform/win32/WideText.h"

inline std::wstring Wide(const std::string& text) {
  std::wstring wide;
  Utf8ToWide(text.c_str(), wide);
  return wide;
}

inline std::wstring Extended(const std::string& path) { return ToExtendedPath(Wide(path)); }

inline void RemoveTree(const std::wstring& extendedPath) {
  WIN32_FIND_DATAW data;
  const HANDLE find = FindFirstFileW((extendedPath + L"\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring child = extendedPath + L"\\" + name;
      if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        RemoveTree(child);
      } else {
        DeleteFileW(child.c_str());
      }
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  RemoveDirectoryW(extendedPath.c_str());
}

class TempFolder {
 public:
  TempFolder() {
    wchar_t base[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, base);
    static unsigned counter = 0;
    m_path = WideToUtf8(base) + "ambrell-test-" + std::to_string(GetCurrentProcessId()) + "-" +
             std::to_string(++counter);
    CreateDirectoryW(Extended(m_path).c_str(), nullptr);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder() { RemoveTree(Extended(m_path)); }

  const std::string& Path() const { return m_path; }
  std::string operator/(const std::string& name) const { return m_path + "\\" + name; }

 private:
  std::string m_path;
};

inline bool MakeFolder(const std::string& path) {
  return CreateDirectoryW(Extended(path).c_str(), nullptr) != 0;
}

// A file of the given size; past the written bytes it is sparse where the
// file system allows, so a size of gigabytes costs nothing.
inline bool MakeFile(const std::string& path, std::uint64_t size) {
  const HANDLE file = CreateFileW(Extended(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER end;
  end.QuadPart = static_cast<LONGLONG>(size);
  const bool sized = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
  CloseHandle(file);
  return sized;
}
