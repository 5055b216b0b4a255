#include "platform/ReplacementFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <random>

#include "platform/posix/SaveSignals.h"

namespace {

constexpr int kMostLinksFollowed = 40;  // as the kernel's own limit
constexpr std::size_t kLongestKeptName = 200;
constexpr int kNameAttempts = 100;

std::string Describe(const std::string& path, int error) { return path + ": " + std::strerror(error); }

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a path leads to once every symbolic link along its last component
// is followed; the path itself when nothing is there yet. 0 or an errno.
int FollowLinks(std::string& path) {
  for (int followed = 0; followed < kMostLinksFollowed; ++followed) {
    struct stat status {};
    if (lstat(path.c_str(), &status) != 0) return errno == ENOENT ? 0 : errno;
    if (!S_ISLNK(status.st_mode)) return 0;
    std::string target(static_cast<std::size_t>(status.st_size > 0 ? status.st_size : 4096) + 1, '\0');
    const ssize_t length = readlink(path.c_str(), &target[0], target.size());
    if (length < 0) return errno;
    if (static_cast<std::size_t>(length) >= target.size()) return ENAMETOOLONG;  // changed meanwhile
    target.resize(static_cast<std::size_t>(length));
    path = target[0] == '/' ? target : FolderOf(path) + "/" + target;
  }
  return ELOOP;
}

std::string DescribeKind(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISSOCK(mode)) return "a socket";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  return "not a regular file";
}

// '.NAME.XXXXXX.tmp': hidden, and never longer than a name may be.
std::string TemporaryName(const std::string& name, std::mt19937_64& random) {
  static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::string temporary = "." + name.substr(0, kLongestKeptName) + ".";
  for (int i = 0; i < 6; ++i) temporary += kLetters[random() % (sizeof kLetters - 1)];
  return temporary + ".tmp";
}

}  // namespace

struct ReplacementFile::State {
  std::string path;    // as given
  std::string target;  // where the links lead
  int folder = -1;
  int file = -1;
  std::string temporaryName;
  std::optional<struct stat> replaced;
  std::optional<SaveSignalGuard> signalGuard;
  int writeError = 0;
  bool finished = false;

  ~State() {
    RemoveTemporary();
    if (folder >= 0) close(folder);
  }

  void RemoveTemporary() {
    if (file >= 0) close(file);
    file = -1;
    if (!temporaryName.empty()) unlinkat(folder, temporaryName.c_str(), 0);
    temporaryName.clear();
    signalGuard.reset();
  }

  // Why the target cannot be replaced; empty when it can.
  std::string CheckTarget() {
    target = path;
    if (const int error = FollowLinks(target)) return Describe(path, error);
    if (NameOf(target).empty()) return Describe(path, EISDIR);
    struct stat status {};
    if (stat(target.c_str(), &status) == 0) {
      if (!S_ISREG(status.st_mode))
        return path + ": is " + DescribeKind(status.st_mode) + ", not a file a scan can be saved in";
      // A file its owner made read-only stays protected, as it was when it
      // was written in place.
      if (faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return Describe(path, errno);
      replaced = status;
    }
    folder = open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    return folder < 0 ? Describe(path, errno) : std::string();
  }

  int CreateTemporary() {
    std::mt19937_64 random(std::random_device{}() ^ static_cast<std::uint64_t>(getpid()));
    // Covered before it exists, so that no signal finds it uncovered.
    signalGuard.emplace();
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
      const std::string name = TemporaryName(NameOf(target), random);
      signalGuard->Cover(folder, name);
      file = openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (file >= 0) {
        temporaryName = name;
        CarryOverOwnerAndMode();
        return 0;
      }
      if (errno != EEXIST) break;
    }
    const int problem = errno;
    signalGuard.reset();
    return problem;
  }

  // Best effort: a file someone else owns keeps its owner only where we may
  // give it away (as root).
  void CarryOverOwnerAndMode() const {
    if (!replaced) return;
    if (fchown(file, replaced->st_uid, replaced->st_gid) != 0) {
      // Not permitted: the new file is ours, with the old mode.
    }
    fchmod(file, replaced->st_mode & 07777);
  }
};

ReplacementFile::ReplacementFile() = default;
ReplacementFile::~ReplacementFile() = default;

const std::string& ReplacementFile::Path() const {
  static const std::string kNone;
  return m_state ? m_state->path : kNone;
}

bool ReplacementFile::Open(const std::string& path, std::string& error) {
  m_state = std::make_unique<State>();
  m_state->path = path;
  error = m_state->CheckTarget();
  if (error.empty()) {
    if (const int problem = m_state->CreateTemporary()) error = Describe(path, problem);
  }
  if (error.empty()) return true;
  m_state.reset();
  return false;
}

bool ReplacementFile::Write(const char* bytes, std::size_t length) {
  if (!m_state || m_state->file < 0 || m_state->writeError != 0) return false;
  while (length > 0) {
    const ssize_t written = write(m_state->file, bytes, length);
    if (written < 0) {
      if (errno == EINTR) continue;
      m_state->writeError = errno;
      return false;
    }
    bytes += written;
    length -= static_cast<std::size_t>(written);
  }
  return true;
}

bool ReplacementFile::Finish(std::string& error) {
  if (!m_state || m_state->file < 0) {
    error = Path() + ": " + std::strerror(EBADF);
    return false;
  }
  int problem = m_state->writeError;
  if (problem == 0 && fsync(m_state->file) != 0) problem = errno;
  if (close(m_state->file) != 0 && problem == 0) problem = errno;
  m_state->file = -1;
  if (problem == 0) {
    m_state->finished = true;
    return true;
  }
  error = Describe(m_state->path, problem);
  Discard();
  return false;
}

bool ReplacementFile::Commit(std::string& error) {
  if (!m_state || !m_state->finished) {
    error = Path() + ": " + std::strerror(EBADF);
    return false;
  }
  const std::string name = NameOf(m_state->target);
  if (renameat(m_state->folder, m_state->temporaryName.c_str(), m_state->folder, name.c_str()) != 0) {
    error = Describe(m_state->path, errno);
    Discard();
    return false;
  }
  m_state->temporaryName.clear();
  m_state->signalGuard.reset();
  // The rename itself reaches the disk only with its folder.
  fsync(m_state->folder);
  m_state.reset();
  return true;
}

void ReplacementFile::Discard() {
  if (m_state) m_state->RemoveTemporary();
  m_state.reset();
}
