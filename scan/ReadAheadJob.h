#pragma once
// One folder the walk has named to the read-ahead file system, from the
// moment it was named until the walk has read the last of it or given it
// up. Every field but `dropped` is guarded by the file system's lock. Jobs
// are kept for folders named later: their memory is reused, their pattern's
// too.

#include <atomic>
#include <cstddef>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "scan/EntryBatch.h"
#include "scan/FileSystem.h"

struct ReadAheadJob {
  enum class Stage {
    Waiting,   // no thread has started on it
    Listing,   // a thread opens it or reads its entries
    Finished,  // nothing more will be read ahead: the rest, if any, is the walk's
  };

  // Room for most patterns from the start (those of /usr average 61 bytes):
  // a job reused for a longer one would grow again.
  ReadAheadJob() {
    pattern.reserve(96);
    batches.reserve(1);
  }
  // As if new, without a pattern; the memory it has stays.
  void Reset() {
    pattern.clear();
    stage = Stage::Waiting;
    opened = false;
    takenByWalk = false;
    dropped = false;
    status = ListingStatus::Failed;
    batches.clear();
    taken = 0;
    buffered = 0;
    rest.reset();
    failure = nullptr;
  }

  bool HasBatch() const { return taken < batches.size(); }
  // Far enough along for the walk to take it up without waiting again soon.
  bool Settled() const { return stage != Stage::Listing || HasBatch(); }
  // Everything read ahead has been handed to the walk, and nothing follows.
  bool Exhausted() const { return stage == Stage::Finished && !HasBatch() && !rest && !failure; }

  std::string pattern;  // set before the threads see it, then unchanged
  Stage stage = Stage::Waiting;
  bool opened = false;               // status holds how opening it went
  bool takenByWalk = false;          // asked for: never given back, whatever happens
  std::atomic<bool> dropped{false};  // the walk will read no more of it: stop
  ListingStatus status = ListingStatus::Failed;
  std::vector<EntryBatch> batches;  // read; those from `taken` on are not yet the walk's
  std::size_t taken = 0;
  std::size_t buffered = 0;                // entries in batches not yet taken
  std::unique_ptr<DirectoryListing> rest;  // where reading ahead stopped: the walk reads on
  std::exception_ptr failure;              // raised again where the walk reaches it
};
