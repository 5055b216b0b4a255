#include "platform/posix/PosixFileSystem.h"

#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <sys/statvfs.h>

#include <cerrno>
#include <string>

#include "platform/posix/PosixListing.h"

namespace {

constexpr std::uint64_t kLargestUsed = ~std::uint64_t{0};

bool IsUsableName(std::string_view name) { return !name.empty() && name != "." && name != ".."; }

// Hides the entries a wildcard other than '*' does not match.
class FilteredListing : public DirectoryListing {
 public:
  FilteredListing(std::unique_ptr<DirectoryListing> inner, std::string wildcard)
      : m_inner(std::move(inner)), m_wildcard(std::move(wildcard)) {}
  bool Next(DirectoryEntry& entry) override {
    while (m_inner->Next(entry)) {
      if (::fnmatch(m_wildcard.c_str(), entry.name, 0) == 0) return true;
    }
    return false;
  }

 private:
  std::unique_ptr<DirectoryListing> m_inner;
  std::string m_wildcard;
};

ListingResult Filtered(ListingResult result, std::string_view wildcard) {
  if (wildcard == "*" || result.status != ListingStatus::Opened) return result;
  result.listing = std::make_unique<FilteredListing>(std::move(result.listing), std::string(wildcard));
  return result;
}

}  // namespace

bool SplitPattern(std::string_view pattern, std::string_view& folder, std::string_view& wildcard) {
  if (pattern.size() < 4 || pattern[1] != ':' || pattern[2] != '\\') return false;
  const std::size_t cut = pattern.rfind('\\');
  folder = pattern.substr(0, cut);
  wildcard = pattern.substr(cut + 1);
  if (wildcard.empty()) return false;
  return folder.size() == 2 || IsUsableName(folder.substr(folder.rfind('\\') + 1));
}

PosixFileSystem::PosixFileSystem(std::shared_ptr<const DriveSet> drives, bool drivesAreFileSystems)
    : m_drives(std::move(drives)), m_drivesAreFileSystems(drivesAreFileSystems) {}

std::uint32_t PosixFileSystem::GetLogicalDrives() {
  // A new walk begins: folders held open from the last one may be gone.
  m_folders.Clear();
  return m_drives->table.Mask();
}

bool PosixFileSystem::IsFixedDrive(const char* rootText) { return m_drives->table.Find(rootText) != nullptr; }

bool PosixFileSystem::GetUsedBytes(const char* rootText, std::uint64_t& used) {
  const DriveRoot* drive = m_drives->table.Find(rootText);
  struct statvfs status;
  if (!m_drivesAreFileSystems || drive == nullptr || ::statvfs(drive->nativeRoot.c_str(), &status) != 0) {
    return false;
  }
  if (status.f_blocks < status.f_bfree) return false;
  const std::uint64_t blocks = status.f_blocks - status.f_bfree;
  if (status.f_frsize != 0 && blocks > kLargestUsed / status.f_frsize) return false;
  used = blocks * status.f_frsize;
  return true;
}

// The folder 'C:\a\b' is 'a\b' in the drive's table of mount points.
bool PosixFileSystem::IsKnownMountPoint(const DriveRoot& drive, std::string_view folder) const {
  const InnerMounts* mounts = m_drives->MountsOf(drive);
  const std::size_t start = 3;  // past 'C:\'
  if (mounts == nullptr || mounts->empty() || folder.size() <= start) return false;
  return mounts->count(folder.substr(start)) != 0;
}

ListingResult PosixFileSystem::OpenListing(const char* pattern) {
  const DriveRoot* drive = m_drives->table.Find(pattern);
  std::string_view folderPath;
  std::string_view wildcard;
  if (drive == nullptr || !SplitPattern(pattern, folderPath, wildcard)) return ListingResult();
  if (IsKnownMountPoint(*drive, folderPath)) return ListingResult{ListingStatus::Empty, {}};

  SharedFd folder = m_folders.OpenForListing(drive->nativeRoot, folderPath);
  if (!folder) {
    // A mount the table did not know of when the drives were read.
    if (errno == EXDEV) return ListingResult{ListingStatus::Empty, {}};
    ListingResult failed;
    failed.outOfHandles = IsOutOfDescriptors(errno);
    return failed;
  }
  return Filtered(PosixListing::Open(std::move(folder), &m_folders, folderPath), wildcard);
}

// The walk of a drive has ended: nothing it held open is needed any more.
void PosixFileSystem::ForgetExpected() { m_folders.Clear(); }
