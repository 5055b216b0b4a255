#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/InsertionBatch.h"
#include "scan/FolderStore.h"

namespace {

// Keeps what it is handed, as the GUI side would before carrying it out.
class KeepingSink : public BatchSink {
 public:
  void Deliver(std::unique_ptr<InsertionBatch> batch) override { batches.push_back(std::move(batch)); }

  std::vector<std::string> Describe() const {
    std::vector<std::string> lines;
    for (const auto& batch : batches) {
      std::string line;
      for (const PendingInsertion& pending : *batch) {
        line += std::to_string(pending.item) + "<" + std::to_string(pending.parent) + ":" +
                pending.record->name + " ";
      }
      lines.push_back(line);
    }
    return lines;
  }

  std::vector<std::unique_ptr<InsertionBatch>> batches;
  FolderStore folders;
};

const std::chrono::milliseconds kNoDelayLimit(3600 * 1000);

}  // namespace

TEST(BatchingInserterTest, HandsOutHandlesInOrderAndDeliversFullBatchesThenTheRestOnFlush) {
  KeepingSink sink;
  BatchingInserter inserter(sink, 2, kNoDelayLimit);
  const InsertedItem drive = inserter.Insert(kTopLevel, "C:", sink.folders.Add("C:"));
  const InsertedItem a = inserter.Insert(drive, "a", sink.folders.Add("a"));
  inserter.Insert(a, "b", sink.folders.Add("b"));
  EXPECT_EQ(sink.Describe(), (std::vector<std::string>{"1<0:C: 2<1:a "}));

  inserter.Flush();
  inserter.Flush();  // nothing left: no empty batch
  EXPECT_EQ(sink.Describe(), (std::vector<std::string>{"1<0:C: 2<1:a ", "3<2:b "}));
}

TEST(BatchingInserterTest, ABatchThatHasWaitedTooLongGoesAtTheNextInsertion) {
  KeepingSink sink;
  BatchingInserter inserter(sink, 1000, std::chrono::milliseconds(0));
  inserter.Insert(kTopLevel, "C:", sink.folders.Add("C:"));
  inserter.Insert(1, "a", sink.folders.Add("a"));
  EXPECT_EQ(sink.Describe(), (std::vector<std::string>{"1<0:C: ", "2<1:a "}));
}

TEST(BatchingInserterTest, WhatIsStillBufferedIsDeliveredWhenTheInserterGoes) {
  KeepingSink sink;
  {
    BatchingInserter inserter(sink, 1000, kNoDelayLimit);
    inserter.Insert(kTopLevel, "C:", sink.folders.Add("C:"));
  }
  EXPECT_EQ(sink.Describe(), (std::vector<std::string>{"1<0:C: "}));
}

TEST(InsertedItemMapTest, ResolvesEachHandleToItsNativeItemAndTheTopLevelToItsOwn) {
  InsertedItemMap<int> items(-1);
  items.Add(1, 10);
  items.Add(2, 20);
  items.Add(5, 50);  // out of order: refused
  EXPECT_EQ(items.Resolve(kTopLevel), -1);
  EXPECT_EQ(items.Resolve(2), 20);
  EXPECT_EQ(items.Resolve(5), -1);
  items.Clear();
  EXPECT_EQ(items.Resolve(1), -1);
}
