#pragma once
// A stream the report is written to that keeps its first failure (a full
// disk, a closed descriptor, a reader gone), so that a report that did not
// arrive is never taken for a success. Once a write has failed, the rest
// is not attempted.

#include <cstddef>
#include <cstdio>

class ReportOutput {
 public:
  explicit ReportOutput(std::FILE* stream) : m_stream(stream) {}

  void Write(const char* text, std::size_t length);
  // Flushes what is buffered; true when everything written arrived.
  bool Finish();
  // The errno of the first failure; 0 while there is none.
  int Error() const { return m_error; }

 private:
  void Fail();

  std::FILE* m_stream;
  int m_error = 0;
};

// Says on standard error why the report could not be written, unless its
// reader simply stopped reading (| head): that ends quietly.
void ReportOutputFailure(int error);
