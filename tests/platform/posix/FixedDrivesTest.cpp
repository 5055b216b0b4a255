#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/posix/FixedDrives.h"

namespace {

// One mountinfo line: id, parent, device, root, mount point, type.
std::string Line(int id, int parent, const char* device, const char* root, const char* mountPoint,
                 const char* type) {
  return std::to_string(id) + " " + std::to_string(parent) + " " + device + " " + root + " " + mountPoint +
         " rw,relatime shared:1 - " + type + " /dev/src rw\n";
}

const std::string kPseudo =
    Line(22, 27, "0:21", "/", "/proc", "proc") + Line(23, 27, "0:22", "/", "/sys", "sysfs") +
    Line(24, 27, "0:6", "/", "/dev", "devtmpfs") + Line(25, 24, "0:23", "/", "/dev/shm", "tmpfs") +
    Line(26, 24, "0:24", "/", "/dev/pts", "devpts") + Line(31, 23, "0:28", "/", "/sys/fs/cgroup", "cgroup2") +
    Line(32, 27, "0:29", "/", "/run", "tmpfs") + Line(33, 32, "0:30", "/", "/run/user/0", "ramfs") +
    Line(34, 24, "0:31", "/", "/dev/mqueue", "mqueue");
const std::string kRoot = Line(27, 1, "8:1", "/", "/", "ext4");

struct DriveCase {
  const char* name;
  std::string mountInfo;
  std::vector<std::string> drives;  // mount points, in letter order
};

const DriveCase kDriveCases[] = {
    {"PseudoAndMemoryFileSystemsAreLeftOut", kRoot + kPseudo, {"/"}},
    {"DisksSortByMountPoint",
     kRoot + Line(40, 27, "8:3", "/", "/home", "xfs") + Line(41, 27, "8:2", "/", "/boot", "ext2") +
         Line(42, 40, "8:4", "/", "/home/x", "f2fs") + Line(43, 27, "8:5", "/", "/home-old", "vfat"),
     {"/", "/boot", "/home", "/home/x", "/home-old"}},
    {"ImagesAndNetworkFileSystemsAreLeftOut",
     kRoot + Line(40, 27, "7:0", "/", "/snap/core/1", "squashfs") +
         Line(41, 27, "11:0", "/", "/media/cd", "iso9660") + Line(42, 27, "0:40", "/", "/net/a", "nfs4") +
         Line(43, 27, "0:41", "/", "/net/b", "cifs") + Line(44, 27, "0:42", "/", "/net/c", "fuse.sshfs") +
         Line(45, 27, "0:43", "/", "/net/d", "9p"),
     {"/"}},
    {"BindMountOfAFolderIsLeftOut", kRoot + Line(40, 27, "8:1", "/srv/www", "/var/www", "ext4"), {"/"}},
    {"RepeatedMountIsKeptOnce",
     kRoot + Line(40, 27, "8:2", "/", "/mnt/a", "ext4") + Line(41, 27, "8:2", "/", "/mnt/b", "ext4"),
     {"/", "/mnt/a"}},
    // Listed before the mount of the whole disk, a bind mount still goes.
    {"BindMountListedFirstIsLeftOut",
     Line(40, 27, "8:2", "/sub", "/aaa", "ext4") + kRoot + Line(41, 27, "8:2", "/", "/zzz", "ext4"),
     {"/", "/zzz"}},
    // Bound onto itself, the folder is a mount point the walk of / stops at.
    {"FolderBoundOntoItselfIsKept", kRoot + Line(40, 27, "8:1", "/data", "/data", "ext4"), {"/", "/data"}},
    {"BtrfsSubvolumesMountedApartAreEachADrive",
     Line(27, 1, "0:33", "/@", "/", "btrfs") + Line(40, 27, "0:33", "/@home", "/home", "btrfs") +
         Line(41, 27, "0:33", "/@/var/log", "/mnt/log", "btrfs"),
     {"/", "/home"}},
    {"OverlayCountsAtTheRootOnly",
     Line(27, 1, "0:50", "/", "/", "overlay") +
         Line(40, 27, "0:51", "/", "/var/lib/docker/overlay2/x/merged", "overlay"),
     {"/"}},
    {"MountPointsAreUnescaped",
     kRoot + Line(40, 27, "8:2", "/", "/mnt/my\\040disk\\011tab", "ext4"),
     {"/", "/mnt/my disk\ttab"}},
    {"RemovableDevicesAreLeftOut", kRoot + Line(40, 27, "8:17", "/", "/media/usb", "vfat"), {"/"}},
    {"MountHiddenUnderAnotherIsLeftOut",
     kRoot + Line(40, 27, "8:2", "/", "/mnt/a", "ext4") + Line(41, 40, "8:3", "/", "/mnt/a", "ext4") +
         Line(42, 27, "8:4", "/", "/mnt/b/c", "ext4") + Line(43, 27, "8:5", "/", "/mnt/b", "ext4"),
     {"/", "/mnt/a", "/mnt/b"}},
    {"MalformedLinesAreSkipped", "garbage\n\n1 2 3\n" + kRoot + "40 27 8:2 / /x rw - \n", {"/"}},
};

void PrintTo(const DriveCase& c, std::ostream* out) { *out << c.name; }

class FixedDrivesTest : public ::testing::TestWithParam<DriveCase> {};

bool RemovableFor(unsigned major, unsigned minor) { return major == 8 && minor >= 16 && minor < 32; }

TEST_P(FixedDrivesTest, KeepsEachLocalDiskOnce) {
  const DriveSet set = FixedDrivesFromMountInfo(GetParam().mountInfo, RemovableFor);
  std::vector<std::string> mountPoints;
  char letter = 'C';
  for (const DriveRoot& drive : set.table.Drives()) {
    EXPECT_EQ(drive.letter, letter++);
    EXPECT_EQ(drive.nativeRoot, drive.display);
    mountPoints.push_back(drive.nativeRoot);
  }
  EXPECT_EQ(mountPoints, GetParam().drives);
  EXPECT_EQ(set.innerMounts.size(), mountPoints.size());
}

INSTANTIATE_TEST_SUITE_P(MountTables, FixedDrivesTest, ::testing::ValuesIn(kDriveCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FixedDrives, StopAtTheLastLetter) {
  std::string mountInfo = kRoot;
  for (int i = 0; i < 30; ++i) {
    const std::string device = "9:" + std::to_string(i);
    const std::string point = "/disk" + std::to_string(100 + i);
    mountInfo += Line(40 + i, 27, device.c_str(), "/", point.c_str(), "xfs");
  }
  const DriveSet set = FixedDrivesFromMountInfo(mountInfo, nullptr);
  ASSERT_EQ(set.table.Drives().size(), 24u);
  EXPECT_EQ(set.table.Drives().front().nativeRoot, "/");
  EXPECT_EQ(set.table.Drives().back().letter, 'Z');
  EXPECT_EQ(set.table.Drives().back().nativeRoot, "/disk122");
  EXPECT_EQ(set.table.Mask(), 0x03FFFFFCu);
}

TEST(FixedDrives, MountPointsInsideADriveAreListedInTheEnginesForm) {
  const std::string mountInfo = kRoot + kPseudo + Line(40, 27, "8:3", "/", "/home", "xfs") +
                                Line(41, 40, "0:60", "/", "/home/u/a:b\\040c", "tmpfs") +
                                Line(42, 27, "8:4", "/", "/mnt/hidden", "ext4") +
                                Line(43, 42, "8:5", "/", "/mnt/hidden", "ext4");
  const DriveSet set = FixedDrivesFromMountInfo(mountInfo, nullptr);
  ASSERT_EQ(set.table.Drives().size(), 3u);
  const InnerMounts expectedRoot = {"proc",
                                    "sys",
                                    "sys\\fs\\cgroup",
                                    "dev",
                                    "dev\\shm",
                                    "dev\\pts",
                                    "dev\\mqueue",
                                    "run",
                                    "run\\user\\0",
                                    "home",
                                    "home\\u\\a\xEF\x80\xBA"
                                    "b c",
                                    "mnt\\hidden"};
  EXPECT_EQ(set.innerMounts[0], expectedRoot);
  EXPECT_EQ(set.innerMounts[1], InnerMounts{"u\\a\xEF\x80\xBA"
                                            "b c"});
  EXPECT_TRUE(set.innerMounts[2].empty());
}

TEST(MountInfo, UnescapesOctalAndLeavesTheRest) {
  EXPECT_EQ(UnescapeMountField("a\\040b\\134c\\012d"), "a b\\c\nd");
  EXPECT_EQ(UnescapeMountField("x\\04"), "x\\04");
  EXPECT_EQ(UnescapeMountField("x\\9ab"), "x\\9ab");
}

}  // namespace
