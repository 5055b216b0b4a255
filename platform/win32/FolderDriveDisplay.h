#pragma once
#include <utility>

#include "scan/DisplayText.h"
#include "scan/DriveTable.h"

// Names as they are, except that a folder standing in for a drive shows as
// the user gave it rather than as its letter.
class FolderDriveDisplay : public DisplayText {
 public:
  explicit FolderDriveDisplay(DriveTable folders) : m_folders(std::move(folders)) {}
  CDynString ForName(const char* name, bool isDrive) const override;

 private:
  DriveTable m_folders;
};
