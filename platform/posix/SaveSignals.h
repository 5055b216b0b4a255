#pragma once
// While a file is being saved, SIGINT and SIGTERM first remove its temporary
// file, then end the program as they would have; and SIGXFSZ is ignored, so
// that a file-size limit fails the write (EFBIG) like a full disk instead of
// killing the program with the file half written. Everything is as before once
// the last save ends. A disposition someone else chose (ignored, or a handler
// of their own) is left alone.

#include <string>

class SaveSignalGuard {
 public:
  // Covers the temporary file name in the open folder folderFd until the
  // guard is destroyed; folderFd must stay open until then.
  SaveSignalGuard(int folderFd, const std::string& name);
  ~SaveSignalGuard();
  SaveSignalGuard(const SaveSignalGuard&) = delete;
  SaveSignalGuard& operator=(const SaveSignalGuard&) = delete;

 private:
  int m_slot;  // -1 when every slot was taken: the file is then not removed on a signal
};
