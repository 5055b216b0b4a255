#pragma once
// A fresh folder under /tmp for one test, removed with all it holds, however
// deep, when the test ends. Everything is made relative to open folders so
// that chains longer than PATH_MAX can be built and removed.

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/posix/UniqueFd.h"

inline void RemoveInside(int folder) {
  const int listed = ::dup(folder);
  DIR* dir = listed >= 0 ? ::fdopendir(listed) : nullptr;
  if (dir == nullptr) return;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    struct stat status;
    if (::fstatat(folder, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (S_ISDIR(status.st_mode)) {
      ::fchmodat(folder, name.c_str(), 0755, 0);
      UniqueFd child(::openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
      if (child.IsOpen()) RemoveInside(child.Get());
      ::unlinkat(folder, name.c_str(), AT_REMOVEDIR);
    } else {
      ::unlinkat(folder, name.c_str(), 0);
    }
  }
  ::closedir(dir);
}

class TempTree {
 public:
  TempTree() {
    char pattern[] = "/tmp/ambrell-test-XXXXXX";
    m_path = ::mkdtemp(pattern);
    ::chmod(m_path.c_str(), 0755);  // an unprivileged child must reach it
    m_fd.Reset(::open(m_path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  }
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;
  ~TempTree() {
    RemoveInside(m_fd.Get());
    m_fd.Reset();
    ::rmdir(m_path.c_str());
  }

  const std::string& Path() const { return m_path; }
  int Fd() const { return m_fd.Get(); }

  bool Folder(const std::string& relative, mode_t mode = 0755) const {
    return ::mkdirat(Fd(), relative.c_str(), mode) == 0 || errno == EEXIST;
  }
  // Past the written bytes the file is sparse: gigabytes cost nothing.
  bool File(const std::string& relative, std::uint64_t size = 0) const {
    UniqueFd file(::openat(Fd(), relative.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    return file.IsOpen() && ::ftruncate(file.Get(), static_cast<off_t>(size)) == 0;
  }

 private:
  std::string m_path;
  UniqueFd m_fd;
};
