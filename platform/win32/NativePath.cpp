#include "platform/win32/NativePath.h"

#include <windows.h>

#include <cwchar>

#include "platform/win32/WideText.h"

namespace {

bool StartsWith(const std::wstring& text, const wchar_t* prefix) {
  return text.compare(0, std::wcslen(prefix), prefix) == 0;
}

bool IsPrefixed(const std::wstring& path) {
  return StartsWith(path, L"\\\\?\\") || StartsWith(path, L"\\\\.\\");
}

bool IsUncPath(const std::wstring& path) { return StartsWith(path, L"\\\\"); }

bool IsDriveAbsolute(const std::wstring& path) {
  return path.size() >= 3 && path[1] == L':' && path[2] == L'\\';
}

std::wstring AddPrefix(const std::wstring& absolutePath) {
  if (IsPrefixed(absolutePath)) return absolutePath;
  if (IsUncPath(absolutePath)) return L"\\\\?\\UNC\\" + absolutePath.substr(2);
  if (IsDriveAbsolute(absolutePath)) return L"\\\\?\\" + absolutePath;
  return absolutePath;
}

}  // namespace

bool GetFullWidePath(const std::wstring& path, std::wstring& fullPath) {
  const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return false;
  fullPath.resize(needed);
  const DWORD written = GetFullPathNameW(path.c_str(), needed, &fullPath[0], nullptr);
  if (written == 0 || written >= needed) return false;
  fullPath.resize(written);
  return true;
}

std::wstring ToExtendedPath(const std::wstring& path) {
  if (IsPrefixed(path) || IsUncPath(path) || IsDriveAbsolute(path)) return AddPrefix(path);
  std::wstring fullPath;
  if (!GetFullWidePath(path, fullPath)) return path;
  return AddPrefix(fullPath);
}

bool GetFullNativePath(const std::string& path, std::string& fullPath) {
  std::wstring widePath;
  std::wstring wideFullPath;
  if (path.empty() || !Utf8ToWide(path.c_str(), widePath)) return false;
  if (!GetFullWidePath(widePath, wideFullPath)) return false;
  fullPath = WideToUtf8(wideFullPath.c_str());
  return !fullPath.empty();
}

bool IsExistingFolder(const std::string& fullPath) {
  std::wstring widePath;
  if (!Utf8ToWide(fullPath.c_str(), widePath)) return false;
  const DWORD attributes = GetFileAttributesW(ToExtendedPath(widePath).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}
