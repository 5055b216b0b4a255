#pragma once
#include <cstdint>

enum PathErrorCode : std::int32_t {
  PATHERR_INVALID_NAME = 1,
  PATHERR_NO_MEMORY = 2,
  PATHERR_BAD_OPERATION = 3,
};

// The path library's only error: a code, nothing else.
class CPathException {
 public:
  explicit CPathException(std::int32_t code) : m_code(code) {}
  CPathException(const CPathException&) = default;
  CPathException& operator=(const CPathException&) = default;
  virtual ~CPathException();

  std::int32_t GetCode() const { return m_code; }

 private:
  std::int32_t m_code;
};
