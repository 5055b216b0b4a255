#include "platform/Utf8File.h"

// Linux paths are bytes, and UTF-8 names are simply their bytes.
std::FILE* OpenUtf8File(const std::string& path, const char* mode) { return std::fopen(path.c_str(), mode); }
