#include "platform/posix/PosixDisplayText.h"

#include "platform/posix/NameMapping.h"

PosixDisplayText::PosixDisplayText(std::shared_ptr<const DriveSet> drives) : m_drives(std::move(drives)) {}

CDynString PosixDisplayText::ForName(const char* name, bool isDrive) const {
  std::string shown;
  AppendName(name, isDrive, shown);
  return CDynString(shown.c_str(), AllocHeap);
}

void PosixDisplayText::AppendName(const char* name, bool isDrive, std::string& out) const {
  if (isDrive) {
    const DriveRoot* drive = m_drives->table.Find(name);
    if (drive != nullptr) {
      out += drive->display;
      return;
    }
  }
  if (NeedsUnmapping(name)) {
    out += UnmapName(name);
  } else {
    out += name;
  }
}

std::string PosixDisplayText::RecordName(std::string_view realName) const { return MapName(realName); }
