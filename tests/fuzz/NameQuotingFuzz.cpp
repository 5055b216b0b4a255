// The report's quoting of names. Must hold: a name that needs no quoting
// is printed as it is; a quoted one reads back to the same bytes, holds no
// control character, no C1 character and no malformed UTF-8, and has no
// four blanks and '(' that could pass for the start of a size.

#include "tests/fuzz/FuzzInput.h"
#include "text/NameQuoting.h"

namespace {

std::string Unquote(const std::string& quoted) {
  std::string name;
  for (std::size_t i = 1; i + 1 < quoted.size(); ++i) {
    if (quoted[i] != '\\') {
      FUZZ_CHECK(quoted[i] != '"');
      name += quoted[i];
      continue;
    }
    const char escape = quoted[++i];
    if (escape == 'x') {
      name += static_cast<char>(std::stoi(quoted.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      FUZZ_CHECK(std::string("\\\"tnr").find(escape) != std::string::npos);
      name += escape == 't' ? '\t' : escape == 'n' ? '\n' : escape == 'r' ? '\r' : escape;
    }
  }
  return name;
}

// Printable ASCII and well-formed UTF-8 without C1 characters: decoded
// here on its own, not with the code under test.
bool IsSafe(const std::string& text) {
  static const char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      if (lead < 0x20 || lead == 0x7F) return false;
      ++i;
      continue;
    }
    const std::size_t length = lead >= 0xF8 ? 0 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || i + length > text.size()) return false;
    char32_t code = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    if (code < kSmallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF) || code < 0xA0) {
      return false;
    }
    i += length;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string name(reinterpret_cast<const char*>(data), size);
  const std::string quoted = QuoteName(name);
  if (!NeedsQuoting(name)) {
    FUZZ_CHECK(quoted == name);
    FUZZ_CHECK(IsSafe(name) && name.find("    (") == std::string::npos);
    return 0;
  }
  FUZZ_CHECK(quoted.size() >= 2 && quoted.front() == '"' && quoted.back() == '"');
  FUZZ_CHECK(Unquote(quoted) == name);
  FUZZ_CHECK(IsSafe(quoted));
  FUZZ_CHECK(quoted.find("    (") == std::string::npos);
  FUZZ_CHECK(IsSafe(EscapeForTerminal(name)));
  return 0;
}
