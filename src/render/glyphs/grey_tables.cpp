#include "render/glyphs/grey_tables.h"

#include <algorithm>

namespace kest {

namespace {

// The grey ramps are not linear: they jump ahead at a few grey values, so middle greys look
// darker than their share of coverage.
constexpr std::array<std::uint8_t, 2> kLevel0 = {0, 255};
constexpr std::array<std::uint8_t, 5> kLevel1 = {0, 79, 127, 207, 255};
constexpr std::array<std::uint8_t, 17> kLevel2 = {0,   43,  55,  67,  79,  91,  103, 115, 159,
                                                  171, 183, 195, 207, 219, 231, 243, 255};
constexpr std::array<std::uint8_t, 65> kLevel3 = {
    0,   18,  21,  24,  27,  30,  33,  36,  55,  58,  61,  64,  67,  70,  73,  76,  79,
    82,  85,  88,  91,  94,  97,  100, 119, 122, 125, 128, 131, 134, 137, 140, 143, 146,
    149, 152, 155, 158, 161, 164, 183, 186, 189, 192, 195, 198, 201, 204, 207, 210, 213,
    216, 219, 222, 225, 228, 231, 234, 237, 240, 243, 246, 249, 252, 255};

int ClampLevel(int level) { return std::clamp(level, 0, 3); }

using CoverageMaps = std::array<std::array<std::uint8_t, 256>, 4>;

CoverageMaps BuildMaps() {
  // At level 0 the same rule sets a bit for v >= 128.
  CoverageMaps maps{};
  for (int level = 0; level <= 3; ++level) {
    const auto table = GreyTable(level);
    const int n = GreyMax(level);
    for (int v = 0; v < 256; ++v) maps[level][v] = table[(v * n + 127) / 255];
  }
  return maps;
}

}  // namespace

int GreyMax(int level) {
  switch (ClampLevel(level)) {
    case 0: return 1;
    case 1: return 4;
    case 2: return 16;
    default: return 64;
  }
}

std::span<const std::uint8_t> GreyTable(int level) {
  switch (ClampLevel(level)) {
    case 0: return kLevel0;
    case 1: return kLevel1;
    case 2: return kLevel2;
    default: return kLevel3;
  }
}

const std::array<std::uint8_t, 256>& CoverageMap(int level) {
  static const CoverageMaps maps = BuildMaps();
  return maps[ClampLevel(level)];
}

std::uint8_t QuantizeCoverage(std::uint8_t coverage, int level) { return CoverageMap(level)[coverage]; }

}  // namespace kest
