#include "platform/win32/SystemErrorText.h"

#include <windows.h>

#include "platform/win32/WideText.h"

std::string SystemErrorText(unsigned long errorCode) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      errorCode, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string sentence = length > 0 ? WideToUtf8(text) : std::string();
  LocalFree(text);
  // The system ends its sentences with a line break; a message goes on one line.
  while (!sentence.empty() && (sentence.back() == '\n' || sentence.back() == '\r' || sentence.back() == ' '))
    sentence.pop_back();
  if (sentence.empty()) sentence = "system error " + std::to_string(errorCode);
  return sentence;
}
