// The mount table's parser and the choice of fixed drives made from it.
// Must hold: any text is parsed without a crash; malformed lines are left
// out; never more drives than letters; no two mount points lie each
// below the other.

#include "platform/posix/FixedDrives.h"
#include "platform/posix/MountInfo.h"
#include "tests/fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::vector<MountEntry> mounts = ParseMountInfo(text);
  for (const MountEntry& mount : mounts) {
    FUZZ_CHECK(mount.id >= 0 && mount.parentId >= 0);
    FUZZ_CHECK(mount.mountPoint.size() <= text.size() && mount.root.size() <= text.size());
  }
  FUZZ_CHECK(UnescapeMountField(text).size() <= text.size());

  // Odd majors stand for removable devices.
  const DriveSet drives =
      FixedDrivesFromMountInfo(text, [](unsigned major, unsigned) { return major % 2 == 1; });
  FUZZ_CHECK(drives.innerMounts.size() <= DriveTable::kMaxDrives);
  for (const MountEntry& mount : mounts) {
    MountsInside(mounts, mount.mountPoint);
    IsHiddenMount(mount, mounts);
  }
  for (std::size_t i = 0; i < mounts.size() && i < 50; ++i) {
    for (std::size_t j = 0; j < mounts.size() && j < 50; ++j) {
      const std::string& a = mounts[i].mountPoint;
      const std::string& b = mounts[j].mountPoint;
      FUZZ_CHECK(!(IsStrictlyBelow(a, b) && IsStrictlyBelow(b, a)));
      FUZZ_CHECK(!IsStrictlyBelow(a, b) || IsSameOrBelow(a, b));
    }
  }
  return 0;
}
