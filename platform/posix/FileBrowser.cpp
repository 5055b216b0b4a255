#include "platform/posix/FileBrowser.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <thread>

#include "platform/posix/DescriptorLimit.h"

extern char** environ;

namespace {

// Nobody waits for the browser; a thread of its own reaps it so that no
// zombie is left behind.
void ReapWhenDone(pid_t child) {
  try {
    std::thread([child] {
      int status;
      while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
      }
    }).detach();
  } catch (...) {
    // Without a thread the child stays a zombie until we end: harmless.
  }
}

}  // namespace

bool OpenInFileBrowser(const std::string& nativePath, const char* opener) {
  if (opener == nullptr || nativePath.empty()) return false;
  std::string program(opener);
  // A path that looks like an option must still be taken for a path.
  std::string argument = nativePath[0] == '-' ? "./" + nativePath : nativePath;
  char* const argv[] = {program.data(), argument.data(), nullptr};
  pid_t child = 0;
  if (::posix_spawnp(&child, opener, nullptr, nullptr, argv, environ) != 0) return false;
  GiveOriginalDescriptorLimit(child);
  ReapWhenDone(child);
  return true;
}
