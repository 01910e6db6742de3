// The binary mask rasteriser against a pixel-by-pixel reference, on odd sizes and centres.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "render/wipes/mask_raster.h"

namespace kest {
namespace {

// Whether the direction of (px, py) lies in the clockwise turn from `start` over `sweep`.
bool InSector(double px, double py, double start, double sweep) {
  if (sweep < 0) start += sweep, sweep = -sweep;
  if (sweep >= 360) return true;
  double angle = std::atan2(px, -py) * 180.0 / std::numbers::pi - start;
  angle = std::fmod(angle, 360.0);
  if (angle < 0) angle += 360.0;
  return angle < sweep;
}

// Pixels within this many degrees of an edge may go either way (the two tests round apart).
bool NearEdge(double px, double py, double start, double sweep) {
  const double angle = std::atan2(px, -py) * 180.0 / std::numbers::pi;
  for (const double edge : {start, start + sweep}) {
    double d = std::fmod(std::fabs(angle - edge), 360.0);
    d = std::min(d, 360.0 - d);
    if (d < 1e-6) return true;
  }
  return false;
}

TEST(MaskRaster, SectorsMatchThePerPixelTest) {
  std::mt19937 random(77);
  for (int round = 0; round < 300; ++round) {
    const std::int32_t w = 1 + static_cast<std::int32_t>(random() % 41), h = 1 + static_cast<std::int32_t>(random() % 37);
    const double cx = (random() % (2 * w + 1)) / 2.0, cy = (random() % (2 * h + 1)) / 2.0;
    const double start = static_cast<double>(random() % 7200) / 10.0 - 360.0;
    const double sweep = static_cast<double>(random() % 8000) / 10.0 - 400.0;
    std::vector<std::uint8_t> bits(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0);
    FillSector({bits.data(), w, h}, cx, cy, start, sweep, 255);
    for (std::int32_t y = 0; y < h; ++y) {
      for (std::int32_t x = 0; x < w; ++x) {
        const double px = x + 0.5 - cx, py = y + 0.5 - cy;
        if ((px == 0 && py == 0) || NearEdge(px, py, sweep < 0 ? start + sweep : start, std::fabs(sweep))) continue;
        ASSERT_EQ(bits[static_cast<std::size_t>(y * w + x)] == 255, InSector(px, py, start, sweep))
            << w << "x" << h << " centre " << cx << "," << cy << " start " << start << " sweep " << sweep << " at " << x
            << "," << y;
      }
    }
  }
}

TEST(MaskRaster, DiscsMatchThePerPixelTest) {
  std::mt19937 random(78);
  for (int round = 0; round < 300; ++round) {
    const std::int32_t w = 1 + static_cast<std::int32_t>(random() % 41), h = 1 + static_cast<std::int32_t>(random() % 37);
    const double cx = static_cast<double>(random() % 1000) / 10.0 - 30.0, cy = static_cast<double>(random() % 1000) / 10.0 - 30.0;
    const double radius = static_cast<double>(random() % 600) / 10.0;
    std::vector<std::uint8_t> bits(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 7);
    FillDisc({bits.data(), w, h}, cx, cy, radius, 255);
    for (std::int32_t y = 0; y < h; ++y)
      for (std::int32_t x = 0; x < w; ++x) {
        const double px = x + 0.5 - cx, py = y + 0.5 - cy;
        ASSERT_EQ(bits[static_cast<std::size_t>(y * w + x)], px * px + py * py < radius * radius ? 255 : 7)
            << w << "x" << h << " centre " << cx << "," << cy << " radius " << radius << " at " << x << "," << y;
      }
  }
}

}  // namespace
}  // namespace kest
