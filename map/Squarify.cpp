#include "map/Squarify.h"

#include <algorithm>

double WorstAspectRatio(double side, double sum, double largest, double smallest) {
  const double sides = side * side;
  const double sums = sum * sum;
  return std::max(sides * largest / sums, sums / (sides * smallest));
}

namespace {

// The areas of one row across the shorter side of free, which loses the
// strip they take. The last row takes all that is left, so rounding in the
// sums never leaves a sliver uncovered.
void PlaceRow(const double* areas, std::size_t count, double sum, bool lastRow, ExactRect& free,
              ExactRect* out) {
  const bool column = free.Width() >= free.Height();
  const double length = column ? free.Height() : free.Width();
  const double across = column ? free.Width() : free.Height();
  const double thickness = lastRow ? across : std::min(across, sum / length);
  double along = column ? free.top : free.left;
  const double end = column ? free.bottom : free.right;
  for (std::size_t i = 0; i < count; ++i) {
    const double next = i + 1 == count ? end : std::min(end, along + areas[i] / thickness);
    out[i] = column ? ExactRect{free.left, along, free.left + thickness, next}
                    : ExactRect{along, free.top, next, free.top + thickness};
    along = next;
  }
  if (column) {
    free.left = lastRow ? free.right : free.left + thickness;
  } else {
    free.top = lastRow ? free.bottom : free.top + thickness;
  }
}

// The end of the row that starts at start: it grows while its worst aspect
// ratio does not get worse.
std::size_t RowEnd(const double* areas, std::size_t count, std::size_t start, double side, double& sum) {
  sum = areas[start];
  double worst = WorstAspectRatio(side, sum, areas[start], areas[start]);
  std::size_t end = start + 1;
  for (; end < count; ++end) {
    const double grown = sum + areas[end];
    const double grownWorst = WorstAspectRatio(side, grown, areas[start], areas[end]);
    if (grownWorst > worst) break;
    sum = grown;
    worst = grownWorst;
  }
  return end;
}

}  // namespace

std::size_t Squarify(const double* areas, std::size_t count, const ExactRect& rect, double negligible,
                     ExactRect* out, std::vector<std::size_t>* rowEnds) {
  ExactRect free = rect;
  std::size_t start = 0;
  while (start < count && areas[start] >= negligible) {
    const double side = std::min(free.Width(), free.Height());
    if (!(side > 0)) break;
    double sum = 0;
    const std::size_t end = RowEnd(areas, count, start, side, sum);
    PlaceRow(areas + start, end - start, sum, end == count, free, out + start);
    if (rowEnds != nullptr) rowEnds->push_back(end);
    start = end;
  }
  return start;
}
