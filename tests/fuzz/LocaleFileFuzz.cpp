// The system locale settings file's parser and the digit grouping it
// leads to. Must hold: any text is parsed without a crash into a name of
// one line; grouping never loses, adds or reorders a digit.

#include "platform/posix/SystemLocale.h"
#include "tests/fuzz/FuzzInput.h"
#include "text/GroupedNumber.h"

namespace {

void CheckGrouping(FuzzInput& input) {
  const unsigned groupSize = input.Byte() % 8;
  const std::string separator = input.Text().substr(0, 7);
  std::string digits;
  for (const char c : input.Text()) digits += static_cast<char>('0' + static_cast<unsigned char>(c) % 10);
  const CDynString grouped = GroupDigits(CDynString(digits.c_str(), AllocHeap), groupSize, separator.c_str());
  std::string text = TextOrEmpty(grouped);
  if (separator.find_first_of("0123456789") != std::string::npos) return;
  for (std::size_t at; !separator.empty() && (at = text.find(separator)) != std::string::npos;) {
    text.erase(at, separator.size());
  }
  FUZZ_CHECK(text == digits);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string settings(reinterpret_cast<const char*>(data), size);
  const std::string name = NumericLocaleName(settings);
  FUZZ_CHECK(name.find('\n') == std::string::npos);
  FUZZ_CHECK(name.size() <= settings.size());

  FuzzInput input(data, size);
  CheckGrouping(input);
  return 0;
}
