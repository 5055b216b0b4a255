#include "platform/win32/WideText.h"

#include <cstddef>

// The system's converters will not do: MultiByteToWideChar refuses the 3-byte
// form of a surrogate, and WideCharToMultiByte turns a lone one into U+FFFD,
// after which the name opens nothing.

namespace {

constexpr char32_t kFirstHighSurrogate = 0xD800;
constexpr char32_t kFirstLowSurrogate = 0xDC00;
constexpr char32_t kLastSurrogate = 0xDFFF;
constexpr char32_t kFirstSupplementary = 0x10000;
constexpr char32_t kLastCodePoint = 0x10FFFF;

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }
bool IsHighSurrogate(char32_t unit) { return unit >= kFirstHighSurrogate && unit < kFirstLowSurrogate; }
bool IsLowSurrogate(char32_t unit) { return unit >= kFirstLowSurrogate && unit <= kLastSurrogate; }

// The bytes a sequence takes after its lead byte, and the value bits the
// lead carries; false for a byte that leads nothing.
bool ReadLead(unsigned char lead, int& following, char32_t& value) {
  if (lead < 0x80) {
    following = 0;
    value = lead;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    following = 1;
    value = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    following = 2;
    value = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    following = 3;
    value = lead & 0x07;
  } else {
    return false;
  }
  return true;
}

// The smallest value each length may carry: anything below has a shorter form.
char32_t SmallestFor(int following) {
  static const char32_t kSmallest[] = {0, 0x80, 0x800, kFirstSupplementary};
  return kSmallest[following];
}

// One code point or lone surrogate at text; false for anything malformed.
bool DecodeOne(const unsigned char*& text, char32_t& value) {
  int following = 0;
  if (!ReadLead(*text, following, value)) return false;
  for (int i = 1; i <= following; ++i) {
    if (!IsContinuation(text[i])) return false;  // the terminator is no continuation either
    value = (value << 6) | (text[i] & 0x3F);
  }
  if (value < SmallestFor(following) || value > kLastCodePoint) return false;
  text += following + 1;
  return true;
}

void AppendUnits(char32_t value, std::wstring& out) {
  if (value < kFirstSupplementary) {
    out += static_cast<wchar_t>(value);
    return;
  }
  value -= kFirstSupplementary;
  out += static_cast<wchar_t>(kFirstHighSurrogate + (value >> 10));
  out += static_cast<wchar_t>(kFirstLowSurrogate + (value & 0x3FF));
}

// The code point a unit starts, taking its low half along when it is a pair's high half.
char32_t ReadUnits(const wchar_t*& text) {
  const char32_t unit = static_cast<char16_t>(*text++);
  if (!IsHighSurrogate(unit) || !IsLowSurrogate(static_cast<char16_t>(*text))) return unit;
  const char32_t low = static_cast<char16_t>(*text++);
  return kFirstSupplementary + ((unit - kFirstHighSurrogate) << 10) + (low - kFirstLowSurrogate);
}

// Up to four bytes; returns how many.
int EncodeOne(char32_t value, char* bytes) {
  if (value < 0x80) {
    bytes[0] = static_cast<char>(value);
    return 1;
  }
  int following = value < 0x800 ? 1 : value < kFirstSupplementary ? 2 : 3;
  static const unsigned char kLeadMarks[] = {0, 0xC0, 0xE0, 0xF0};
  bytes[0] = static_cast<char>(kLeadMarks[following] | (value >> (6 * following)));
  for (int i = 1; i <= following; ++i) {
    bytes[i] = static_cast<char>(0x80 | ((value >> (6 * (following - i))) & 0x3F));
  }
  return following + 1;
}

}  // namespace

bool Utf8ToWide(const char* text, std::wstring& out) {
  out.clear();
  if (text == nullptr) return true;
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  bool afterHighSurrogate = false;
  while (*bytes != 0) {
    char32_t value = 0;
    if (!DecodeOne(bytes, value)) return false;
    // The halves of a pair written apart would be a second spelling of the pair.
    if (afterHighSurrogate && IsLowSurrogate(value)) return false;
    afterHighSurrogate = IsHighSurrogate(value);
    AppendUnits(value, out);
  }
  return true;
}

std::string WideToUtf8(const wchar_t* text) {
  std::string out;
  if (text == nullptr) return out;
  char bytes[4];
  while (*text != L'\0') out.append(bytes, static_cast<std::size_t>(EncodeOne(ReadUnits(text), bytes)));
  return out;
}

bool WideToUtf8(const wchar_t* text, char* buffer, int bufferSize) {
  if (bufferSize <= 0) return false;
  int used = 0;
  char bytes[4];
  while (text != nullptr && *text != L'\0') {
    const int length = EncodeOne(ReadUnits(text), bytes);
    if (used + length >= bufferSize) {
      buffer[0] = '\0';
      return false;
    }
    for (int i = 0; i < length; ++i) buffer[used++] = bytes[i];
  }
  buffer[used] = '\0';
  return true;
}
