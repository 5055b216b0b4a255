#include "platform/posix/TextFile.h"

#include <cstdio>

bool ReadWholeFile(const std::string& path, std::string& text) {
  text.clear();
  std::FILE* file = std::fopen(path.c_str(), "re");
  if (file == nullptr) return false;
  char buffer[16384];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
  std::fclose(file);
  return true;
}
