#include "path/NameRules.h"

#include <cstring>

namespace {

constexpr std::size_t kMaxNameLength = 260;
constexpr std::size_t kMaxServerNameLength = 64;

const char* const kForbiddenInName = "\"\\/|<>";
const char* const kForbiddenInServerName = "\"\\/[]:;|=,+*?<>";

// How many bytes, starting at a lead byte, one well-formed UTF-8 sequence takes; 1 for
// a byte that starts none.
std::size_t SequenceLength(const unsigned char* text) {
  const unsigned char lead = text[0];
  std::size_t length = 1;
  if (lead >= 0xC2 && lead <= 0xDF)
    length = 2;
  else if (lead >= 0xE0 && lead <= 0xEF)
    length = 3;
  else if (lead >= 0xF0 && lead <= 0xF4)
    length = 4;
  for (std::size_t i = 1; i < length; ++i) {
    if ((text[i] & 0xC0) != 0x80) return 1;
  }
  return length;
}

bool HasLengthWithin(const char* text, std::size_t maxLength) {
  const std::size_t length = std::strlen(text);
  return length >= 1 && length <= maxLength;
}

// Windows limits a name in UTF-16 units, not in the bytes of its UTF-8 form: 87 CJK
// characters make a legal name of 261 bytes. A byte outside well-formed UTF-8 counts
// as one unit, as its replacement character would.
bool HasUtf16LengthWithin(const char* text, std::size_t maxLength) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  std::size_t units = 0;
  while (*bytes != 0) {
    const std::size_t length = SequenceLength(bytes);
    units += length == 4 ? 2 : 1;  // beyond the basic plane: a surrogate pair
    if (units > maxLength) return false;
    bytes += length;
  }
  return units >= 1;
}

// A colon may only be the second of exactly two characters, as in 'C:'.
bool HasColonOnlyAsDrive(const char* text) {
  if (std::strchr(text, ':') == nullptr) return true;
  return std::strlen(text) == 2 && text[0] != ':';
}

}  // namespace

bool IsValidName(const char* text) {
  return text != nullptr && HasUtf16LengthWithin(text, kMaxNameLength) &&
         std::strpbrk(text, kForbiddenInName) == nullptr && HasColonOnlyAsDrive(text);
}

bool IsValidServerName(const char* text) {
  return text != nullptr && HasLengthWithin(text, kMaxServerNameLength) &&
         std::strpbrk(text, kForbiddenInServerName) == nullptr;
}

bool IsDriveDesignator(const char* text) { return text != nullptr && text[0] != 0 && text[1] == ':'; }
