#include "tools/ambrell-scan/ReportOutput.h"

#include <cerrno>
#include <cstring>

void ReportOutput::Fail() {
  // A stream may fail without saying why; the failure counts all the same.
  m_error = errno != 0 ? errno : EIO;
}

void ReportOutput::Write(const char* text, std::size_t length) {
  if (m_error != 0 || length == 0) return;
  errno = 0;
  if (std::fwrite(text, 1, length, m_stream) != length) Fail();
}

bool ReportOutput::Finish() {
  if (m_error != 0) return false;
  errno = 0;
  if (std::fflush(m_stream) != 0 || std::ferror(m_stream)) Fail();
  return m_error == 0;
}

void ReportOutputFailure(int error) {
  if (error == EPIPE) return;
  std::fprintf(stderr, "ambrell-scan: cannot write the report: %s\n", std::strerror(error));
}
