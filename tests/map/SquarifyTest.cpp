#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <vector>

#include "map/Squarify.h"

namespace {

struct Case {
  const char* name;
  ExactRect rect;
  std::function<std::vector<double>(std::mt19937_64&, double area)> areas;
};

// Areas drawn from weights, scaled to fill the rectangle, largest first.
std::vector<double> Scaled(std::vector<double> weights, double area) {
  double sum = 0;
  for (double w : weights) sum += w;
  for (double& w : weights) w = w / sum * area;
  std::sort(weights.begin(), weights.end(), std::greater<double>());
  return weights;
}

std::vector<double> Uniform(std::mt19937_64& random, double area) {
  std::vector<double> weights(1 + random() % 60);
  for (double& w : weights) w = 1 + double(random() % 1000);
  return Scaled(weights, area);
}

// Sizes spread over many orders of magnitude, as on a real disk.
std::vector<double> Skewed(std::mt19937_64& random, double area) {
  std::vector<double> weights(1 + random() % 200);
  for (double& w : weights) w = std::ldexp(1.0 + double(random() % 1000), int(random() % 40));
  return Scaled(weights, area);
}

std::vector<double> Equal(std::mt19937_64& random, double area) {
  return Scaled(std::vector<double>(1 + random() % 300, 1.0), area);
}

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

class SquarifyTest : public ::testing::TestWithParam<Case> {};

bool Overlap(const ExactRect& a, const ExactRect& b) {
  const double slack = 1e-9;
  return a.left < b.right - slack && b.left < a.right - slack && a.top < b.bottom - slack &&
         b.top < a.bottom - slack;
}

// Each area exactly where it belongs, apart from every other and inside the
// rectangle, and every finished row one that its next area would have made
// worse.
TEST_P(SquarifyTest, RowsAreSquarifiedAndShareTheRectangleExactly) {
  const Case& c = GetParam();
  std::mt19937_64 random(7);
  for (int round = 0; round < 200; ++round) {
    const double area = c.rect.Width() * c.rect.Height();
    const std::vector<double> areas = c.areas(random, area);
    std::vector<ExactRect> placed(areas.size());
    std::vector<std::size_t> rowEnds;
    ASSERT_EQ(Squarify(areas.data(), areas.size(), c.rect, 0, placed.data(), &rowEnds), areas.size());
    for (std::size_t i = 0; i < areas.size(); ++i) {
      const ExactRect& r = placed[i];
      EXPECT_NEAR(r.Width() * r.Height(), areas[i], 1e-6 * area) << i;
      EXPECT_TRUE(r.left >= c.rect.left && r.top >= c.rect.top && r.right <= c.rect.right &&
                  r.bottom <= c.rect.bottom)
          << i;
      for (std::size_t j = 0; j < i; ++j) EXPECT_FALSE(Overlap(r, placed[j])) << i << " and " << j;
    }
    std::size_t start = 0;
    ExactRect free = c.rect;
    for (std::size_t end : rowEnds) {
      const double side = std::min(free.Width(), free.Height());
      double sum = 0;
      for (std::size_t i = start; i < end; ++i) sum += areas[i];
      if (end < areas.size()) {
        // Worse, or equal as far as rounding tells: x87 arithmetic may end a row on a
        // tie that 64-bit arithmetic continues.
        const double without = WorstAspectRatio(side, sum, areas[start], areas[end - 1]);
        EXPECT_GT(WorstAspectRatio(side, sum + areas[end], areas[start], areas[end]), without * (1 - 1e-12))
            << "row ending at " << end;
      }
      // What the row leaves: the rest of the rectangle, beyond its strip.
      const ExactRect& first = placed[start];
      if (free.Width() >= free.Height()) {
        free.left = first.right;
      } else {
        free.top = first.bottom;
      }
      start = end;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Areas, SquarifyTest,
    ::testing::Values(Case{"Uniform", ExactRect{0, 0, 1600, 1000}, Uniform},
                      Case{"Skewed", ExactRect{10, 20, 1610, 1020}, Skewed},
                      Case{"EqualInATallStrip", ExactRect{0, 0, 40, 1000}, Equal},
                      Case{"SkewedInAWideStrip", ExactRect{3.25, 7.5, 1200.75, 30.5}, Skewed}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST(Squarify, StopsAtTheFirstRowOfNegligibleAreas) {
  const double areas[] = {600, 300, 60, 30, 6, 3, 1};
  ExactRect placed[7];
  const std::size_t count = Squarify(areas, 7, ExactRect{0, 0, 50, 20}, 10, placed);
  EXPECT_GE(count, 4u);
  EXPECT_LT(count, 7u);
  for (std::size_t i = count; i-- > 0;) EXPECT_GT(placed[i].Width() * placed[i].Height(), 0);
}

}  // namespace
