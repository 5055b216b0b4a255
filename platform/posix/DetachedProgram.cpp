#include "platform/posix/DetachedProgram.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <thread>

#include "platform/posix/DescriptorLimit.h"
#include "platform/posix/UniqueFd.h"

extern char** environ;

namespace {

// What PATH means when it is not set, as the shell and execvp take it.
constexpr const char* kDefaultPath = "/bin:/usr/bin";

bool IsExecutableFile(const std::string& path) {
  struct stat status;
  return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// Between fork and exec only async-signal-safe calls: another thread may
// have held the allocator's lock at the fork, and the child has no one to
// release it. Whatever the exec failed for goes to the parent through a
// pipe that closes on a successful exec.
[[noreturn]] void ExecInChild(const char* path, char* const argv[], int failureReport) {
  GiveOriginalDescriptorLimitToThisChild();
  ::execve(path, argv, environ);
  const int error = errno;
  if (::write(failureReport, &error, sizeof error) < 0) {
    // The parent then takes the exec for a success and reaps the child.
  }
  ::_exit(127);
}

// End of file: the exec closed the pipe, the program runs.
bool ExecFailed(int failureReport) {
  int error;
  ssize_t got;
  while ((got = ::read(failureReport, &error, sizeof error)) < 0 && errno == EINTR) {
  }
  return got > 0;
}

void WaitFor(pid_t child) {
  int status;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
}

// Nobody waits for the program; a thread of its own reaps it so that no
// zombie is left behind.
void ReapWhenDone(pid_t child) {
  try {
    std::thread(WaitFor, child).detach();
  } catch (...) {
    // Without a thread the child stays a zombie until we end: harmless.
  }
}

// The child's process id, or -1 when the program did not start.
pid_t Start(const std::string& path, char* const argv[]) {
  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) return -1;
  const UniqueFd readEnd(report[0]);
  UniqueFd writeEnd(report[1]);
  const pid_t child = ::fork();
  if (child == 0) ExecInChild(path.c_str(), argv, writeEnd.Get());
  if (child < 0) return -1;
  writeEnd.Reset();
  if (!ExecFailed(readEnd.Get())) return child;
  WaitFor(child);
  return -1;
}

}  // namespace

std::string FindProgram(const std::string& name) {
  if (name.empty()) return std::string();
  if (name.find('/') != std::string::npos) return name;
  const char* path = std::getenv("PATH");
  const std::string folders = path != nullptr ? path : kDefaultPath;
  std::string::size_type start = 0;
  for (;;) {
    const std::string::size_type end = folders.find(':', start);
    const std::string folder = folders.substr(start, end - start);
    // An empty entry is the current folder, as for the shell.
    const std::string candidate = (folder.empty() ? "." : folder) + "/" + name;
    if (IsExecutableFile(candidate)) return candidate;
    if (end == std::string::npos) return std::string();
    start = end + 1;
  }
}

bool StartDetachedProgram(const std::string& name, const std::vector<std::string>& arguments) {
  const std::string path = FindProgram(name);
  if (path.empty()) return false;
  // Built before the fork: the child may not allocate.
  std::vector<std::string> texts{name};
  texts.insert(texts.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& text : texts) argv.push_back(text.data());
  argv.push_back(nullptr);
  const pid_t child = Start(path, argv.data());
  if (child < 0) return false;
  ReapWhenDone(child);
  return true;
}
