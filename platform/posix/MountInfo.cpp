#include "platform/posix/MountInfo.h"

#include "platform/posix/TextFile.h"

namespace {

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  while (start < line.size()) {
    const std::size_t end = line.find(' ', start);
    const std::size_t stop = end == std::string_view::npos ? line.size() : end;
    if (stop > start) fields.push_back(line.substr(start, stop - start));
    start = stop + 1;
  }
  return fields;
}

bool ParseInt(std::string_view text, int& value) {
  if (text.empty() || text.size() > 9) return false;
  value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return true;
}

bool ParseDevice(std::string_view text, unsigned& major, unsigned& minor) {
  const std::size_t colon = text.find(':');
  int high = 0;
  int low = 0;
  if (colon == std::string_view::npos || !ParseInt(text.substr(0, colon), high) ||
      !ParseInt(text.substr(colon + 1), low)) {
    return false;
  }
  major = static_cast<unsigned>(high);
  minor = static_cast<unsigned>(low);
  return true;
}

bool IsOctal(char c) { return c >= '0' && c <= '7'; }

// Fields: id parent major:minor root mount-point options [optional...] - type source super-options
bool ParseLine(std::string_view line, MountEntry& entry) {
  const std::vector<std::string_view> fields = SplitFields(line);
  std::size_t separator = 6;
  while (separator < fields.size() && fields[separator] != "-") ++separator;
  if (separator + 1 >= fields.size()) return false;
  if (!ParseInt(fields[0], entry.id) || !ParseInt(fields[1], entry.parentId) ||
      !ParseDevice(fields[2], entry.major, entry.minor)) {
    return false;
  }
  entry.root = UnescapeMountField(fields[3]);
  entry.mountPoint = UnescapeMountField(fields[4]);
  entry.fsType = UnescapeMountField(fields[separator + 1]);
  return !entry.mountPoint.empty() && entry.mountPoint[0] == '/';
}

}  // namespace

std::string UnescapeMountField(std::string_view field) {
  std::string text;
  text.reserve(field.size());
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size() && IsOctal(field[i + 1]) && IsOctal(field[i + 2]) &&
        IsOctal(field[i + 3])) {
      text +=
          static_cast<char>(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) | (field[i + 3] - '0'));
      i += 3;
    } else {
      text += field[i];
    }
  }
  return text;
}

std::vector<MountEntry> ParseMountInfo(std::string_view text) {
  std::vector<MountEntry> entries;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    MountEntry entry;
    if (ParseLine(text.substr(start, end - start), entry)) entries.push_back(std::move(entry));
    start = end + 1;
  }
  return entries;
}

std::string ReadMountInfo() {
  std::string text;
  ReadWholeFile("/proc/self/mountinfo", text);
  return text;
}

bool IsSameOrBelow(std::string_view path, std::string_view folder) {
  if (folder == "/") return !path.empty() && path[0] == '/';
  if (path.size() < folder.size() || path.compare(0, folder.size(), folder) != 0) return false;
  return path.size() == folder.size() || path[folder.size()] == '/';
}

bool IsStrictlyBelow(std::string_view path, std::string_view folder) {
  return path != folder && IsSameOrBelow(path, folder);
}
