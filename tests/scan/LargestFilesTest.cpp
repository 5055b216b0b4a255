#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "scan/LargestFiles.h"

namespace {

struct Offered {
  std::uint64_t size;
  int order;
};

}  // namespace

// Against a full sort of everything offered: the kept files are the largest,
// equal sizes the first offered, whatever the order they come in.
TEST(LargestFilesTest, KeepsTheLargestOfAnyStreamLargestFirstEqualSizesAsOffered) {
  std::mt19937 random(11);
  FolderRecord folder;
  for (const std::size_t kept : {std::size_t{0}, std::size_t{1}, std::size_t{5}, std::size_t{100}}) {
    LargestFiles largest(kept);
    std::vector<Offered> offered;
    for (int i = 0; i < 2000; ++i) {
      const std::uint64_t size = random() % 300;  // many equal sizes
      offered.push_back({size, i});
      largest.Offer(size, folder, std::to_string(i).c_str());
    }
    std::stable_sort(offered.begin(), offered.end(),
                     [](const Offered& a, const Offered& b) { return a.size > b.size; });
    offered.resize(std::min(offered.size(), kept));
    std::vector<std::string> expected;
    for (const Offered& file : offered) expected.push_back(std::to_string(file.order));
    std::vector<std::string> got;
    for (const LargeFile* file : largest.Sorted()) got.push_back(file->name);
    EXPECT_EQ(got, expected) << kept << " kept";
  }
}

TEST(LargestFilesTest, AFolderScannedAgainLosesTheFilesBelowItAndNoOthers) {
  FolderRecord drive, refreshed, inside, sibling;
  refreshed.parent = &drive;
  inside.parent = &refreshed;
  sibling.parent = &drive;
  LargestFiles largest(10);
  largest.Offer(1, drive, "on the drive");
  largest.Offer(2, refreshed, "in it");
  largest.Offer(3, inside, "below it");
  largest.Offer(4, sibling, "beside it");
  largest.RemoveBelow(refreshed);
  std::vector<std::string> left;
  for (const LargeFile* file : largest.Sorted()) left.push_back(file->name);
  EXPECT_EQ(left, (std::vector<std::string>{"beside it", "on the drive"}));
  largest.Offer(5, inside, "new");
  EXPECT_EQ(largest.Sorted().front()->name, "new");
}
