#include "platform/win32/WideText.h"

#include <windows.h>

bool Utf8ToWide(const char* text, std::wstring& out) {
  out.clear();
  if (text == nullptr || *text == '\0') return true;
  const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, nullptr, 0);
  if (length <= 0) return false;
  out.resize(static_cast<std::size_t>(length));
  if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, &out[0], length) != length) {
    return false;
  }
  out.resize(static_cast<std::size_t>(length) - 1);  // the terminator the call wrote
  return true;
}

std::string WideToUtf8(const wchar_t* text) {
  std::string out;
  if (text == nullptr || *text == L'\0') return out;
  const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return out;
  out.resize(static_cast<std::size_t>(length));
  WideCharToMultiByte(CP_UTF8, 0, text, -1, &out[0], length, nullptr, nullptr);
  out.resize(static_cast<std::size_t>(length) - 1);
  return out;
}

bool WideToUtf8(const wchar_t* text, char* buffer, int bufferSize) {
  if (bufferSize <= 0) return false;
  if (WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer, bufferSize, nullptr, nullptr) > 0) return true;
  buffer[0] = '\0';
  return false;
}
