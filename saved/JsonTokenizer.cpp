#include "saved/JsonTokenizer.h"

#include <cstdio>

namespace {

constexpr std::size_t kChunkSize = 1 << 16;
constexpr std::size_t kMaxNumberLength = 256;

bool IsDigit(int c) { return c >= '0' && c <= '9'; }

int HexValue(int c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string DescribeByte(int byte) {
  if (byte < 0) return "the end of the file";
  char text[16];
  if (byte > 0x20 && byte < 0x7F) {
    std::snprintf(text, sizeof text, "'%c'", byte);
  } else {
    std::snprintf(text, sizeof text, "byte 0x%02X", static_cast<unsigned>(byte));
  }
  return text;
}

}  // namespace

JsonTokenizer::JsonTokenizer(ByteSource& source) : m_source(source), m_buffer(kChunkSize) {
  // A byte order mark is no part of JSON, but some editors write one.
  if (Peek() == 0xEF && m_end - m_next >= 3 && static_cast<unsigned char>(m_next[1]) == 0xBB &&
      static_cast<unsigned char>(m_next[2]) == 0xBF) {
    m_next += 3;
  }
}

bool JsonTokenizer::Refill() {
  const std::size_t count = m_source.Read(m_buffer.data(), m_buffer.size());
  if (count == 0 && m_source.Failed()) FailHere("the file could not be read");
  m_next = m_buffer.data();
  m_end = m_next + count;
  return count != 0;
}

int JsonTokenizer::Take() {
  const int c = Peek();
  if (c < 0) return c;
  ++m_next;
  if (c == '\n') {
    ++m_position.line;
    m_position.column = 1;
  } else {
    ++m_position.column;
  }
  return c;
}

void JsonTokenizer::FailHere(const std::string& message) const { throw JsonError(m_position, message); }

void JsonTokenizer::FailAtToken(const std::string& message) const { throw JsonError(m_tokenStart, message); }

void JsonTokenizer::FailUnexpected(int byte) const {
  if (byte < 0) FailHere("the file ends too early");
  FailHere("unexpected " + DescribeByte(byte));
}

void JsonTokenizer::SkipWhitespace() {
  for (int c = Peek(); c == ' ' || c == '\t' || c == '\n' || c == '\r'; c = Peek()) Take();
}

JsonToken JsonTokenizer::Next() {
  SkipWhitespace();
  m_tokenStart = m_position;
  const int c = Peek();
  switch (c) {
    case -1:
      return JsonToken::End;
    case '[':
      Take();
      return JsonToken::BeginArray;
    case '{':
      Take();
      return JsonToken::BeginObject;
    case ']':
      Take();
      return JsonToken::EndArray;
    case '}':
      Take();
      return JsonToken::EndObject;
    case ',':
      Take();
      return JsonToken::Comma;
    case ':':
      Take();
      return JsonToken::Colon;
    case '"':
      ReadString();
      return JsonToken::String;
    case 't':
      return ReadWord("true", JsonToken::True);
    case 'f':
      return ReadWord("false", JsonToken::False);
    case 'n':
      return ReadWord("null", JsonToken::Null);
    default:
      break;
  }
  if (c == '-' || IsDigit(c)) {
    ReadNumber();
    return JsonToken::Number;
  }
  FailUnexpected(c);
}

JsonToken JsonTokenizer::ReadWord(const char* word, JsonToken token) {
  for (const char* expected = word; *expected != '\0'; ++expected) {
    const int c = Peek();
    if (c != static_cast<unsigned char>(*expected)) FailUnexpected(c);
    Take();
  }
  return token;
}

void JsonTokenizer::ReadString() {
  Take();  // the opening quote
  m_text.clear();
  for (;;) {
    const int c = Peek();
    if (c < 0) FailHere("the file ends inside a string");
    if (c < 0x20) FailHere("a control character in a string must be written as an escape");
    Take();
    if (c == '"') return;
    if (m_text.size() >= kMaxStringBytes) FailAtToken("a string longer than 1 MiB");
    if (c == '\\') {
      ReadEscape();
    } else {
      m_text += static_cast<char>(c);
    }
  }
}

void JsonTokenizer::ReadEscape() {
  const TextPosition backslash{m_position.line, m_position.column - 1};
  const int c = Take();
  switch (c) {
    case '"':
      m_text += '"';
      return;
    case '\\':
      m_text += '\\';
      return;
    case '/':
      m_text += '/';
      return;
    case 'b':
      m_text += '\b';
      return;
    case 'f':
      m_text += '\f';
      return;
    case 'n':
      m_text += '\n';
      return;
    case 'r':
      m_text += '\r';
      return;
    case 't':
      m_text += '\t';
      return;
    case 'u':
      break;
    default:
      throw JsonError(backslash, "unknown escape \\" + (c < 0 ? std::string() : DescribeByte(c)));
  }
  unsigned code = ReadHexDigits();
  // A pair of UTF-16 surrogates is one character; a lone one is kept as
  // it is (in the generalised UTF-8 that file systems also accept).
  if (code >= 0xD800 && code <= 0xDBFF && Peek() == '\\') {
    Take();
    if (Take() != 'u') FailHere("a high surrogate must be followed by \\u");
    const unsigned low = ReadHexDigits();
    if (low >= 0xDC00 && low <= 0xDFFF) {
      code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
    } else {
      AppendCodePoint(code);
      code = low;
    }
  }
  AppendCodePoint(code);
}

unsigned JsonTokenizer::ReadHexDigits() {
  unsigned code = 0;
  for (int i = 0; i < 4; ++i) {
    const int digit = HexValue(Peek());
    if (digit < 0) FailHere("\\u needs four hexadecimal digits");
    Take();
    code = code * 16 + static_cast<unsigned>(digit);
  }
  return code;
}

void JsonTokenizer::AppendCodePoint(unsigned code) {
  if (code < 0x80) {
    m_text += static_cast<char>(code);
  } else if (code < 0x800) {
    m_text += static_cast<char>(0xC0 | (code >> 6));
    m_text += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    m_text += static_cast<char>(0xE0 | (code >> 12));
    m_text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    m_text += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    m_text += static_cast<char>(0xF0 | (code >> 18));
    m_text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    m_text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    m_text += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?
void JsonTokenizer::ReadNumber() {
  m_text.clear();
  if (Peek() == '-') m_text += static_cast<char>(Take());
  if (Peek() == '0') {
    m_text += static_cast<char>(Take());
  } else {
    ReadDigits();
  }
  if (Peek() == '.') {
    m_text += static_cast<char>(Take());
    ReadDigits();
  }
  if (Peek() == 'e' || Peek() == 'E') {
    m_text += static_cast<char>(Take());
    if (Peek() == '+' || Peek() == '-') m_text += static_cast<char>(Take());
    ReadDigits();
  }
}

void JsonTokenizer::ReadDigits() {
  if (!IsDigit(Peek())) FailUnexpected(Peek());
  while (IsDigit(Peek())) {
    if (m_text.size() >= kMaxNumberLength) FailAtToken("a number longer than 256 characters");
    m_text += static_cast<char>(Take());
  }
}
