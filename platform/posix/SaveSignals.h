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
  SaveSignalGuard();
  ~SaveSignalGuard();
  // From here on a file of this name in the open folder folderFd is removed
  // on a signal; folderFd must stay open until the guard goes. Covering the
  // name before the file is made leaves no moment in which it is uncovered.
  void Cover(int folderFd, const std::string& name);
  SaveSignalGuard(const SaveSignalGuard&) = delete;
  SaveSignalGuard& operator=(const SaveSignalGuard&) = delete;

 private:
  int m_slot = -1;  // -1 when every slot was taken: the file is then not removed on a signal
};
