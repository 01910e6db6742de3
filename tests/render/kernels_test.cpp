// Differential tests: every level's row kernels produce the same bytes as the scalar reference,
// on random rows of odd lengths at odd offsets, with pixels equal between source and
// destination, keyed pixels, masks of 0 and 255, and every level and weight.

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "render/dibx.h"
#include "render/row_kernels.h"
#include "surface_fixtures.h"

namespace kest {
namespace {

constexpr std::uint32_t kKey = 0x00FF00FF;

// A random row case: destination, source and mask, with planted special pixels.
struct RowCase {
  std::vector<std::uint32_t> d, s, t;
  std::vector<std::uint8_t> m;
  int n = 0;
  int offset = 0;  // where the row starts in the buffers, so vector loads are unaligned
};

RowCase MakeCase(std::mt19937& random, int n, int offset) {
  RowCase c;
  c.n = n;
  c.offset = offset;
  const std::size_t size = static_cast<std::size_t>(n + offset + 8);
  c.d.resize(size);
  c.s.resize(size);
  c.m.resize(size);
  c.t.resize(size);
  for (std::size_t i = 0; i < size; ++i) {
    c.d[i] = random();
    c.s[i] = random();
    c.m[i] = static_cast<std::uint8_t>(random());
    c.t[i] = random();
    switch (random() % 8) {
      case 0: c.s[i] = c.d[i]; break;     // equal pixels are left alone by blends
      case 1: c.s[i] = kKey; break;       // keyed pixels
      case 2: c.m[i] = 0; break;          // masks of 0 and 255
      case 3: c.m[i] = 255; break;
      case 4: c.d[i] = 0xFFFFFFFF; break;  // saturation
      default: break;
    }
  }
  return c;
}

using Runner = void (*)(const RowKernels&, RowCase&, int amount, std::uint32_t colour);

struct KernelCase {
  const char* name;
  Runner run;
};

const KernelCase kKernels[] = {
    {"copy_keyed", [](const RowKernels& k, RowCase& c, int, std::uint32_t) {
       k.copy_keyed(c.d.data() + c.offset, c.s.data() + c.offset, c.n, kKey);
     }},
    {"blend", [](const RowKernels& k, RowCase& c, int a, std::uint32_t) {
       k.blend(c.d.data() + c.offset, c.s.data() + c.offset, c.n, a, false, kKey);
     }},
    {"blend_keyed", [](const RowKernels& k, RowCase& c, int a, std::uint32_t) {
       k.blend(c.d.data() + c.offset, c.s.data() + c.offset, c.n, a, true, kKey);
     }},
    {"add", [](const RowKernels& k, RowCase& c, int a, std::uint32_t) {
       k.add(c.d.data() + c.offset, c.s.data() + c.offset, c.n, a, false, kKey);
     }},
    {"add_keyed", [](const RowKernels& k, RowCase& c, int a, std::uint32_t) {
       k.add(c.d.data() + c.offset, c.s.data() + c.offset, c.n, a, true, kKey);
     }},
    {"mask", [](const RowKernels& k, RowCase& c, int, std::uint32_t) {
       k.mask(c.d.data() + c.offset, c.s.data() + c.offset, c.m.data() + c.offset, c.n);
     }},
    {"mask_alpha", [](const RowKernels& k, RowCase& c, int a, std::uint32_t) {
       k.mask_alpha(c.d.data() + c.offset, c.s.data() + c.offset, c.m.data() + c.offset, c.n, a);
     }},
    {"mask_add", [](const RowKernels& k, RowCase& c, int a, std::uint32_t) {
       k.mask_add(c.d.data() + c.offset, c.s.data() + c.offset, c.m.data() + c.offset, c.n, a);
     }},
    {"color_mask", [](const RowKernels& k, RowCase& c, int a, std::uint32_t colour) {
       k.color_mask(c.d.data() + c.offset, c.m.data() + c.offset, c.n, colour, a);
     }},
    {"fill_alpha", [](const RowKernels& k, RowCase& c, int a, std::uint32_t colour) {
       k.fill_alpha(c.d.data() + c.offset, c.n, colour, a);
     }},
    {"fill_add", [](const RowKernels& k, RowCase& c, int, std::uint32_t colour) {
       k.fill_add(c.d.data() + c.offset, c.n, colour);
     }},
    {"fill_sub", [](const RowKernels& k, RowCase& c, int, std::uint32_t colour) {
       k.fill_sub(c.d.data() + c.offset, c.n, colour);
     }},
    {"fill", [](const RowKernels& k, RowCase& c, int, std::uint32_t colour) {
       k.fill(c.d.data() + c.offset, static_cast<std::size_t>(c.n), colour);
     }},
    // From bytes at any alignment, and in place.
    {"copy_and", [](const RowKernels& k, RowCase& c, int a, std::uint32_t colour) {
       const auto* bytes = reinterpret_cast<const std::uint8_t*>(c.s.data() + c.offset) + a % 4;
       k.copy_and(c.d.data() + c.offset, bytes, static_cast<std::size_t>(c.n), colour);
     }},
    {"copy_and_in_place", [](const RowKernels& k, RowCase& c, int, std::uint32_t colour) {
       k.copy_and(c.d.data() + c.offset, reinterpret_cast<const std::uint8_t*>(c.d.data() + c.offset),
                  static_cast<std::size_t>(c.n), colour);
     }},
    {"compose", [](const RowKernels& k, RowCase& c, int, std::uint32_t) {
       k.compose(c.d.data() + c.offset, c.s.data() + c.offset, c.t.data() + c.offset, c.m.data() + c.offset, c.n);
     }},
    // A binary mask (what the transitions' binary kinds hand over): only 0 and 255.
    {"compose_binary", [](const RowKernels& k, RowCase& c, int, std::uint32_t) {
       std::vector<std::uint8_t> binary(c.m);
       for (std::uint8_t& v : binary) v = v >= 128 ? 255 : 0;
       k.compose(c.d.data() + c.offset, c.s.data() + c.offset, c.t.data() + c.offset, binary.data() + c.offset, c.n);
     }},
};

TEST(RowKernels, EveryLevelMatchesTheScalarReferenceForEveryWeight) {
  std::mt19937 random(1234);
  for (const SimdLevel level : testing::SupportedLevels()) {
    if (level == SimdLevel::Scalar) continue;
    const RowKernels& fast = KernelsFor(level);
    for (const KernelCase& kernel : kKernels) {
      for (int amount = 0; amount <= 255; ++amount) {
        const int n = 1 + 2 * static_cast<int>(random() % 40);  // odd lengths 1 to 79
        const int offset = static_cast<int>(random() % 7);
        RowCase reference = MakeCase(random, n, offset);
        RowCase candidate = reference;
        // Colours sometimes equal to the destination, to exercise the "already equal" skip.
        const std::uint32_t colour = (amount % 5 == 0) ? reference.d[static_cast<std::size_t>(offset)] : random();
        kernel.run(ScalarKernels(), reference, amount, colour);
        kernel.run(fast, candidate, amount, colour);
        ASSERT_EQ(reference.d, candidate.d) << kernel.name << " at " << SimdLevelName(level) << ", amount " << amount
                                            << ", n " << n << ", offset " << offset;
      }
    }
  }
}

TEST(RowKernels, ScalarReferenceFollowsTheFormulas) {
  const RowKernels& k = ScalarKernels();
  std::uint32_t d[3] = {0x10203040, 0x80808080, 0x00000000};
  const std::uint32_t s[3] = {0xFF00FF00, 0x80808080, 0xFFFFFFFF};
  k.blend(d, s, 3, 255, false, 0);
  // 255 blends to (s * 255) >> 8: 255 becomes 254; equal pixels stay as they are.
  EXPECT_EQ(d[0], 0xFE00FE00u);
  EXPECT_EQ(d[1], 0x80808080u);
  EXPECT_EQ(d[2], 0xFEFEFEFEu);

  std::uint32_t a[2] = {0x01F0F0F0, 0x10101010};
  const std::uint32_t b[2] = {0x80202020, 0x80808080};
  k.add(a, b, 2, 128, false, 0);
  EXPECT_EQ(a[0], 0x41FFFFFFu);  // 0xF0 + (0x20 * 128 >> 8) saturates at 0xFF
  EXPECT_EQ(a[1], 0x50505050u);

  std::uint32_t m_d[4] = {1, 2, 3, 4};
  const std::uint32_t m_s[4] = {0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF};
  const std::uint8_t m[4] = {0, 255, 128, 1};
  k.mask(m_d, m_s, m, 4);
  EXPECT_EQ(m_d[0], 1u);            // mask 0 keeps
  EXPECT_EQ(m_d[1], 0x00FFFFFFu);   // mask 255 copies exactly
  EXPECT_EQ(m_d[2], 0x007F7F80u);   // blue (255 * 128 + 3 * 127) >> 8 = 128; 127 in green and red
  EXPECT_EQ(m_d[3], 0x00000004u);   // (255 + 4 * 254) >> 8 = 4 in blue; 0 elsewhere

  // Composition: 0 and 255 pick exactly, the rest is the formula even where both pictures agree.
  std::uint32_t c_d[4] = {};
  const std::uint32_t c_f[4] = {0x11223344, 0x11223344, 0xFFFFFFFF, 0x00000000};
  const std::uint32_t c_t[4] = {0x55667788, 0x55667788, 0xFFFFFFFF, 0x00FF0080};
  const std::uint8_t c_m[4] = {0, 255, 128, 64};
  k.compose(c_d, c_f, c_t, c_m, 4);
  EXPECT_EQ(c_d[0], 0x11223344u);
  EXPECT_EQ(c_d[1], 0x55667788u);
  EXPECT_EQ(c_d[2], 0xFEFEFEFEu);  // (255 * 128 + 255 * 127) >> 8 = 254
  EXPECT_EQ(c_d[3], 0x003F0020u);  // (255 * 64) >> 8 = 63, (128 * 64) >> 8 = 32
}

}  // namespace
}  // namespace kest
