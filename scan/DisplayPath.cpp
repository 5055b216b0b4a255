#include "scan/DisplayPath.h"

#include <vector>

namespace {

void AppendName(std::string& path, char separator, const CDynString& name) {
  if (path.empty() || path.back() != separator) path += separator;
  path += TextOrEmpty(name);
}

}  // namespace

std::string DisplayPathOf(const FolderRecord& folder, const char* fileName, const DisplayText& display) {
  std::vector<const FolderRecord*> chain;  // the drive last
  for (const FolderRecord* step = &folder; step != nullptr; step = step->parent) chain.push_back(step);
  std::string path = TextOrEmpty(display.ForName(chain.back()->name, true));
  const char separator = path.find('\\') != std::string::npos  ? '\\'
                         : path.find('/') != std::string::npos ? '/'
                                                               : display.PathSeparator();
  for (std::size_t i = chain.size() - 1; i-- > 0;)
    AppendName(path, separator, display.ForName(chain[i]->name, false));
  AppendName(path, separator, display.ForName(fileName, false));
  return path;
}
