#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scan/FolderStore.h"

namespace {

// Enough folders and name bytes to fill many chunks of both kinds, with names
// from one byte to far past what a chunk holds.
std::string NameOf(std::size_t i) {
  return std::string(1 + (i * 7919) % 9000, static_cast<char>('a' + i % 26));
}

}  // namespace

TEST(FolderStoreTest, RecordsAndNamesStayWhereTheyWereWhateverIsAddedOrAbsorbedLater) {
  FolderStore store;
  std::vector<FolderRecord*> records;
  for (std::size_t i = 0; i < 20000; ++i) {
    records.push_back(
        store.Add(NameOf(i).c_str(), i == 0 ? nullptr : records[i / 2], static_cast<std::uint32_t>(i)));
    records.back()->ownFiles = i;
  }
  FolderStore saved;
  FolderRecord* fromSaved = saved.Add("saved");
  store.Absorb(std::move(saved));
  EXPECT_EQ(saved.GetCount(), 0u);
  EXPECT_EQ(store.GetCount(), 20001u);
  store.Rename(*records[1], "renamed");
  store.Add("after");

  EXPECT_STREQ(fromSaved->name, "saved");
  EXPECT_STREQ(records[1]->name, "renamed");
  for (std::size_t i = 2; i < records.size(); ++i) {
    ASSERT_EQ(records[i]->name, NameOf(i)) << i;
    ASSERT_EQ(records[i]->ownFiles, i);
    ASSERT_EQ(records[i]->parent, records[i / 2]);
    ASSERT_EQ(records[i]->place, i);
  }
}
