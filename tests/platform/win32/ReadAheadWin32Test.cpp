// The Windows lister read ahead on several threads gives the walk what it
// lists on one; the seek-penalty question goes to the volume's device.

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "platform/Platform.h"
#include "platform/win32/SeekingDisk.h"
#include "scan/FolderRecord.h"
#include "scan/FolderStore.h"
#include "scan/MemoryTree.h"
#include "scan/ScanEngine.h"
#include "tests/platform/win32/TempFolder.h"

namespace {

std::string ScanWith(const std::string& folder, unsigned threads) {
  PlatformServices services;
  std::string error;
  ListingOptions listing;
  listing.threads = threads;
  if (!OpenFolders({folder}, services, error, listing)) return error;
  FolderStore folders;
  MemoryTree tree;
  ScanJob job{*services.fileSystem, folders, tree};
  ScanDrives(job);
  std::ostringstream text;
  for (TreeItem item = 1; item <= tree.GetCount(); ++item)
    text << tree.GetParentItem(item) << ' ' << tree.GetItemText(item) << ' ' << tree.GetItemData(item)->size
         << '\n';
  text << job.summary.unreadableFolders;
  return text.str();
}

TEST(ReadAheadWin32, SeveralThreadsListWhatOneLists) {
  TempFolder temp;
  for (int i = 0; i < 30; ++i) {
    const std::string folder = temp / ("f" + std::to_string(i));
    ASSERT_TRUE(MakeFolder(folder));
    ASSERT_TRUE(MakeFolder(folder + u8"\\ünï " + std::to_string(i)));
    for (int f = 0; f < 5; ++f) ASSERT_TRUE(MakeFile(folder + "\\x" + std::to_string(f), i * 10 + f));
  }
  const std::string serial = ScanWith(temp.Path(), 1);
  EXPECT_EQ(ScanWith(temp.Path(), 4), serial);
  EXPECT_EQ(ScanWith(temp.Path(), 16), serial);
}

TEST(ReadAheadWin32, TheSeekPenaltyIsAskedOfTheVolumesDevice) {
  EXPECT_EQ(VolumeDeviceOf(L"C:\\"), L"\\\\.\\C:");
  EXPECT_EQ(VolumeDeviceOf(L"\\\\?\\C:\\"), L"\\\\.\\C:");
  EXPECT_EQ(VolumeDeviceOf(L"\\\\?\\Volume{01234567-89ab-cdef-0123-456789abcdef}\\"),
            L"\\\\?\\Volume{01234567-89ab-cdef-0123-456789abcdef}");
}

}  // namespace
