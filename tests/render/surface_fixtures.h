#pragma once
// Small helpers for the surface tests: surfaces filled with seeded noise, and row dumps.

#include <cstdint>
#include <random>
#include <vector>

#include "render/dibx.h"
#include "render/row_kernels.h"

namespace kest::testing {

inline void FillNoise(TCustomDIBX& surface, std::uint32_t seed) {
  std::mt19937 random(seed);
  for (std::int32_t y = 0; y < surface.Height(); ++y)
    for (std::int32_t x = 0; x < surface.Width(); ++x) surface.SetPixel(x, y, random());
}

inline std::vector<std::uint32_t> Pixels(TCustomDIBX& surface) {
  std::vector<std::uint32_t> out;
  for (std::int32_t y = 0; y < surface.Height(); ++y)
    for (std::int32_t x = 0; x < surface.Width(); ++x) out.push_back(surface.GetPixel(x, y));
  return out;
}

// Runs a block at one instruction-set level and restores the previous level afterwards.
class SimdLevelScope {
 public:
  explicit SimdLevelScope(SimdLevel level) : saved_(ActiveSimdLevel()) { SetActiveSimdLevel(level); }
  ~SimdLevelScope() { SetActiveSimdLevel(saved_); }

 private:
  SimdLevel saved_;
};

inline std::vector<SimdLevel> SupportedLevels() {
  std::vector<SimdLevel> out;
  for (SimdLevel level : {SimdLevel::Scalar, SimdLevel::Sse2, SimdLevel::Avx2})
    if (SimdLevelSupported(level)) out.push_back(level);
  return out;
}

}  // namespace kest::testing
