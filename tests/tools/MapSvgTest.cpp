#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scan/SizeLabels.h"
#include "tests/support/BuiltTree.h"
#include "tools/ambrell-scan/MapSvg.h"
#include "tools/ambrell-scan/ReportOptions.h"
#include "tools/ambrell-scan/XmlText.h"

namespace {

TEST(MapOptionsTest, SizesAreTakenWithinWhatAMapCanBe) {
  struct Case {
    std::vector<std::string> arguments;
    int width;
    int height;
  };
  const Case cases[] = {
      {{"--map", "m.svg"}, 1600, 1000},
      {{"--map=m.svg", "--map-size", "800x600"}, 800, 600},
      {{"--map-size=20000X3", "--map", "m.svg", "/data"}, 20000, 3},
  };
  for (const Case& c : cases) {
    ReportOptions options;
    std::string error;
    ASSERT_TRUE(ParseReportOptions(c.arguments, options, error)) << error;
    EXPECT_EQ(options.mapFile, "m.svg");
    EXPECT_EQ(options.mapWidth, c.width);
    EXPECT_EQ(options.mapHeight, c.height);
  }
}

TEST(MapOptionsTest, RefusesABadMapOrSizeWithAMessage) {
  const std::vector<std::vector<std::string>> cases = {
      {"--map"},
      {"--map="},
      {"--map", "-"},
      {"--map-size", "800x600"},  // no map to size
      {"--map", "m.svg", "--map-size", "0x600"},
      {"--map", "m.svg", "--map-size", "800x2"},
      {"--map", "m.svg", "--map-size", "20001x600"},
      {"--map", "m.svg", "--map-size", "99999999999999999999x1"},
      {"--map", "m.svg", "--map-size", "800"},
      {"--map", "m.svg", "--map-size", "800x"},
      {"--map", "m.svg", "--map-size", "x600"},
      {"--map", "m.svg", "--map-size", "-800x600"},
      {"--map", "m.svg", "--map-size", "800x600x2"},
      {"--map", "m.svg", "--map-size", "8e2x600"},
      {"--map", "m.svg", "--map-size"},
  };
  for (const auto& arguments : cases) {
    ReportOptions options;
    std::string error;
    EXPECT_FALSE(ParseReportOptions(arguments, options, error)) << arguments.back();
    EXPECT_FALSE(error.empty());
  }
}

TEST(XmlTextTest, EscapesMarkupAndWhatXmlCannotCarry) {
  const std::pair<std::string, std::string> cases[] = {
      {"plain name", "plain name"},
      {"a&b<c>\"d'", "a&amp;b&lt;c&gt;&quot;d&apos;"},
      {"&amp;", "&amp;amp;"},
      {"\xef\xbf\xbe and \xef\xbf\xbf", "\\xef\\xbf\\xbe and \\xef\\xbf\\xbf"},
      {"\xef\xbf\xbd kept", "\xef\xbf\xbd kept"},
      {"\x01", "\\x01"},
      {"\xe6\x97\xa5\xe6\x9c\xac", "\xe6\x97\xa5\xe6\x9c\xac"},
  };
  for (const auto& [text, expected] : cases) {
    std::string out;
    AppendXmlText(text, out);
    EXPECT_EQ(out, expected);
  }
}

class MapSvgTest : public ::testing::Test {
 protected:
  std::string Svg(int width, int height) {
    AccumulateFolderSizes(built.tree);
    TreeMap map;
    map.Layout(built.tree, MapRequest{kNoItem, MapRect{0, 0, width, height}, kMapSvgLineHeight});
    std::string svg;
    WriteMapSvg(map, width, height, MapSvgLabels{plain, 0, locale},
                [&svg](const char* bytes, std::size_t length) { svg.append(bytes, length); });
    return svg;
  }

  BuiltTree built;
  PlainDisplayText plain;
  FixedNumberLocale locale{3, ","};
};

// Every folder drawn is a block whose title is its path and total, the names
// XML cannot carry as the report quotes them, markup escaped.
TEST_F(MapSvgTest, TitlesArePathsAndTotalsAsTheReportPrintsThem) {
  const InsertedItem c = built.Add(kTopLevel, "C:", 1000);
  const InsertedItem a = built.Add(c, "<a & \"b\">", 4000);
  built.Add(a, "line\nbreak\x1b[31m", 3000);
  const std::string svg = Svg(400, 300);
  EXPECT_EQ(svg.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" "
                      "width=\"400\" height=\"300\"",
                      0),
            0u);
  EXPECT_NE(svg.find("<title>C:    (8,000 bytes)</title>"), std::string::npos);
  EXPECT_NE(svg.find("<title>C:\\&lt;a &amp; &quot;b&quot;&gt;    (7,000 bytes)</title>"), std::string::npos);
  EXPECT_NE(svg.find("<title>&quot;C:\\\\&lt;a &amp; \\&quot;b\\&quot;&gt;\\\\line\\nbreak\\x1b[31m&quot;    "
                     "(3,000 bytes)</title>"),
            std::string::npos)
      << svg;
  EXPECT_NE(svg.find("<title>C:\\(files in this folder)    (1,000 bytes)</title>"), std::string::npos);
  EXPECT_NE(svg.find(">&lt;a &amp; &quot;b&quot;&gt;</text>"), std::string::npos);
  EXPECT_EQ(svg.find('\x1b'), std::string::npos);
  EXPECT_EQ(svg.compare(svg.size() - 7, 7, "</svg>\n"), 0);
}

// A folder whose blocks hide it is left out, and so is its title: nothing of
// it would show.
TEST_F(MapSvgTest, AFolderHiddenByItsBlocksIsLeftOut) {
  const InsertedItem c = built.Add(kTopLevel, "C:");
  built.Add(built.Add(c, "only"), "inner", 10);
  const std::string svg = Svg(300, 10);  // too low for headers
  EXPECT_EQ(svg.find("<title>C:    "), std::string::npos);
  EXPECT_EQ(svg.find("<title>C:\\only    "), std::string::npos);
  EXPECT_NE(svg.find("<title>C:\\only\\inner\\(files in this folder)    (10 bytes)</title>"),
            std::string::npos);
}

// However deep, a title keeps the drive and the last names, and its size
// stays bounded: a picture of a deep chain grows with its depth, not its square.
TEST_F(MapSvgTest, ADeepPathIsElidedInTheMiddle) {
  InsertedItem item = built.Add(kTopLevel, "C:");
  for (int level = 0; level < 2000; ++level)
    item = built.Add(item, level == 1999 ? "last" : "level", level == 1999);
  const std::string svg = Svg(300, 10);
  const std::size_t start = svg.find("<title>");
  ASSERT_NE(start, std::string::npos);
  const std::string title = svg.substr(start, svg.find("</title>", start) - start);
  EXPECT_EQ(title.rfind("<title>C:\\level\\level\\", 0), 0u) << title.substr(0, 100);
  EXPECT_NE(title.find("\xe2\x80\xa6"), std::string::npos);
  const std::string end = "\\level\\last\\(files in this folder)    (1 bytes)";
  EXPECT_EQ(title.substr(title.size() - end.size()), end);
  EXPECT_LE(title.size(), 4096u + 60);
}

}  // namespace
