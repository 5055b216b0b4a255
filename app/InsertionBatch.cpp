#include "app/InsertionBatch.h"

#include <utility>

BatchingInserter::BatchingInserter(BatchSink& sink, std::size_t batchSize, std::chrono::milliseconds maxDelay)
    : m_sink(sink), m_batchSize(batchSize == 0 ? 1 : batchSize), m_maxDelay(maxDelay) {}

// Whatever is still buffered belongs to the scan: the items must reach the tree.
BatchingInserter::~BatchingInserter() { Flush(); }

InsertedItem BatchingInserter::Insert(InsertedItem parent, const char*, FolderRecord* record) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (!m_batch) {
    m_batch = std::make_unique<InsertionBatch>();
    m_batch->reserve(m_batchSize);
    m_batchStarted = std::chrono::steady_clock::now();
  }
  m_batch->push_back(PendingInsertion{m_lastItem + 1, parent, record});
  ++m_lastItem;
  if (m_batch->size() >= m_batchSize || std::chrono::steady_clock::now() - m_batchStarted >= m_maxDelay) {
    DeliverLocked();
  }
  return m_lastItem;
}

void BatchingInserter::Flush() {
  std::lock_guard<std::mutex> lock(m_mutex);
  DeliverLocked();
}

void BatchingInserter::HandOverWaiting() {
  std::unique_lock<std::mutex> lock(m_mutex, std::try_to_lock);
  if (lock.owns_lock()) DeliverLocked();
}

// Under the lock, so that batches reach the sink in the order they were filled.
void BatchingInserter::DeliverLocked() {
  if (m_batch && !m_batch->empty()) m_sink.Deliver(std::move(m_batch));
  m_batch.reset();
}
