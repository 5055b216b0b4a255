#include "platform/posix/PosixListing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <vector>

#include "platform/posix/NameMapping.h"
#include "scan/SpareBlocks.h"

namespace {

// One spare buffer and path a thread: a listing opened and closed on the same
// thread, as nearly all are, allocates none, and a large allocation a folder
// made the allocator tidy up its small blocks each time.
struct Spare {
  std::unique_ptr<std::uint64_t[]> buffer;
  std::string path;
};
thread_local Spare t_spare;

}  // namespace

void* PosixListing::operator new(std::size_t size) { return SpareBlocks<PosixListing>::Take(size); }

void PosixListing::operator delete(void* listing, std::size_t size) noexcept {
  SpareBlocks<PosixListing>::Give(listing, size);
}

PosixListing::PosixListing(SharedFd folder, OpenFolderCache* parents, std::string_view path)
    : m_folder(std::move(folder)),
      m_buffer(t_spare.buffer ? std::move(t_spare.buffer)
                              : std::unique_ptr<std::uint64_t[]>(
                                    new std::uint64_t[kBufferBytes / sizeof(std::uint64_t)])),
      m_parents(parents),
      m_path(std::move(t_spare.path)) {
  m_path.assign(parents != nullptr ? path : std::string_view());
}

PosixListing::~PosixListing() {
  if (t_spare.buffer) return;
  t_spare.buffer = std::move(m_buffer);
  t_spare.path = std::move(m_path);
}

ListingResult PosixListing::Open(SharedFd folder, OpenFolderCache* parents, std::string_view path) {
  ListingResult result;
  if (!folder || !folder->IsOpen()) return result;
  auto listing = std::make_unique<PosixListing>(std::move(folder), parents, path);
  listing->m_pending.record = listing->NextRecord();
  if (listing->m_failed || !listing->MaySearch()) return result;
  if (listing->m_pending.record != nullptr) {
    result.status = ListingStatus::Opened;
    result.listing = std::move(listing);
  } else {
    result.status = ListingStatus::Empty;
  }
  return result;
}

// Every entry's lstat needs search permission on the folder: without it the
// names could be read but not one of them measured or entered, and the folder
// is unreadable. Measuring the first entry now, as it would be anyway,
// answers that for most folders; a look at '.' answers it for the others.
bool PosixListing::MaySearch() {
  Measured& first = m_pending;
  if (first.record != nullptr && first.record->d_type != DT_DIR) {
    first.done = true;
    first.present = Measure(*first.record, first.entry);
    if (first.present || errno != EACCES) return true;
  }
  struct stat status;
  return ::fstatat(m_folder->Get(), ".", &status, AT_SYMLINK_NOFOLLOW) == 0;
}

bool PosixListing::ReadBatch() {
  const ssize_t got = ::getdents64(m_folder->Get(), m_buffer.get(), kBufferBytes);
  if (got <= 0) {
    m_failed = got < 0;
    m_atEnd = true;
    return false;
  }
  m_filled = static_cast<std::size_t>(got);
  m_offset = 0;
  return true;
}

const dirent64* PosixListing::NextRecord() {
  for (;;) {
    if (m_offset >= m_filled && (m_atEnd || !ReadBatch())) return nullptr;
    if (const dirent64* record = NextRecordRead()) return record;
  }
}

const dirent64* PosixListing::NextRecordRead() {
  while (m_offset < m_filled) {
    const auto* record =
        reinterpret_cast<const dirent64*>(reinterpret_cast<const char*>(m_buffer.get()) + m_offset);
    m_offset += record->d_reclen;
    if (!IsDotOrDotDot(record->d_name)) return record;
  }
  return nullptr;
}

bool PosixListing::Measure(const dirent64& record, DirectoryEntry& entry) const {
  if (record.d_type == DT_DIR) {
    entry.isFolder = true;
    entry.size = 0;
    return true;
  }
  struct stat status;
  if (::fstatat(m_folder->Get(), record.d_name, &status, AT_SYMLINK_NOFOLLOW) != 0) return false;
  entry.isFolder = S_ISDIR(status.st_mode);
  entry.size = entry.isFolder ? 0 : static_cast<std::uint64_t>(status.st_size);
  return true;
}

void PosixListing::Name(const dirent64& record, DirectoryEntry& entry) {
  if (entry.isFolder && m_parents != nullptr) {
    m_parents->KeepAsParent(m_path, m_folder);
    m_parents = nullptr;
  }
  if (NeedsMapping(record.d_name)) {
    MapNameInto(record.d_name, m_mappedName);
    entry.name = m_mappedName.c_str();
  } else {
    entry.name = record.d_name;
  }
}

// Records are taken only from what one read returned, so that every one
// stays valid until all are measured; the first read of a call may refill.
bool PosixListing::NextMany(std::size_t most, const std::function<void(const DirectoryEntry&)>& take,
                            const ShareWork& share) {
  constexpr std::size_t kWorthSharing = 32;
  // The thread's, kept for its next call on any listing: most folders are small.
  static thread_local std::vector<Measured> t_measured;
  std::vector<Measured>& measuredRecords = t_measured;
  measuredRecords.clear();
  if (most == 0) return true;
  Measured next = TakePending(true);
  std::size_t toMeasure = 0;
  for (; next.record != nullptr && measuredRecords.size() < most; next = TakePending(false)) {
    if (!next.done && next.record->d_type != DT_DIR) ++toMeasure;
    measuredRecords.push_back(next);
  }
  const auto measure = [this, &measuredRecords](std::size_t i) {
    Measured& measured = measuredRecords[i];
    if (!measured.done) measured.present = Measure(*measured.record, measured.entry);
  };
  if (toMeasure >= kWorthSharing && share) {
    share(measuredRecords.size(), measure);
  } else {
    for (std::size_t i = 0; i < measuredRecords.size(); ++i) measure(i);
  }
  for (Measured& measured : measuredRecords) {
    if (!measured.present) continue;
    Name(*measured.record, measured.entry);
    take(measured.entry);
  }
  m_pending = next;  // one past `most`, or none: the next call's first
  return !measuredRecords.empty();
}

PosixListing::Measured PosixListing::TakePending(bool mayRefill) {
  Measured taken = m_pending;
  m_pending = Measured();
  if (taken.record == nullptr) taken.record = mayRefill ? NextRecord() : NextRecordRead();
  return taken;
}

bool PosixListing::Next(DirectoryEntry& entry) {
  for (;;) {
    Measured next = TakePending(true);
    if (next.record == nullptr) return false;
    if (!next.done) next.present = Measure(*next.record, next.entry);
    if (!next.present) continue;
    entry = next.entry;
    Name(*next.record, entry);
    return true;
  }
}
