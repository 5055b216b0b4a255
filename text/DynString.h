#pragma once
// An owning 8-bit string that keeps its own capacity in a few size classes
// and picks its allocator per object. Buffers are never shared or grown in
// place: every growth moves the text to a new block.

#include <cstdarg>
#include <cstdint>

enum AllocatorKind : std::int32_t {
  AllocNone = 0,
  AllocHeap = 1,     // operator new / operator delete
  AllocTaskMem = 2,  // COM task memory on Windows; the C heap elsewhere
};

class CDynString {
 public:
  explicit CDynString(AllocatorKind allocator = AllocHeap);
  CDynString(const CDynString& source, AllocatorKind allocator);
  CDynString(const char* text, AllocatorKind allocator);
  // Formatted construction: printf-style, as FormatV.
  CDynString(AllocatorKind allocator, const char* format, ...)
#if defined(__GNUC__)
      __attribute__((format(printf, 3, 4)))
#endif
      ;
  CDynString(const CDynString& source);
  CDynString(CDynString&& source) noexcept;
  CDynString& operator=(const CDynString& source);
  CDynString& operator=(CDynString&& source) noexcept;
  virtual ~CDynString();

  // 0 without a buffer, whatever the flag.
  std::int32_t GetLength(bool withTerminator = false) const;
  bool IsEmpty() const { return m_length == 0; }
  // Null when the string holds no buffer.
  const char* GetText() const { return m_buffer; }
  std::int32_t GetCapacity() const { return m_capacity; }
  // Case-insensitive comparison; a string without a buffer compares below any text.
  int CompareNoCase(const char* text) const;

  CDynString& Assign(const CDynString& other);
  CDynString& Assign(const char* text);
  CDynString& Assign(char c);
  CDynString& Append(const char* text);
  CDynString& Append(const char* text, std::int32_t count);
  CDynString& Append(char c);
  CDynString& TrimRight(char c);
  CDynString& FormatV(const char* format, va_list args);
  CDynString& Empty();

  CDynString Mid(std::int32_t start, std::int32_t count = -1) const;

  // Direct access: the caller may write up to GetCapacity() bytes, then
  // sets the length with ReleaseBuffer (-1 measures the text).
  char* GetBuffer(std::int32_t minimumSize);
  void ReleaseBuffer(std::int32_t newLength = -1);

  // The capacity class that a request of n bytes (terminator included) gets.
  static std::int32_t CapacityClass(std::int32_t n);

 private:
  void Reserve(std::int32_t n);
  void GrowKeepingText(std::int32_t neededSize);
  void AppendChars(const char* text, std::int32_t count);

  char* m_buffer = nullptr;
  std::int32_t m_capacity = 0;
  std::int32_t m_length = 0;
  AllocatorKind m_bufferAllocator = AllocNone;
  AllocatorKind m_allocator = AllocHeap;
};

// The text, or "" for a string without a buffer: safe to hand to printf and C APIs.
inline const char* TextOrEmpty(const CDynString& s) { return s.GetText() != nullptr ? s.GetText() : ""; }
