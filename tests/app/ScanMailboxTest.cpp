#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/ScanMailbox.h"
#include "scan/FolderRecord.h"

namespace {

// The mailbox only passes records on.
FolderRecord g_record;

std::unique_ptr<InsertionBatch> BatchOf(InsertedItem first, int count) {
  auto batch = std::make_unique<InsertionBatch>();
  for (int i = 0; i < count; ++i) batch->push_back(PendingInsertion{first + i, kTopLevel, &g_record});
  return batch;
}

}  // namespace

TEST(ScanMailboxTest, NotifiesOnceUntilCollectedAndHandsOverInOrderWithTheCompletion) {
  int notices = 0;
  ScanMailbox mailbox([&notices] { ++notices; });
  mailbox.Deliver(BatchOf(1, 2));
  mailbox.Deliver(BatchOf(3, 1));
  mailbox.Post();
  EXPECT_EQ(notices, 1);

  ScanMailbox::Contents contents = mailbox.Collect();
  ASSERT_EQ(contents.batches.size(), 2u);
  EXPECT_EQ(contents.batches[1]->front().item, 3u);
  EXPECT_TRUE(contents.completed);

  EXPECT_FALSE(mailbox.Collect().completed);  // the completion comes once
  mailbox.Deliver(BatchOf(4, 1));
  EXPECT_EQ(notices, 2);
}

TEST(ScanMailboxTest, ADisconnectedMailboxTellsNobody) {
  int notices = 0;
  ScanMailbox mailbox([&notices] { ++notices; });
  mailbox.Disconnect();
  mailbox.Deliver(BatchOf(1, 3));
  mailbox.Post();
  EXPECT_EQ(notices, 0);
}

TEST(ScanMailboxTest, AWorkerDeliveringWhileTheGuiCollectsLosesNothing) {
  std::atomic<int> notices{0};
  ScanMailbox mailbox([&notices] { ++notices; });
  constexpr int kBatches = 500;
  std::thread worker([&mailbox] {
    for (int i = 0; i < kBatches; ++i) mailbox.Deliver(BatchOf(i + 1, 1));
    mailbox.Post();
  });
  InsertedItem expected = 1;
  bool completed = false;
  while (!completed) {
    ScanMailbox::Contents contents = mailbox.Collect();
    for (const auto& batch : contents.batches) EXPECT_EQ(batch->front().item, expected++);
    completed = contents.completed;
  }
  worker.join();
  EXPECT_EQ(expected, InsertedItem(kBatches + 1));  // the completion came after the last batch
  EXPECT_GE(notices.load(), 1);
}
