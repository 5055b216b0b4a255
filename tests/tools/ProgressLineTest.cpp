#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/ambrell-scan/ProgressLine.h"

namespace {

using std::chrono::milliseconds;
using TimePoint = std::chrono::steady_clock::time_point;

class ProgressLineTest : public ::testing::Test {
 protected:
  ProgressLine MakeLine(std::size_t width) {
    return ProgressLine([this] { return now; }, [this](std::string_view text) { written.emplace_back(text); },
                        width, 2, comma);
  }

  TimePoint now{};
  std::vector<std::string> written;
  FixedNumberLocale comma{3, ","};
};

ProgressFigures Figures(std::uint64_t folders, std::uint64_t bytes, std::uint64_t used = 0) {
  ProgressFigures figures;
  figures.folders = folders;
  figures.bytes = bytes;
  figures.usedBytes = used;
  return figures;
}

TEST_F(ProgressLineTest, RedrawsAtMostTenTimesASecondWhateverItIsAskedAt) {
  ProgressLine line = MakeLine(80);
  const TimePoint start = now;
  std::vector<milliseconds> drawnAt;
  // Ten seconds asked every 7 ms: drawn on the first ask 100 ms or more after the last.
  for (int step = 0; step < 1430; ++step) {
    now += milliseconds(7);
    if (line.Update(Figures(step, 0), nullptr))
      drawnAt.push_back(std::chrono::duration_cast<milliseconds>(now - start));
  }
  ASSERT_EQ(drawnAt.size(), 95u);
  EXPECT_EQ(written.size(), 95u);
  EXPECT_EQ(drawnAt.front(), milliseconds(105)) << "nothing in the first 100 ms";
  for (std::size_t i = 1; i < drawnAt.size(); ++i) EXPECT_EQ(drawnAt[i] - drawnAt[i - 1], milliseconds(105));
  // Asked seldom, it draws every time.
  for (int step = 0; step < 8; ++step) {
    now += milliseconds(250);
    EXPECT_TRUE(line.Update(Figures(step, 0), nullptr));
  }
}

TEST_F(ProgressLineTest, AShortScanDrawsNothingAndClearsNothing) {
  ProgressLine line = MakeLine(80);
  now += milliseconds(99);
  EXPECT_FALSE(line.Update(Figures(1, 1), nullptr));
  line.Clear();
  EXPECT_TRUE(written.empty());
}

TEST_F(ProgressLineTest, EachDrawReturnsToTheLineStartAndBlanksWhatALongerOneLeft) {
  ProgressLine line = MakeLine(80);
  now += milliseconds(100);
  line.Update(Figures(12345, 9663676416, 19327352832), [] { return std::string("/usr/share/doc"); });
  ASSERT_EQ(written.size(), 1u);
  EXPECT_EQ(written[0], "\r12,345 folders, 9,216 MB, 50%  /usr/share/doc");
  now += milliseconds(100);
  line.Update(Figures(1, 0), [] { return std::string("/"); });
  EXPECT_EQ(written[1], "\r1 folder, 0 MB  /" + std::string(written[0].size() - 18, ' '));
  line.Clear();
  EXPECT_EQ(written[2], "\r" + std::string(17, ' ') + "\r") << "the blanks left before need no blanking";
}

TEST(ProgressTextTest, FitsTheWidthLessOneColumnKeepingTheFolderEnd) {
  FixedNumberLocale comma{3, ","};
  const std::string deep =
      "/data/" + std::string(200, 'x') + "/\xE6\x96\x87\xE5\xAD\x97/end";  // wide characters
  for (std::size_t width : {0u, 1u, 10u, 20u, 27u, 40u, 80u, 226u, 300u}) {
    const std::string text = ProgressText(Figures(7, 3 << 20, 6 << 20), deep, width, 2, comma);
    EXPECT_LE(TerminalColumns(text), width > 0 ? width - 1 : 0) << width << ": " << text;
    if (width >= 40 && width < 230) {
      EXPECT_EQ(text.rfind("7 folders, 3 MB, 50%  ...", 0), 0u) << text;
      EXPECT_EQ(text.substr(text.size() - 4), "/end");
    }
  }
  EXPECT_EQ(ProgressText(Figures(7, 3 << 20), "/a", 300, 2, comma), "7 folders, 3 MB  /a")
      << "folders that are not whole drives have no share";
}

TEST(ProgressTextTest, CountsWideCharactersTwiceAndMalformedBytesOnce) {
  EXPECT_EQ(TerminalColumns("abc"), 3u);
  EXPECT_EQ(TerminalColumns("\xC3\xA9"), 1u);          // é
  EXPECT_EQ(TerminalColumns("\xE6\x96\x87"), 2u);      // a CJK ideograph
  EXPECT_EQ(TerminalColumns("\xF0\x9F\x98\x80"), 2u);  // an emoji
  EXPECT_EQ(TerminalColumns("\xFF\xC3"), 2u);
}

}  // namespace
