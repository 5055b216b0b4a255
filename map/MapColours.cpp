#include "map/MapColours.h"

#include <algorithm>
#include <cmath>

namespace {

// Successive hues a golden angle apart: neighbours never look alike, however
// many there are.
constexpr double kGoldenAngle = 137.50776405003785;
constexpr int kShadedLevels = 6;  // deeper levels keep the last shade

std::uint8_t Channel(double value) {
  return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0, 1.0) * 255.0));
}

MapColour FromHsl(double hueDegrees, double saturation, double lightness) {
  const double chroma = (1 - std::fabs(2 * lightness - 1)) * saturation;
  const double sector = hueDegrees / 60.0;
  const double second = chroma * (1 - std::fabs(std::fmod(sector, 2.0) - 1));
  double red = 0, green = 0, blue = 0;
  switch (static_cast<int>(sector) % 6) {
    case 0:
      red = chroma, green = second;
      break;
    case 1:
      red = second, green = chroma;
      break;
    case 2:
      green = chroma, blue = second;
      break;
    case 3:
      green = second, blue = chroma;
      break;
    case 4:
      red = second, blue = chroma;
      break;
    default:
      red = chroma, blue = second;
      break;
  }
  const double base = lightness - chroma / 2;
  return MapColour{Channel(red + base), Channel(green + base), Channel(blue + base)};
}

MapColour Grey(int depth, bool ownFiles) {
  const double level = 0.78 + 0.03 * std::min(depth, kShadedLevels) + (ownFiles ? 0.06 : 0);
  const std::uint8_t value = Channel(level);
  return MapColour{value, value, value};
}

}  // namespace

MapColour BlockColour(int hue, int depth, bool ownFiles) {
  if (hue == kNoHue) return Grey(depth, ownFiles);
  const int shade = std::clamp(depth - 1, 0, kShadedLevels);
  const double hueDegrees = std::fmod(hue * kGoldenAngle, 360.0);
  const double saturation = (0.62 - 0.06 * shade) * (ownFiles ? 0.35 : 1.0);
  const double lightness = 0.58 + 0.05 * shade + (ownFiles ? 0.06 : 0);
  return FromHsl(hueDegrees, saturation, lightness);
}
