#pragma once
// JSON as a stream of tokens, read a chunk at a time: memory holds one
// chunk and the current token, never the file. Every token knows where it
// began, so that an error can name the line and the column. Nesting is the
// reader's to track, on the heap: a saved tree is as deep as its scan was.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "saved/ByteSource.h"

enum class JsonToken {
  BeginArray,
  EndArray,
  BeginObject,
  EndObject,
  Comma,
  Colon,
  String,
  Number,
  True,
  False,
  Null,
  End,
};

struct TextPosition {
  std::uint64_t line = 1;
  std::uint64_t column = 1;  // in bytes, from 1
};

class JsonError : public std::runtime_error {
 public:
  JsonError(TextPosition where, const std::string& message) : std::runtime_error(message), m_where(where) {}
  TextPosition Where() const { return m_where; }

 private:
  TextPosition m_where;
};

class JsonTokenizer {
 public:
  // A longer string is no name any file system holds.
  static constexpr std::size_t kMaxStringBytes = 1 << 20;

  explicit JsonTokenizer(ByteSource& source);

  // The next token; throws JsonError on text that is not JSON.
  JsonToken Next();
  // A string's bytes with its escapes decoded, or a number as written.
  const std::string& Text() const { return m_text; }
  TextPosition Where() const { return m_tokenStart; }
  [[noreturn]] void FailAtToken(const std::string& message) const;

 private:
  int Peek() {
    if (m_next == m_end && !Refill()) return -1;
    return static_cast<unsigned char>(*m_next);
  }
  int Take();
  bool Refill();
  void SkipWhitespace();
  void ReadString();
  void ReadEscape();
  unsigned ReadHexDigits();
  void AppendCodePoint(unsigned code);
  void ReadNumber();
  void ReadDigits();
  JsonToken ReadWord(const char* word, JsonToken token);
  [[noreturn]] void FailHere(const std::string& message) const;
  [[noreturn]] void FailUnexpected(int byte) const;

  ByteSource& m_source;
  std::vector<char> m_buffer;
  const char* m_next = nullptr;
  const char* m_end = nullptr;
  TextPosition m_position;    // of the next byte
  TextPosition m_tokenStart;  // of the last token
  std::string m_text;
};
