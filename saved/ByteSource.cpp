#include "saved/ByteSource.h"

#include <algorithm>
#include <cstring>

std::size_t MemorySource::Read(char* buffer, std::size_t size) {
  const std::size_t count = std::min(size, m_bytes.size());
  if (count != 0) std::memcpy(buffer, m_bytes.data(), count);
  m_bytes.remove_prefix(count);
  return count;
}

std::size_t FileSource::Read(char* buffer, std::size_t size) { return std::fread(buffer, 1, size, m_file); }

bool FileSource::Failed() const { return std::ferror(m_file) != 0; }
