#pragma once
// Tree insertions made on the worker and carried out by the GUI thread in
// batches: one hand-over per batch instead of one per folder, so that a big
// tree does not pay a thread switch for every item.

#include <chrono>
#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

#include "scan/FolderRecord.h"
#include "scan/Tree.h"

// The item's text is its record's name, which stays where it is for as long as
// the scan's folders do.
struct PendingInsertion {
  InsertedItem item;    // the handle the worker was given
  InsertedItem parent;  // kTopLevel, or the handle of an earlier insertion
  FolderRecord* record;
};
using InsertionBatch = std::vector<PendingInsertion>;

// Takes each batch on the worker thread. It may carry the batch out before it
// returns (a sent message) or queue it for the GUI thread (a posted one).
class BatchSink {
 public:
  virtual ~BatchSink() = default;
  virtual void Deliver(std::unique_ptr<InsertionBatch> batch) = 0;
};

// One per scan. Hands out the handles 1, 2, 3, ... in insertion order, which
// the GUI side resolves with an InsertedItemMap. A batch is handed over when it
// is full, or at the next insertion once it has waited maxDelay. While the
// worker lists one slow folder no insertion comes, so the GUI thread's timer
// calls HandOverWaiting too: the tree grows whatever the worker is doing.
class BatchingInserter : public TreeInserter {
 public:
  explicit BatchingInserter(BatchSink& sink, std::size_t batchSize = 1000,
                            std::chrono::milliseconds maxDelay = std::chrono::milliseconds(100));
  ~BatchingInserter() override;

  InsertedItem Insert(InsertedItem parent, const char* text, FolderRecord* record) override;
  void Flush() override;

  // From any thread: hands the buffered insertions over now, unless the worker is
  // handing over at this moment. Never waits, so a sink that waits for the calling
  // thread cannot deadlock it.
  void HandOverWaiting();

 private:
  void DeliverLocked();

  std::mutex m_mutex;  // the batch, between the worker and HandOverWaiting
  BatchSink& m_sink;
  std::size_t m_batchSize;
  std::chrono::milliseconds m_maxDelay;
  std::unique_ptr<InsertionBatch> m_batch;
  std::chrono::steady_clock::time_point m_batchStarted;
  InsertedItem m_lastItem = kTopLevel;
};

// The GUI side's record of which native item each handle became.
template <typename NativeItem>
class InsertedItemMap {
 public:
  explicit InsertedItemMap(NativeItem topLevel) : m_root(topLevel), m_topLevel(topLevel) {}

  // The native parent of a pending insertion; topLevel for kTopLevel.
  NativeItem Resolve(InsertedItem item) const {
    if (item == kTopLevel || item > m_items.size()) return m_topLevel;
    return m_items[item - 1];
  }
  // Handles arrive in order, so the map is a plain array.
  void Add(InsertedItem item, NativeItem native) {
    if (item == m_items.size() + 1) m_items.push_back(native);
  }
  // The handle's item has gone; it resolves to NativeItem{} from now on.
  void Forget(InsertedItem item) {
    if (item != kTopLevel && item <= m_items.size()) m_items[item - 1] = NativeItem{};
  }
  void Clear() {
    std::vector<NativeItem>().swap(m_items);
    m_topLevel = m_root;
  }
  // Clears, and resolves kTopLevel to folder until the next Clear: the handles of a
  // worker that walks that folder alone.
  void ClearBelow(NativeItem folder) {
    Clear();
    m_topLevel = folder;
  }

 private:
  NativeItem m_root;
  NativeItem m_topLevel;
  std::vector<NativeItem> m_items;
};
