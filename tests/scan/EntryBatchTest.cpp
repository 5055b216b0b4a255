#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scan/EntryBatch.h"

namespace {

std::vector<std::string> NamesOf(const EntryBatch& batch) {
  std::vector<std::string> names;
  for (std::size_t i = 0; i < batch.Size(); ++i) names.emplace_back(batch.At(i).name);
  return names;
}

// Blocks go back to the memory and come out again for other batches, of
// every size: small ones, and one past the largest kept (256 long names).
TEST(EntryBatch, KeptMemoryHoldsEveryBatchWhole) {
  BatchMemory memory;
  EntryBatch::Builder builder;
  for (const std::size_t nameLength : {1u, 40u, 255u, 3u}) {
    for (int round = 0; round < 3; ++round) {
      std::vector<std::string> names;
      for (int i = 0; i < 256; ++i) {
        names.push_back(std::string(nameLength, static_cast<char>('a' + round)) + std::to_string(i));
        builder.Add(DirectoryEntry{names.back().c_str(), i % 2 == 0, static_cast<std::uint64_t>(i) << 40});
      }
      EntryBatch packed = builder.Pack(&memory);
      EXPECT_EQ(builder.Size(), 0u);
      EntryBatch batch = std::move(packed);
      EXPECT_EQ(packed.Size(), 0u);
      ASSERT_EQ(NamesOf(batch), names) << nameLength;
      EXPECT_TRUE(batch.At(254).isFolder);
      EXPECT_EQ(batch.At(255).size, std::uint64_t{255} << 40);
    }
  }
}

}  // namespace
