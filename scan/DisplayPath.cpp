#include "scan/DisplayPath.h"

#include <vector>

namespace {

void AppendName(std::string& path, char separator, const CDynString& name) {
  if (path.empty() || path.back() != separator) path += separator;
  path += TextOrEmpty(name);
}

// The folder's path, and the separator its drive's form asks for.
std::string PathAndSeparator(const FolderRecord& folder, const DisplayText& display, char& separator) {
  std::vector<const FolderRecord*> chain;  // the drive last
  for (const FolderRecord* step = &folder; step != nullptr; step = step->parent) chain.push_back(step);
  std::string path = TextOrEmpty(display.ForName(chain.back()->name, true));
  const bool posix = path.find('/') != std::string::npos && path.find('\\') == std::string::npos;
  separator = posix ? '/' : '\\';
  for (std::size_t i = chain.size() - 1; i-- > 0;)
    AppendName(path, separator, display.ForName(chain[i]->name, false));
  return path;
}

}  // namespace

std::string DisplayPathOf(const FolderRecord& folder, const char* fileName, const DisplayText& display) {
  char separator = '\\';
  std::string path = PathAndSeparator(folder, display, separator);
  AppendName(path, separator, display.ForName(fileName, false));
  return path;
}

std::string DisplayPathOf(const FolderRecord& folder, const DisplayText& display) {
  char separator = '\\';
  return PathAndSeparator(folder, display, separator);
}
