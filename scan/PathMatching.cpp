#include "scan/PathMatching.h"

namespace {

// The small letter of a two-byte UTF-8 capital, as its code point; 0 when
// the code point has none here.
unsigned SmallLetterOf(unsigned codePoint) {
  if (codePoint >= 0xC0 && codePoint <= 0xDE && codePoint != 0xD7) return codePoint + 0x20;     // Latin-1
  if (codePoint >= 0x391 && codePoint <= 0x3AB && codePoint != 0x3A2) return codePoint + 0x20;  // Greek
  if (codePoint >= 0x410 && codePoint <= 0x42F) return codePoint + 0x20;                        // Cyrillic
  if (codePoint >= 0x400 && codePoint <= 0x40F) return codePoint + 0x50;
  return 0;
}

void AppendFolded(std::string_view name, std::string& out) {
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto byte = static_cast<unsigned char>(name[i]);
    if (byte >= 'A' && byte <= 'Z') {
      out += static_cast<char>(byte - 'A' + 'a');
      continue;
    }
    const bool twoByteLead = byte >= 0xC2 && byte <= 0xDF;
    const bool continued = i + 1 < name.size() && (static_cast<unsigned char>(name[i + 1]) & 0xC0) == 0x80;
    const unsigned small =
        twoByteLead && continued ? SmallLetterOf(((byte & 0x1Fu) << 6) | (name[i + 1] & 0x3Fu)) : 0;
    if (small == 0) {
      out += static_cast<char>(byte);
      continue;
    }
    out += static_cast<char>(0xC0 | (small >> 6));
    out += static_cast<char>(0x80 | (small & 0x3F));
    ++i;
  }
}

bool SameText(std::string_view a, std::string_view b, PathMatching rule) {
  if (!rule.ignoreCase) return a == b;
  return MatchingKey(a, rule) == MatchingKey(b, rule);
}

}  // namespace

std::string MatchingKey(std::string_view name, PathMatching rule) {
  if (!rule.ignoreCase) return std::string(name);
  std::string key;
  key.reserve(name.size());
  AppendFolded(name, key);
  return key;
}

std::string NormalPath(std::string_view path, char separator) {
  std::string normal;
  normal.reserve(path.size());
  for (const char c : path) {
    if (c == separator && !normal.empty() && normal.back() == separator) continue;
    normal += c;
  }
  if (normal.size() > 1 && normal.back() == separator) normal.pop_back();
  return normal;
}

bool NamesBelow(std::string_view ancestor, std::string_view path, PathMatching rule,
                std::vector<std::string>& names) {
  names.clear();
  if (path.size() < ancestor.size() || !SameText(ancestor, path.substr(0, ancestor.size()), rule))
    return false;
  std::string_view rest = path.substr(ancestor.size());
  const bool ancestorEndsNamed = !ancestor.empty() && ancestor.back() != rule.separator;
  if (!rest.empty() && ancestorEndsNamed) {
    if (rest.front() != rule.separator) return false;  // '/homes' is not below '/home'
    rest.remove_prefix(1);
  }
  while (!rest.empty()) {
    const std::size_t end = rest.find(rule.separator);
    names.emplace_back(rest.substr(0, end));
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  }
  return true;
}
