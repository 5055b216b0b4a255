#pragma once
// A file saved whole or not at all. The new content is written to a temporary
// file in the target's folder and flushed to the disk; only then is it renamed
// over the target, so a full disk, a file-size limit, a second save to the same
// path or a killed program never leaves the target empty or cut off.
//
// A symbolic link at the path is followed: the file it leads to is replaced and
// the link stays. A target that is something other than a regular file (a
// folder, a device, a FIFO), or a file we may not write, is refused before
// anything is created. A replaced file's permissions carry over to the new
// one. Paths are UTF-8.

#include <cstddef>
#include <memory>
#include <string>

class ReplacementFile {
 public:
  ReplacementFile();
  ~ReplacementFile();  // discards the temporary file unless committed
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;

  // Checks the target and creates the temporary file. False, with
  // "PATH: reason" in error and nothing created, when it cannot.
  bool Open(const std::string& path, std::string& error);
  // Appends to the temporary file. After the first failure it writes nothing
  // more and returns false; Finish gives the reason.
  bool Write(const char* bytes, std::size_t length);
  // Flushes the temporary file to the disk and closes it. False, with
  // "PATH: reason" in error and the temporary file removed, on a failed write.
  bool Finish(std::string& error);
  // Renames the finished temporary file over the target. False, with
  // "PATH: reason" in error, the temporary file removed and the target as it
  // was, when it cannot.
  bool Commit(std::string& error);
  // Removes the temporary file, if any; the target stays as it was.
  void Discard();

  // The path as given to Open.
  const std::string& Path() const;

  struct State;

 private:
  std::unique_ptr<State> m_state;
};
