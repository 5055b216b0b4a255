// Path parsing, ToString and the three joins. Must hold: a path's text
// parses back to a path with the same text and as many names; the library
// throws nothing but CPathException, with one of its three codes; a failed
// parse leaves the path empty.

#include "path/Path.h"
#include "tests/fuzz/FuzzInput.h"

namespace {

void CheckCode(const CPathException& error) {
  FUZZ_CHECK(error.GetCode() >= PATHERR_INVALID_NAME && error.GetCode() <= PATHERR_BAD_OPERATION);
}

std::string TextOf(const CPath& path) { return TextOrEmpty(path.ToString()); }

bool TryParse(const std::string& text, CPath& path) {
  try {
    path.Parse(CDynString(text.c_str(), AllocHeap));
    return true;
  } catch (const CPathException& error) {
    CheckCode(error);
    FUZZ_CHECK(path.GetCount() == 0);
    return false;
  }
}

void CheckRoundTrip(const CPath& path) {
  const std::string text = TextOf(path);
  CPath again;
  FUZZ_CHECK(TryParse(text, again));
  FUZZ_CHECK(TextOf(again) == text);
  FUZZ_CHECK(again.GetCount() == path.GetCount());
}

template <typename Join>
void CheckJoin(const Join& join) {
  try {
    CheckRoundTrip(join());
  } catch (const CPathException& error) {
    CheckCode(error);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  const std::string leftText = input.Text();
  const std::string rightText = input.Text();
  CPath left;
  CPath right;
  if (TryParse(leftText, left)) CheckRoundTrip(left);
  if (TryParse(rightText, right)) CheckRoundTrip(right);

  CheckJoin([&] { return left + right; });
  try {
    const CPathComponent component(rightText.c_str());
    CheckJoin([&] { return left + component; });
    CheckJoin([&] { return component + left; });
  } catch (const CPathException& error) {
    CheckCode(error);
  }
  CPath combined;
  if (combined.Combine(left, right)) CheckRoundTrip(combined);
  return 0;
}
