#include "scan/DisplayPath.h"

#include <vector>

namespace {

constexpr std::size_t kLongestElidedPath = 4096;
constexpr std::size_t kElidedPathHead = 1024;
constexpr char kElision[] = "\xe2\x80\xa6";  // U+2026

bool IsContinuationByte(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

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

std::string ElidedPath(std::string path) {
  if (path.size() <= kLongestElidedPath) return path;
  std::size_t head = kElidedPathHead;
  while (head > 0 && IsContinuationByte(path[head])) --head;
  std::size_t tail = path.size() - (kLongestElidedPath - kElidedPathHead);
  while (tail < path.size() && IsContinuationByte(path[tail])) ++tail;
  return path.substr(0, head) + kElision + path.substr(tail);
}
