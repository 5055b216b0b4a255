#include <gtest/gtest.h>

#include <string>

#include "path/NameRules.h"
#include "platform/posix/NameMapping.h"

namespace {

// The private-use characters U+F000 + byte, in UTF-8.
const std::string kColon = "\xEF\x80\xBA";
const std::string kBackslash = "\xEF\x81\x9C";
const std::string kQuote = "\xEF\x80\xA2";
const std::string kPipe = "\xEF\x81\xBC";
const std::string kLess = "\xEF\x80\xBC";
const std::string kGreater = "\xEF\x80\xBE";
const std::string kLead = "\xEF\x83\xAF";  // stands for a lone 0xEF byte

struct MappedName {
  const char* name;
  std::string native;
  std::string mapped;
};

void PrintTo(const MappedName& c, std::ostream* out) { *out << c.name; }

const MappedName kMappedNames[] = {
    {"Plain", "plain.txt", "plain.txt"},
    {"Colon", "a:b", "a" + kColon + "b"},
    {"DriveLike", "C:", "C" + kColon},
    {"Backslash", "back\\slash", "back" + kBackslash + "slash"},
    {"Quote", "q\"uote", "q" + kQuote + "uote"},
    {"Pipe", "p|pe", "p" + kPipe + "pe"},
    {"AngleBrackets", "<x>", kLess + "x" + kGreater},
    {"Wildcards", "*?", "*?"},  // the engine takes these as they are
    {"OtherUtf8", "\xC3\xBCn\xC3\xAF", "\xC3\xBCn\xC3\xAF"},
    // A real U+F03A would read back as ':'; its first byte travels mapped.
    {"PrivateUseColon", kColon, kLead + "\x80\xBA"},
    {"PrivateUseLead", kLead, kLead + "\x83\xAF"},
    // A 0xEF that begins nothing mapped stays as it is.
    {"LoneLead", "\xEF:", "\xEF" + kColon},
    {"CutShortLead", "\xEF\x80", "\xEF\x80"},
};

class NameMappingTest : public ::testing::TestWithParam<MappedName> {};

TEST_P(NameMappingTest, MapsBothWays) {
  const MappedName& name = GetParam();
  EXPECT_EQ(MapName(name.native), name.mapped);
  EXPECT_EQ(UnmapName(name.mapped), name.native);
  EXPECT_EQ(NeedsMapping(name.native), name.native != name.mapped);
  EXPECT_EQ(NeedsMapping(name.native.c_str()), name.native != name.mapped);
  EXPECT_EQ(NeedsUnmapping(name.mapped), name.native != name.mapped);
}

TEST_P(NameMappingTest, MappedNameEntersAPath) {
  const std::string mapped = MapName(GetParam().native);
  EXPECT_TRUE(IsValidName(mapped.c_str()));
  EXPECT_FALSE(IsDriveDesignator(mapped.c_str()));
}

INSTANTIATE_TEST_SUITE_P(Names, NameMappingTest, ::testing::ValuesIn(kMappedNames),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(NameMappingRoundTrip, EveryByteAndPairOfBytesComesBack) {
  for (int first = 1; first < 256; ++first) {
    for (int second = 0; second < 256; second += 17) {
      std::string native(1, static_cast<char>(first));
      if (second != 0) native += static_cast<char>(second);
      native += kLess;
      ASSERT_EQ(UnmapName(MapName(native)), native) << first << " " << second;
    }
  }
}

}  // namespace
