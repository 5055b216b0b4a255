#pragma once
// Where a scan's worker leaves its insertion batches and its completion for the
// GUI thread, without ever waiting for it. The GUI side is told through a
// callback when something arrives, and collects it when its event loop gets
// there. Once disconnected, nothing more is told: a worker that outlives its
// dialog can finish against the mailbox without reaching a window that is gone.

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "app/InsertionBatch.h"
#include "scan/ScanSignals.h"

class ScanMailbox : public BatchSink, public CompletionNotice {
 public:
  // notify runs on the worker thread, under the mailbox's lock, and must not
  // wait for the GUI thread (a queued call or a posted message is right).
  explicit ScanMailbox(std::function<void()> notify);
  ~ScanMailbox() override;

  void Deliver(std::unique_ptr<InsertionBatch> batch) override;
  void Post() override;

  // GUI side. The batches come in the order delivered; completed is true
  // once, after the worker's Post, and always with or after the last batch.
  struct Contents {
    std::vector<std::unique_ptr<InsertionBatch>> batches;
    bool completed = false;
  };
  Contents Collect();
  void Disconnect();

 private:
  void NotifyLocked();

  std::mutex m_mutex;
  std::function<void()> m_notify;
  std::vector<std::unique_ptr<InsertionBatch>> m_batches;
  bool m_completed = false;
  bool m_notified = false;  // a notice is on its way and not yet collected
};
