#pragma once
// Takes a fuzzer's bytes apart into the pieces a target needs: numbers from
// the front, texts cut at NUL bytes. Runs dry into zeros and empty texts,
// so every input is a valid one.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

  bool Empty() const { return m_offset >= m_size; }

  std::uint8_t Byte() { return Empty() ? 0 : m_data[m_offset++]; }

  std::uint64_t Number(int bytes) {
    std::uint64_t value = 0;
    for (int i = 0; i < bytes; ++i) value = (value << 8) | Byte();
    return value;
  }

  // The bytes up to the next NUL (dropped) or the end.
  std::string Text() {
    std::string text;
    while (!Empty()) {
      const char c = static_cast<char>(m_data[m_offset++]);
      if (c == '\0') break;
      text += c;
    }
    return text;
  }

 private:
  const std::uint8_t* m_data;
  std::size_t m_size;
  std::size_t m_offset = 0;
};

// Stops the run with the message when a property does not hold: libFuzzer
// then keeps the input that broke it.
#define FUZZ_CHECK(condition)                                                            \
  do {                                                                                   \
    if (!(condition)) {                                                                  \
      std::fprintf(stderr, "%s:%d: %s does not hold\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                      \
    }                                                                                    \
  } while (0)
