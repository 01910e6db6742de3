#pragma once
// The row kernels of 32-bit surfaces: one table of functions per instruction-set level. Every
// level computes the same bytes; the scalar table is the reference the tests compare against.
//
// A 32-bit pixel is four bytes B, G, R, X; the kernels apply each channel formula to all four
// bytes alike. All shifts truncate. Blends leave a pixel untouched when the result is already
// known not to change it (source equal to destination, mask 0), as the formulas require.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kest {

struct RowKernels {
  // d = s, except where s == key.
  void (*copy_keyed)(std::uint32_t* d, const std::uint32_t* s, int n, std::uint32_t key);
  // d_c = (s_c * alpha + d_c * (255 - alpha)) >> 8; skips s == d and (when keyed) s == key.
  void (*blend)(std::uint32_t* d, const std::uint32_t* s, int n, int alpha, bool keyed, std::uint32_t key);
  // d_c = min(255, d_c + ((s_c * level) >> 8)); skips (when keyed) s == key.
  void (*add)(std::uint32_t* d, const std::uint32_t* s, int n, int level, bool keyed, std::uint32_t key);
  // m = 255 copies, m = 0 keeps, else d_c = (s_c * m + d_c * (255 - m)) >> 8.
  void (*mask)(std::uint32_t* d, const std::uint32_t* s, const std::uint8_t* m, int n);
  // w = (alpha * m) >> 8; skips m == 0 and s == d; d_c = (s_c * w + d_c * (255 - w)) >> 8.
  void (*mask_alpha)(std::uint32_t* d, const std::uint32_t* s, const std::uint8_t* m, int n, int alpha);
  // w = (level * m) >> 8; d_c = min(255, d_c + ((s_c * w) >> 8)).
  void (*mask_add)(std::uint32_t* d, const std::uint32_t* s, const std::uint8_t* m, int n, int level);
  // Colour k through mask m: skips m == 0 and d == k; w = m when alpha is 255, alpha when m is
  // 255, else (alpha * m) >> 8; d_c = (k_c * w + d_c * (255 - w)) >> 8.
  void (*color_mask)(std::uint32_t* d, const std::uint8_t* m, int n, std::uint32_t colour, int alpha);
  // d_c = (k_c * alpha + d_c * (255 - alpha)) >> 8; skips d == k.
  void (*fill_alpha)(std::uint32_t* d, int n, std::uint32_t colour, int alpha);
  // d_c = min(255, d_c + k_c) and d_c = max(0, d_c - k_c).
  void (*fill_add)(std::uint32_t* d, int n, std::uint32_t colour);
  void (*fill_sub)(std::uint32_t* d, int n, std::uint32_t colour);
  // The transitions' composition of two pictures through a mask: m = 0 gives f, m = 255 gives
  // t, else d_c = (t_c * m + f_c * (255 - m)) >> 8 (so 255 over 255 at m = 128 gives 254).
  void (*compose)(std::uint32_t* d, const std::uint32_t* f, const std::uint32_t* t, const std::uint8_t* m, int n);
  // d = k: wide stores from the first vector-aligned pixel on.
  void (*fill)(std::uint32_t* d, std::size_t n, std::uint32_t colour);
  // d = s & bits for n pixels, s being bytes at any alignment (it may be d): pixels copied with
  // some bits cleared, such as the fourth byte.
  void (*copy_and)(std::uint32_t* d, const std::uint8_t* s, std::size_t n, std::uint32_t bits);
};

enum class SimdLevel { Scalar, Sse2, Avx2 };

std::string_view SimdLevelName(SimdLevel level);
bool SimdLevelSupported(SimdLevel level);  // by this processor
const RowKernels& KernelsFor(SimdLevel level);

// The level the drawing operations use: the best the processor has, unless the environment
// variable KEST_SIMD (scalar, sse2 or avx2) asks for another. A level the processor lacks falls
// back to the best it has.
SimdLevel ActiveSimdLevel();
const RowKernels& ActiveKernels();
// Lets tests and benchmarks switch levels; clamps to what the processor supports.
void SetActiveSimdLevel(SimdLevel level);

// The tables themselves, one per translation unit.
const RowKernels& ScalarKernels();
const RowKernels& Sse2Kernels();
const RowKernels& Avx2Kernels();

}  // namespace kest
