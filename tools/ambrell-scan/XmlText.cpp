#include "tools/ambrell-scan/XmlText.h"

namespace {

// U+FFFE and U+FFFF: EF BF BE and EF BF BF.
bool IsNonCharacterAt(std::string_view text, std::size_t at) {
  return text.size() - at >= 3 && static_cast<unsigned char>(text[at]) == 0xEF &&
         static_cast<unsigned char>(text[at + 1]) == 0xBF &&
         (static_cast<unsigned char>(text[at + 2]) & 0xFE) == 0xBE;
}

void AppendHexBytes(std::string_view bytes, std::string& out) {
  static const char kDigits[] = "0123456789abcdef";
  for (const char byte : bytes) {
    const auto value = static_cast<unsigned char>(byte);
    out += "\\x";
    out += kDigits[value >> 4];
    out += kDigits[value & 0xF];
  }
}

}  // namespace

void AppendXmlText(std::string_view text, std::string& out) {
  for (std::size_t at = 0; at < text.size(); ++at) {
    switch (text[at]) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      default:
        if (IsNonCharacterAt(text, at)) {
          AppendHexBytes(text.substr(at, 3), out);
          at += 2;
        } else if (static_cast<unsigned char>(text[at]) < 0x20) {
          AppendHexBytes(text.substr(at, 1), out);  // never in a quoted name; kept out of XML all the same
        } else {
          out += text[at];
        }
    }
  }
}
