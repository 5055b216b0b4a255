#include "platform/win32/FolderDriveDisplay.h"

CDynString FolderDriveDisplay::ForName(const char* name, bool isDrive) const {
  const DriveRoot* drive = isDrive ? m_folders.Find(name) : nullptr;
  return CDynString(drive != nullptr ? drive->display.c_str() : name, AllocHeap);
}
