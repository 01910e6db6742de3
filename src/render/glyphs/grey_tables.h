#pragma once
// The anti-aliasing levels' grey-to-coverage tables. A level-n render has grey values 0 .. kGreyMax
// (4, 16, 64 for levels 1, 2, 3); each grey value stands for the coverage in its table. Level 0
// is a 1-bit render: a set bit is 255.

#include <array>
#include <cstdint>
#include <span>

namespace kest {

// The largest grey value of a level (1 for the 1-bit level 0).
int GreyMax(int level);

// The coverage table of a level: GreyMax(level) + 1 values ({0, 255} at level 0).
std::span<const std::uint8_t> GreyTable(int level);

// A rasteriser's exact coverage v (0..255) as the level shows it: the grey value
// g = (v * GreyMax + 127) / 255 looked up in the level's table; at level 0, v >= 128 sets 255.
// Levels outside 0..3 are taken as the nearest level.
std::uint8_t QuantizeCoverage(std::uint8_t coverage, int level);

// The 256 results of QuantizeCoverage at one level, for converting whole masks.
const std::array<std::uint8_t, 256>& CoverageMap(int level);

}  // namespace kest
