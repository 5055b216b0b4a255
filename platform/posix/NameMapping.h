#pragma once
// Linux names may hold bytes that no path of the engine can carry (':' '\'
// '"' '|' '<' '>'). Each such byte travels as the private-use character
// U+F000 + byte, in UTF-8, so that every folder can be entered; the real
// name comes back for opening and for display. A real private-use
// character that would read as a mapped byte has its first byte mapped too,
// which keeps the mapping reversible for every name.

#include <string>
#include <string_view>

// False for the common name that reaches the engine unchanged.
bool NeedsMapping(std::string_view nativeName);
bool NeedsMapping(const char* nativeName);

// Native name to the engine's form, and back.
void MapNameInto(std::string_view nativeName, std::string& mapped);
std::string MapName(std::string_view nativeName);
void UnmapNameInto(std::string_view mappedName, std::string& native);
std::string UnmapName(std::string_view mappedName);
// False for the common name that the engine holds as it is.
bool NeedsUnmapping(std::string_view mappedName);
