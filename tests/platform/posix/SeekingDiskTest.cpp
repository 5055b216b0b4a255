#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "platform/posix/SeekingDisk.h"
#include "tests/platform/posix/TempTree.h"

namespace {

// A sysfs of our own: block devices where the kernel puts them, with the
// links the kernel makes to them.
class FakeSysfs {
 public:
  FakeSysfs() {
    for (const char* folder : {"dev", "dev/block", "class", "class/block", "devices"}) m_tree.Folder(folder);
  }

  // A disk (or partition, or stacked device) at devicePath below devices/.
  void Device(const std::string& devicePath, const std::string& number, const char* rotational) {
    std::string made = "devices";
    std::string rest = devicePath;
    while (!rest.empty()) {
      const std::size_t slash = rest.find('/');
      made += "/" + rest.substr(0, slash);
      m_tree.Folder(made);
      rest = slash == std::string::npos ? std::string() : rest.substr(slash + 1);
    }
    const std::string name = devicePath.substr(devicePath.rfind('/') + 1);
    if (rotational != nullptr) {
      m_tree.Folder(made + "/queue");
      Write(made + "/queue/rotational", rotational);
    }
    ::symlinkat(("../../" + made).c_str(), m_tree.Fd(), ("dev/block/" + number).c_str());
    ::symlinkat(("../../" + made).c_str(), m_tree.Fd(), ("class/block/" + name).c_str());
  }
  void Partition(const std::string& devicePath, const std::string& number) {
    Device(devicePath, number, nullptr);
    Write("devices/" + devicePath + "/partition", "1\n");
  }
  void StackedOn(const std::string& devicePath, const std::string& below) {
    m_tree.Folder("devices/" + devicePath + "/slaves");
    m_tree.Folder("devices/" + devicePath + "/slaves/" + below);
  }

  bool Seeks(unsigned major, unsigned minor) const {
    return IsSeekingBlockDevice(m_tree.Path(), major, minor);
  }

 private:
  void Write(const std::string& relative, const std::string& text) {
    UniqueFd file(::openat(m_tree.Fd(), relative.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    ASSERT_EQ(::write(file.Get(), text.data(), text.size()), static_cast<ssize_t>(text.size()));
  }
  TempTree m_tree;
};

TEST(SeekingDisk, ARotatingDiskSeeksThroughItsPartitionsAndTheDevicesOnThem) {
  FakeSysfs sys;
  sys.Device("pci0000:00/0000:00:1f.2/ata1/host0/target0:0:0/0:0:0:0/block/sda", "8:0", "1\n");
  sys.Partition("pci0000:00/0000:00:1f.2/ata1/host0/target0:0:0/0:0:0:0/block/sda/sda2", "8:2");
  sys.Device("virtual/block/dm-0", "253:0", "0\n");
  sys.StackedOn("virtual/block/dm-0", "sda2");
  EXPECT_TRUE(sys.Seeks(8, 0));
  EXPECT_TRUE(sys.Seeks(8, 2));
  EXPECT_TRUE(sys.Seeks(253, 0));
}

TEST(SeekingDisk, SolidStateDisksDoNotSeekNorDoStacksOfThem) {
  FakeSysfs sys;
  sys.Device("pci0000:00/0000:00:1d.0/0000:3d:00.0/nvme/nvme0/nvme0n1", "259:0", "0\n");
  sys.Partition("pci0000:00/0000:00:1d.0/0000:3d:00.0/nvme/nvme0/nvme0n1/nvme0n1p3", "259:3");
  sys.Device("virtual/block/md0", "9:0", "0\n");
  sys.StackedOn("virtual/block/md0", "nvme0n1p3");
  EXPECT_FALSE(sys.Seeks(259, 3));
  EXPECT_FALSE(sys.Seeks(9, 0));
}

TEST(SeekingDisk, VirtualDisksThatClaimToRotateAreNotBelieved) {
  FakeSysfs sys;
  sys.Device("pci0000:00/0000:00:02.0/virtio1/block/vda", "254:0", "1\n");
  sys.Device("vbd-51712/block/xvda", "202:0", "1\n");
  sys.Device("virtual/block/loop0", "7:0", "1\n");
  EXPECT_FALSE(sys.Seeks(254, 0));
  EXPECT_FALSE(sys.Seeks(202, 0));
  EXPECT_FALSE(sys.Seeks(7, 0));
}

TEST(SeekingDisk, AnUnknownDeviceDoesNotSeek) {
  FakeSysfs sys;
  EXPECT_FALSE(sys.Seeks(0, 42));  // btrfs and network file systems have no block device
  EXPECT_FALSE(IsOnSeekingDisk("/proc"));
}

}  // namespace
