#pragma once
// The vector glyph kernels, written once over a traits type (render/simd_traits_*.h) and
// instantiated by each level's translation unit with its own compiler flags. Internal linkage,
// like render/kernels_simd.h, whose byte mixing they share.
//
// A vector of mask values that are all 0 leaves the row alone and one of all 255 stores the
// colour, which is what most of a glyph is. The tail of a row goes through the same vector code
// on a small copy whose missing mask values are 0, so no pixel takes a different path from its
// neighbours and the scalar rules are needed for nothing but the reference.
//
// The layer rule divides twice. The first division is by 255 of t = m * (255 - a) <= 65025:
// (t + 1 + (t >> 8)) >> 8 gives it exactly over that whole range, in 16-bit lanes. The second,
// m * 255 / a, is done in single floats: both operands are exact, the quotient is correctly
// rounded, and a true quotient that is not a whole number lies at least 1/255 from one, far more
// than the rounding error, so truncating gives the integer quotient.

#include <cstdint>
#include <cstring>

#include "render/glyphs/glyph_kernels.h"
#include "render/glyphs/glyph_pixel.h"
#include "render/kernels_simd.h"

namespace kest {
namespace {

template <typename T>
struct GlyphSimdKernels {
  using V = typename T::V;
  using Mixer = SimdKernels<T>;
  static constexpr int kStep = T::kPixels;
  static constexpr std::uint64_t kAllSet = kStep == 8 ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * kStep)) - 1;

  static std::uint64_t MaskBits(const std::uint8_t* m) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, m, kStep);
    return bits;
  }

  static void AntialiasVector(std::uint32_t* d, const std::uint8_t* m, V colour) {
    const std::uint64_t bits = MaskBits(m);
    if (bits == 0) return;
    if (bits == kAllSet) return T::Store(d, colour);
    const V m32 = T::LoadBytes32(m), dv = T::Load(d);
    const V mixed = Mixer::Mix(colour, dv, Mixer::Replicate(m32));
    const V set = T::Select(T::Cmpeq32(m32, T::Set32(255)), colour, mixed);
    T::Store(d, T::Select(T::Cmpeq32(m32, T::Zero()), dv, set));
  }

  static void LayerVector(std::uint32_t* d, std::uint8_t* a, const std::uint8_t* m, V colour) {
    const std::uint64_t bits = MaskBits(m);
    if (bits == 0) return;
    if (bits == kAllSet) {
      T::Store(d, colour);
      std::memset(a, 255, kStep);
      return;
    }
    const V zero = T::Zero(), one = T::Set32(1), c255 = T::Set32(255);
    const V m32 = T::LoadBytes32(m), a32 = T::LoadBytes32(a);
    // a + m * (255 - a) / 255; it is the stored coverage for every lane (m = 0 keeps a, m = 255
    // gives 255).
    const V t = T::Mul16(m32, T::Sub16(c255, a32));
    const V covered = T::Add16(a32, T::Srli16_8(T::Add16(T::Add16(t, one), T::Srli16_8(t))));
    // D = min(255, m * 255 / a); the divisor of a lane with nothing covered is made 1 (that lane
    // has m = 0 and keeps its pixel).
    const V divisor = T::Or(covered, T::And(T::Cmpeq32(covered, zero), one));
    const V weight = T::Truncate(T::MinF(T::DivF(T::ToFloat(T::Mul16(m32, c255)), T::ToFloat(divisor)), T::SetF(255.0f)));
    const V dv = T::Load(d);
    const V mixed = Mixer::Mix(colour, dv, Mixer::Replicate(weight));
    const V set = T::Select(T::Cmpeq32(m32, c255), colour, mixed);
    T::Store(d, T::Select(T::Cmpeq32(m32, zero), dv, set));
    T::StoreBytes32(a, covered);
  }

  static void Antialias(std::uint32_t* d, const std::uint8_t* m, int n, std::uint32_t colour) {
    const V kv = T::Set32(colour);
    int i = 0;
    for (; i + kStep <= n; i += kStep) AntialiasVector(d + i, m + i, kv);
    if (i < n) {
      const auto rest = static_cast<std::size_t>(n - i);
      std::uint32_t dt[kStep] = {};
      std::uint8_t mt[kStep] = {};
      std::memcpy(dt, d + i, rest * 4);
      std::memcpy(mt, m + i, rest);
      AntialiasVector(dt, mt, kv);
      std::memcpy(d + i, dt, rest * 4);
    }
    T::End();
  }

  static void Layer(std::uint32_t* d, std::uint8_t* a, const std::uint8_t* m, int n, std::uint32_t colour) {
    const V kv = T::Set32(colour);
    int i = 0;
    for (; i + kStep <= n; i += kStep) LayerVector(d + i, a + i, m + i, kv);
    if (i < n) {
      const auto rest = static_cast<std::size_t>(n - i);
      std::uint32_t dt[kStep] = {};
      std::uint8_t at[kStep] = {}, mt[kStep] = {};
      std::memcpy(dt, d + i, rest * 4);
      std::memcpy(at, a + i, rest);
      std::memcpy(mt, m + i, rest);
      LayerVector(dt, at, mt, kv);
      std::memcpy(d + i, dt, rest * 4);
      std::memcpy(a + i, at, rest);
    }
    T::End();
  }

  static constexpr GlyphKernels kTable = {&Antialias, &Layer};
};

}  // namespace
}  // namespace kest
