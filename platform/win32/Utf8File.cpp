#include "platform/Utf8File.h"

#include <cerrno>
#include <cstdio>

#include "platform/win32/NativePath.h"
#include "platform/win32/WideText.h"

std::FILE* OpenUtf8File(const std::string& path, const char* mode) {
  std::wstring widePath;
  std::wstring wideMode;
  if (!Utf8ToWide(path.c_str(), widePath) || !Utf8ToWide(mode, wideMode)) {
    errno = EILSEQ;
    return nullptr;
  }
  if (widePath.empty()) {
    errno = ENOENT;
    return nullptr;
  }
  // The prefixed form opens paths past 260 characters too.
  return _wfopen(ToExtendedPath(widePath).c_str(), wideMode.c_str());
}
