#include "text/IntToText.h"

namespace {

// Symmetric about the '0' at its centre; only the upper half is ever read.
const char* const kDigitTable = "ZYXWVUTSRQPONMLKJIHGFEDCBA9876543210123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr int kDigitTableCentre = 35;

// Radix 2 needs the most digits: one per bit.
constexpr int kMaxDigits = 64;

}  // namespace

CDynString IntToText(std::uint64_t value, std::uint8_t radix) {
  if (radix < 2 || radix > 36) return CDynString(AllocHeap);

  char scratch[kMaxDigits + 1];
  char* digit = scratch + kMaxDigits;
  *digit = 0;
  do {
    const std::uint64_t remainder = value % radix;
    value /= radix;
    *--digit = kDigitTable[kDigitTableCentre + static_cast<int>(remainder)];
  } while (value != 0);
  return CDynString(digit, AllocHeap);
}
