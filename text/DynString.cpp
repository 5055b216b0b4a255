#include "text/DynString.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <new>

namespace {

// Only the task-memory kind has an allocator of its own; every other kind
// gets the heap, so the recorded kind always names a real release function.
AllocatorKind BlockKindFor(AllocatorKind allocator) {
  return allocator == AllocTaskMem ? AllocTaskMem : AllocHeap;
}

char* ObtainBlock(AllocatorKind kind, std::int32_t size) {
  if (kind == AllocTaskMem) {
    void* block = std::malloc(static_cast<std::size_t>(size));
    if (block == nullptr) throw std::bad_alloc();
    return static_cast<char*>(block);
  }
  return new char[static_cast<std::size_t>(size)];
}

void ReleaseBlock(AllocatorKind kind, char* block) {
  if (kind == AllocTaskMem) {
    std::free(block);
  } else if (kind == AllocHeap) {
    delete[] block;
  }
}

char FoldAsciiCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool PointsInto(const char* text, const char* block, std::int32_t size) {
  return block != nullptr && std::greater_equal<const char*>()(text, block) &&
         std::less<const char*>()(text, block + size);
}

constexpr std::int32_t kScratchSize = 256;
constexpr int kLargestText = std::numeric_limits<std::int32_t>::max();

}  // namespace

CDynString::CDynString(AllocatorKind allocator) : m_allocator(allocator) {}

CDynString::CDynString(const CDynString& source, AllocatorKind allocator) : m_allocator(allocator) {
  Assign(source);
}

CDynString::CDynString(const char* text, AllocatorKind allocator) : m_allocator(allocator) { Assign(text); }

CDynString::CDynString(AllocatorKind allocator, const char* format, ...) : m_allocator(allocator) {
  va_list args;
  va_start(args, format);
  try {
    FormatV(format, args);
  } catch (...) {
    va_end(args);
    throw;
  }
  va_end(args);
}

CDynString::CDynString(const CDynString& source) : m_allocator(source.m_allocator) { Assign(source); }

CDynString::CDynString(CDynString&& source) noexcept
    : m_buffer(source.m_buffer),
      m_capacity(source.m_capacity),
      m_length(source.m_length),
      m_bufferAllocator(source.m_bufferAllocator),
      m_allocator(source.m_allocator) {
  source.m_buffer = nullptr;
  source.m_capacity = 0;
  source.m_length = 0;
  source.m_bufferAllocator = AllocNone;
}

CDynString& CDynString::operator=(const CDynString& source) { return Assign(source); }

// The target keeps its own allocator kind: the buffer carries the kind it
// must be released with.
CDynString& CDynString::operator=(CDynString&& source) noexcept {
  if (this == &source) return *this;
  Empty();
  m_buffer = source.m_buffer;
  m_capacity = source.m_capacity;
  m_length = source.m_length;
  m_bufferAllocator = source.m_bufferAllocator;
  source.m_buffer = nullptr;
  source.m_capacity = 0;
  source.m_length = 0;
  source.m_bufferAllocator = AllocNone;
  return *this;
}

CDynString::~CDynString() { Empty(); }

std::int32_t CDynString::GetLength(bool withTerminator) const {
  if (m_buffer == nullptr) return 0;
  return withTerminator ? m_length + 1 : m_length;
}

int CDynString::CompareNoCase(const char* text) const {
  if (m_buffer == nullptr) return -1;
  if (text == nullptr) return 1;
  const char* own = m_buffer;
  while (*own != 0 && FoldAsciiCase(*own) == FoldAsciiCase(*text)) {
    ++own;
    ++text;
  }
  return static_cast<unsigned char>(FoldAsciiCase(*own)) - static_cast<unsigned char>(FoldAsciiCase(*text));
}

std::int32_t CDynString::CapacityClass(std::int32_t n) {
  for (std::int32_t sizeClass = 16; sizeClass <= 512; sizeClass *= 2) {
    if (n < sizeClass) return sizeClass;
  }
  return n + 1;
}

CDynString& CDynString::Assign(const CDynString& other) {
  if (this == &other) return *this;
  if (other.m_length == 0) return Empty();
  Reserve(other.m_length + 1);
  std::memcpy(m_buffer, other.m_buffer, static_cast<std::size_t>(other.m_length));
  m_length = other.m_length;
  m_buffer[m_length] = 0;
  return *this;
}

CDynString& CDynString::Assign(const char* text) {
  if (text == nullptr || *text == 0) return Empty();
  const std::int32_t length = static_cast<std::int32_t>(std::strlen(text));
  // Text from inside this buffer is shorter than the capacity, so Reserve
  // keeps the buffer and an overlapping move is all that is needed.
  Reserve(length + 1);
  std::memmove(m_buffer, text, static_cast<std::size_t>(length));
  m_length = length;
  m_buffer[m_length] = 0;
  return *this;
}

CDynString& CDynString::Assign(char c) {
  if (c == 0) return Empty();
  Reserve(2);
  m_buffer[0] = c;
  m_buffer[1] = 0;
  m_length = 1;
  return *this;
}

