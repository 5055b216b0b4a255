#include "platform/posix/NameMapping.h"

#include <array>

namespace {

// U+F000 + b is EF, 80 + (b >> 6), 80 + (b & 0x3F) in UTF-8.
constexpr unsigned char kLead = 0xEF;
constexpr unsigned kPrivateBase = 0xF000;

// Bytes that travel mapped. kLead is one of them only where it begins a
// sequence the reverse mapping would take for a mapped byte.
constexpr bool IsEscapedByte(unsigned char c) {
  return c == ':' || c == '\\' || c == '"' || c == '|' || c == '<' || c == '>';
}

constexpr std::array<bool, 256> MakeEscapedTable() {
  std::array<bool, 256> table{};
  for (unsigned c = 0; c < 256; ++c) table[c] = IsEscapedByte(static_cast<unsigned char>(c));
  return table;
}
constexpr std::array<bool, 256> kEscaped = MakeEscapedTable();

// The bytes a scan of a name must stop at: its end, and any byte that may be mapped.
constexpr std::array<bool, 256> MakeStopTable() {
  std::array<bool, 256> table = MakeEscapedTable();
  table[0] = true;
  table[kLead] = true;
  return table;
}
constexpr std::array<bool, 256> kStop = MakeStopTable();

void AppendMapped(unsigned char byte, std::string& out) {
  const unsigned code = kPrivateBase + byte;
  out += static_cast<char>(0xE0 | (code >> 12));
  out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
  out += static_cast<char>(0x80 | (code & 0x3F));
}

// The byte a three-byte sequence at text[i] stands for, or -1 when it is
// not the mapped form of a byte.
int MappedByteAt(std::string_view text, std::size_t i) {
  if (i + 3 > text.size() || static_cast<unsigned char>(text[i]) != kLead) return -1;
  const unsigned char second = static_cast<unsigned char>(text[i + 1]);
  const unsigned char third = static_cast<unsigned char>(text[i + 2]);
  if ((second & 0xC0) != 0x80 || (third & 0xC0) != 0x80) return -1;
  const unsigned code = 0xF000u | ((second & 0x3Fu) << 6) | (third & 0x3Fu);
  if (code < kPrivateBase || code > kPrivateBase + 0xFF) return -1;
  const unsigned char byte = static_cast<unsigned char>(code - kPrivateBase);
  return kEscaped[byte] || byte == kLead ? byte : -1;
}

bool MustMapAt(std::string_view name, std::size_t i) {
  const unsigned char c = static_cast<unsigned char>(name[i]);
  return kEscaped[c] || (c == kLead && MappedByteAt(name, i) >= 0);
}

}  // namespace

bool NeedsMapping(std::string_view nativeName) {
  for (std::size_t i = 0; i < nativeName.size(); ++i) {
    if (MustMapAt(nativeName, i)) return true;
  }
  return false;
}

// Every name a listing returns passes here: one table lookup a byte, and no
// strlen first, until a byte that may be mapped.
bool NeedsMapping(const char* nativeName) {
  const char* at = nativeName;
  for (;;) {
    while (!kStop[static_cast<unsigned char>(*at)]) ++at;
    if (*at == '\0') return false;
    const std::string_view rest(at);
    if (MustMapAt(rest, 0)) return true;
    ++at;
  }
}

void MapNameInto(std::string_view nativeName, std::string& mapped) {
  mapped.clear();
  for (std::size_t i = 0; i < nativeName.size(); ++i) {
    if (MustMapAt(nativeName, i)) {
      AppendMapped(static_cast<unsigned char>(nativeName[i]), mapped);
    } else {
      mapped += nativeName[i];
    }
  }
}

std::string MapName(std::string_view nativeName) {
  std::string mapped;
  MapNameInto(nativeName, mapped);
  return mapped;
}

void UnmapNameInto(std::string_view mappedName, std::string& native) {
  native.clear();
  for (std::size_t i = 0; i < mappedName.size(); ++i) {
    const int byte = MappedByteAt(mappedName, i);
    if (byte >= 0) {
      native += static_cast<char>(byte);
      i += 2;
    } else {
      native += mappedName[i];
    }
  }
}

std::string UnmapName(std::string_view mappedName) {
  std::string native;
  UnmapNameInto(mappedName, native);
  return native;
}

bool NeedsUnmapping(std::string_view mappedName) {
  for (std::size_t i = mappedName.find(static_cast<char>(kLead)); i != std::string_view::npos;
       i = mappedName.find(static_cast<char>(kLead), i + 1)) {
    if (MappedByteAt(mappedName, i) >= 0) return true;
  }
  return false;
}
