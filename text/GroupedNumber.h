#pragma once
// Sizes as decimal text grouped the way the system default locale groups
// digits (never the user's locale), without a decimal part.

#include <cstdint>
#include <string>
#include <string_view>

#include "text/DynString.h"

class NumberLocale {
 public:
  virtual ~NumberLocale() = default;
  // Called once before a run of labels; a locale that is costly to read
  // reads it here rather than for every number.
  virtual void BeginPass() {}
  // Writes a text of decimal digits with the locale's thousands separator
  // and grouping.
  virtual CDynString FormatDigits(const CDynString& digits) = 0;
  // Appends what FormatDigits gives, without a string of its own where the
  // locale can: a label a folder must not cost several allocations.
  virtual void AppendDigits(std::string_view digits, std::string& out);
};

// Digits in groups of groupSize counted from the right, separator between
// them. A group size of 0 or an empty separator leaves the digits as they are.
CDynString GroupDigits(const CDynString& digits, unsigned groupSize, const char* separator);
void AppendGroupedDigits(std::string_view digits, unsigned groupSize, const char* separator,
                         std::string& out);

// A locale with fixed rules, for platforms that read them once and for tests.
class FixedNumberLocale : public NumberLocale {
 public:
  FixedNumberLocale(unsigned groupSize, const char* separator);
  CDynString FormatDigits(const CDynString& digits) override;
  void AppendDigits(std::string_view digits, std::string& out) override;

 private:
  unsigned m_groupSize;
  char m_separator[8];
};

CDynString FormatGroupedNumber(std::uint64_t value, NumberLocale& locale);
// The same text, appended to out.
void AppendGroupedNumber(std::uint64_t value, NumberLocale& locale, std::string& out);
