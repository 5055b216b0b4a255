#include "path/NameRules.h"

#include <cstring>

namespace {

constexpr std::size_t kMaxNameLength = 260;
constexpr std::size_t kMaxServerNameLength = 64;

const char* const kForbiddenInName = "\"\\/|<>";
const char* const kForbiddenInServerName = "\"\\/[]:;|=,+*?<>";

bool HasLengthWithin(const char* text, std::size_t maxLength) {
  const std::size_t length = std::strlen(text);
  return length >= 1 && length <= maxLength;
}

// A colon may only be the second of exactly two characters, as in 'C:'.
bool HasColonOnlyAsDrive(const char* text) {
  if (std::strchr(text, ':') == nullptr) return true;
  return std::strlen(text) == 2 && text[0] != ':';
}

}  // namespace

bool IsValidName(const char* text) {
  return text != nullptr && HasLengthWithin(text, kMaxNameLength) &&
         std::strpbrk(text, kForbiddenInName) == nullptr && HasColonOnlyAsDrive(text);
}

bool IsValidServerName(const char* text) {
  return text != nullptr && HasLengthWithin(text, kMaxServerNameLength) &&
         std::strpbrk(text, kForbiddenInServerName) == nullptr;
}

bool IsDriveDesignator(const char* text) { return text != nullptr && text[0] != 0 && text[1] == ':'; }