CDynString& CDynString::Append(const char* text) {
  if (text == nullptr || *text == 0) return *this;
  AppendChars(text, static_cast<std::int32_t>(std::strlen(text)));
  return *this;
}

CDynString& CDynString::Append(const char* text, std::int32_t count) {
  if (text == nullptr || count <= 0) return *this;
  AppendChars(text, count);
  return *this;
}

CDynString& CDynString::Append(char c) {
  if (c == 0) return *this;
  AppendChars(&c, 1);
  return *this;
}

CDynString& CDynString::TrimRight(char c) {
  if (c == 0 || m_length == 0) return *this;
  std::int32_t end = m_length;
  while (end > 0 && m_buffer[end - 1] == c) --end;
  if (end == m_length) return *this;
  // The buffer stays even when nothing is left.
  m_length = end;
  m_buffer[m_length] = 0;
  return *this;
}

CDynString& CDynString::FormatV(const char* format, va_list args) {
  char scratch[kScratchSize];
  va_list trialArgs;
  va_copy(trialArgs, args);
  const int needed = std::vsnprintf(scratch, sizeof scratch, format, trialArgs);
  va_end(trialArgs);
  if (needed < 0) return Empty();  // an encoding error: no size would help
  if (needed < kScratchSize) return Assign(scratch);

  // The trial already measured the text: one more pass writes it, so a long
  // text costs its length, not its length squared.
  if (needed >= kLargestText) throw std::bad_alloc();
  const std::int32_t size = static_cast<std::int32_t>(needed) + 1;
  char* buffer = GetBuffer(size);
  va_copy(trialArgs, args);
  const int written = std::vsnprintf(buffer, static_cast<std::size_t>(size), format, trialArgs);
  va_end(trialArgs);
  if (written < 0) return Empty();
  ReleaseBuffer(-1);
  return *this;
}

CDynString& CDynString::Empty() {
  ReleaseBlock(m_bufferAllocator, m_buffer);
  m_buffer = nullptr;
  m_capacity = 0;
  m_length = 0;
  m_bufferAllocator = AllocNone;
  return *this;
}

CDynString CDynString::Mid(std::int32_t start, std::int32_t count) const {
  CDynString part(AllocHeap);
  if (start >= m_length) return part;
  const bool toEnd = count == -1 || start + count > m_length;
  const std::int32_t taken = toEnd ? m_length - start : count;
  part.Append(m_buffer + start, taken);
  return part;
}

char* CDynString::GetBuffer(std::int32_t minimumSize) {
  if (minimumSize > m_capacity) GrowKeepingText(minimumSize);
  return m_buffer;
}

void CDynString::ReleaseBuffer(std::int32_t newLength) {
  if (m_buffer == nullptr) return;
  if (newLength < 0) {
    // Bounded, so a caller who left no terminator cannot make us read past the block.
    const void* terminator = std::memchr(m_buffer, 0, static_cast<std::size_t>(m_capacity));
    newLength = terminator != nullptr
                    ? static_cast<std::int32_t>(static_cast<const char*>(terminator) - m_buffer)
                    : m_capacity;
  }
  if (newLength >= m_capacity) newLength = m_capacity - 1;
  m_length = newLength;
  m_buffer[m_length] = 0;
}

// Discards the text: the caller writes the new text itself.
void CDynString::Reserve(std::int32_t n) {
  if (n <= m_capacity) return;
  Empty();
  const std::int32_t capacity = CapacityClass(n);
  const AllocatorKind kind = BlockKindFor(m_allocator);
  m_buffer = ObtainBlock(kind, capacity);
  m_capacity = capacity;
  m_bufferAllocator = kind;
  m_buffer[0] = 0;
}

// A buffer is never resized in place: the text waits in a temporary block
// while the old buffer is released and a larger one obtained.
void CDynString::GrowKeepingText(std::int32_t neededSize) {
  const std::int32_t length = m_length;
  std::unique_ptr<char[]> saved;
  if (length > 0) {
    saved.reset(new char[static_cast<std::size_t>(length)]);
    std::memcpy(saved.get(), m_buffer, static_cast<std::size_t>(length));
  }
  Reserve(neededSize);
  if (length > 0) std::memcpy(m_buffer, saved.get(), static_cast<std::size_t>(length));
  m_length = length;
  m_buffer[m_length] = 0;
}

void CDynString::AppendChars(const char* text, std::int32_t count) {
  const std::int32_t needed = m_length + count + 1;
  if (needed > m_capacity) {
    // Text taken from this string's own buffer must be found again after the move.
    const bool ownText = PointsInto(text, m_buffer, m_capacity);
    const std::ptrdiff_t offset = ownText ? text - m_buffer : 0;
    GrowKeepingText(needed);
    if (ownText) text = m_buffer + offset;
  }
  std::memmove(m_buffer + m_length, text, static_cast<std::size_t>(count));
  m_length += count;
  m_buffer[m_length] = 0;
}
