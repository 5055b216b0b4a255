#include "platform/posix/FileBrowser.h"

#include "platform/posix/DetachedProgram.h"

bool OpenInFileBrowser(const std::string& nativePath, const char* opener) {
  if (opener == nullptr || nativePath.empty()) return false;
  // A path that looks like an option must still be taken for a path.
  const std::string argument = nativePath[0] == '-' ? "./" + nativePath : nativePath;
  return StartDetachedProgram(opener, {argument});
}
