#pragma once
// The squarified treemap rule (Bruls, Huizing and van Wijk, 2000) on exact
// rectangles: areas, largest first, laid out in rows along the shorter side
// of what is left, a row growing while that makes its worst aspect ratio no
// worse. Floating point throughout; rounding to pixels is the caller's.

#include <cstddef>
#include <vector>

struct ExactRect {
  double left = 0;
  double top = 0;
  double right = 0;
  double bottom = 0;
  double Width() const { return right - left; }
  double Height() const { return bottom - top; }
};

// The worst aspect ratio (1 or more) of a row whose areas add up to sum,
// the largest and smallest of them as given, laid along a side of that length.
double WorstAspectRatio(double side, double sum, double largest, double smallest);

// Places areas[0, count) (largest first, each above zero, adding up to
// rect's area) in rect, one row after another, into out[0, count). Stops
// before a row whose first area is below negligible: those areas, and all
// after them, are smaller still and would not be seen. Returns how many were
// placed. rowEnds, when given, receives the index after each row.
std::size_t Squarify(const double* areas, std::size_t count, const ExactRect& rect, double negligible,
                     ExactRect* out, std::vector<std::size_t>* rowEnds = nullptr);
