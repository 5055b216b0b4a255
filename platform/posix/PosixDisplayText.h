#pragma once
// What the user sees: a drive's mount point ('/', '/home') or the folder as
// it was given, and every other name in its real characters.

#include <memory>

#include "platform/posix/DriveSet.h"
#include "scan/DisplayText.h"

class PosixDisplayText : public DisplayText {
 public:
  explicit PosixDisplayText(std::shared_ptr<const DriveSet> drives);
  CDynString ForName(const char* name, bool isDrive) const override;
  void AppendName(const char* name, bool isDrive, std::string& out) const override;
  std::string RecordName(std::string_view realName) const override;
  char PathSeparator() const override { return '/'; }

 private:
  std::shared_ptr<const DriveSet> m_drives;
};
