#include "scan/DisplayPath.h"

#include <vector>

namespace {

void AppendName(std::string& path, char separator, const char* name, const DisplayText& display) {
  if (path.empty() || path.back() != separator) path += separator;
  display.AppendName(name, false, path);
}

// The folder's path, and the separator its drive's form asks for.
std::string PathAndSeparator(const FolderRecord& folder, const DisplayText& display, char& separator) {
  std::vector<const FolderRecord*> chain;  // the drive last
  for (const FolderRecord* step = &folder; step != nullptr; step = step->parent) chain.push_back(step);
  std::string path = TextOrEmpty(display.ForName(chain.back()->name, true));
  separator = path.find('\\') != std::string::npos  ? '\\'
              : path.find('/') != std::string::npos ? '/'
                                                    : display.PathSeparator();
  for (std::size_t i = chain.size() - 1; i-- > 0;) AppendName(path, separator, chain[i]->name, display);
  return path;
}

}  // namespace

std::string DisplayPathOf(const FolderRecord& folder, const char* fileName, const DisplayText& display) {
  char separator = '\\';
  std::string path = PathAndSeparator(folder, display, separator);
  AppendName(path, separator, fileName, display);
  return path;
}

std::string DisplayPathOf(const FolderRecord& folder, const DisplayText& display) {
  char separator = '\\';
  return PathAndSeparator(folder, display, separator);
}
