#include "platform/posix/NativePath.h"

#include "platform/posix/NameMapping.h"

std::string NativePathOf(const DriveTable& drives, const CPath& folder) {
  if (folder.GetCount() == 0) return std::string();
  const DriveRoot* drive = drives.Find(TextOrEmpty(folder.GetComponent(0).GetName()));
  if (drive == nullptr) return std::string();
  std::string path = drive->nativeRoot;
  for (std::uint32_t i = 1; i < folder.GetCount(); ++i) {
    if (path.empty() || path.back() != '/') path += '/';
    path += UnmapName(TextOrEmpty(folder.GetComponent(i).GetName()));
  }
  return path;
}
