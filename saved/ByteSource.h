#pragma once
// Where a saved scan is read from, a chunk at a time: a file, or memory for
// the tests and the fuzzer. Reading in chunks keeps memory independent of
// the file's size.

#include <cstddef>
#include <cstdio>
#include <string_view>

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Fills buffer with up to size bytes; 0 at the end or on a read error.
  virtual std::size_t Read(char* buffer, std::size_t size) = 0;
  virtual bool Failed() const { return false; }
};

class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::string_view bytes) : m_bytes(bytes) {}
  std::size_t Read(char* buffer, std::size_t size) override;

 private:
  std::string_view m_bytes;
};

// Reads an open file; the caller opens and closes it.
class FileSource : public ByteSource {
 public:
  explicit FileSource(std::FILE* file) : m_file(file) {}
  std::size_t Read(char* buffer, std::size_t size) override;
  bool Failed() const override;

 private:
  std::FILE* m_file;
};
