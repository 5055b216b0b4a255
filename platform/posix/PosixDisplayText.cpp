#include "platform/posix/PosixDisplayText.h"

#include "platform/posix/NameMapping.h"

PosixDisplayText::PosixDisplayText(std::shared_ptr<const DriveSet> drives) : m_drives(std::move(drives)) {}

CDynString PosixDisplayText::ForName(const char* name, bool isDrive) const {
  if (isDrive) {
    const DriveRoot* drive = m_drives->table.Find(name);
    if (drive != nullptr) return CDynString(drive->display.c_str(), AllocHeap);
  }
  if (!NeedsUnmapping(name)) return CDynString(name, AllocHeap);
  return CDynString(UnmapName(name).c_str(), AllocHeap);
}

std::string PosixDisplayText::RecordName(std::string_view realName) const { return MapName(realName); }
