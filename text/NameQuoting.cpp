#include "text/NameQuoting.h"

namespace {

// The length of the well-formed UTF-8 sequence at text[at], and its code
// point; 0 when text[at] starts none (overlong forms, surrogates and values
// past U+10FFFF are malformed).
std::size_t DecodeUtf8(std::string_view text, std::size_t at, char32_t& code) {
  static const char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  const auto lead = static_cast<unsigned char>(text[at]);
  if (lead < 0x80) {
    code = lead;
    return 1;
  }
  std::size_t length = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4;
  } else {
    return 0;
  }
  code = lead & (0x7F >> length);
  if (text.size() - at < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[at + i]);
    if ((next & 0xC0) != 0x80) return 0;
    code = (code << 6) | (next & 0x3F);
  }
  if (code < kSmallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

// Control characters (C0, DEL, C1: line breaks, escape sequences), the
// Unicode line and paragraph separators that some readers split lines at,
// and the marks that reorder how a line is shown.
bool IsHostile(char32_t code) {
  return code < 0x20 || (code >= 0x7F && code <= 0x9F) || code == 0x2028 || code == 0x2029 ||
         code == 0x061C || code == 0x200E || code == 0x200F || (code >= 0x202A && code <= 0x202E) ||
         (code >= 0x2066 && code <= 0x2069);
}

char ShortEscape(char32_t code) {
  switch (code) {
    case '\t':
      return 't';
    case '\n':
      return 'n';
    case '\r':
      return 'r';
    default:
      return 0;
  }
}

// Inside quotes a name keeps no '    (' either: on every line the first one
// begins the size.
bool WouldStartASize(char32_t code, const std::string& out) {
  return code == '(' && out.size() >= 4 && out.compare(out.size() - 4, 4, "    ") == 0;
}

// Appends text with hostile characters and malformed bytes escaped; inside
// quotes '\' and '"' too, so that the quoted form reads back unambiguously.
void AppendEscaped(std::string_view text, bool quoted, std::string& out) {
  for (std::size_t at = 0; at < text.size();) {
    char32_t code = 0;
    const std::size_t length = DecodeUtf8(text, at, code);
    if (length == 0) {
      AppendHexEscapes(text.substr(at, 1), out);
      ++at;
      continue;
    }
    if (quoted && WouldStartASize(code, out)) {
      AppendHexEscapes(text.substr(at, 1), out);
    } else if (!IsHostile(code)) {
      if (quoted && (code == '\\' || code == '"')) out += '\\';
      out.append(text.substr(at, length));
    } else if (ShortEscape(code) != 0) {
      out += '\\';
      out += ShortEscape(code);
    } else {
      AppendHexEscapes(text.substr(at, length), out);
    }
    at += length;
  }
}

bool HasHostileOrMalformed(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    char32_t code = 0;
    const std::size_t length = DecodeUtf8(text, at, code);
    if (length == 0 || IsHostile(code)) return true;
    at += length;
  }
  return false;
}

}  // namespace

bool NeedsQuoting(std::string_view name) {
  return name.empty() || name[0] == ' ' || name[0] == '"' || name.find("    (") != std::string_view::npos ||
         HasHostileOrMalformed(name);
}

std::string QuoteName(std::string_view name) {
  if (!NeedsQuoting(name)) return std::string(name);
  std::string quoted = "\"";
  AppendEscaped(name, true, quoted);
  quoted += '"';
  return quoted;
}

std::string EscapeForTerminal(std::string_view text) {
  std::string escaped;
  AppendEscaped(text, false, escaped);
  return escaped;
}

void AppendHexEscapes(std::string_view bytes, std::string& out) {
  static const char kDigits[] = "0123456789abcdef";
  for (const char byte : bytes) {
    const auto value = static_cast<unsigned char>(byte);
    out += "\\x";
    out += kDigits[value >> 4];
    out += kDigits[value & 0xF];
  }
}
