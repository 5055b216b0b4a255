#include "tools/ambrell-scan/XmlText.h"

#include "text/NameQuoting.h"

namespace {

// U+FFFE and U+FFFF: EF BF BE and EF BF BF.
bool IsNonCharacterAt(std::string_view text, std::size_t at) {
  return text.size() - at >= 3 && static_cast<unsigned char>(text[at]) == 0xEF &&
         static_cast<unsigned char>(text[at + 1]) == 0xBF &&
         (static_cast<unsigned char>(text[at + 2]) & 0xFE) == 0xBE;
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
          AppendHexEscapes(text.substr(at, 3), out);
          at += 2;
        } else if (static_cast<unsigned char>(text[at]) < 0x20) {
          AppendHexEscapes(text.substr(at, 1), out);  // never in a quoted name; kept out of XML all the same
        } else {
          out += text[at];
        }
    }
  }
}
