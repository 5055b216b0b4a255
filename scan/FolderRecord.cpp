#include "scan/FolderRecord.h"

#include <cstring>

FolderRecord* NewFolderRecord(const char* name) {
  const std::size_t length = std::strlen(name);
  char* copy = new char[length + 1];
  std::memcpy(copy, name, length + 1);
  try {
    return new FolderRecord{copy};
  } catch (...) {
    delete[] copy;
    throw;
  }
}

void DeleteFolderRecord(FolderRecord* record) {
  if (record == nullptr) return;
  delete[] record->name;
  delete record;
}
