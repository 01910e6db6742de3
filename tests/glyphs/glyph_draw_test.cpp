// The glyph routines pixel by pixel: each rule on one pixel at 32 and 15/16 bits, clipping at any
// position, the outline's offsets and order, and the vector levels against the scalar reference.

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "glyphs/glyph_fixtures.h"
#include "render/dibx.h"
#include "render/glyphs/glyph_draw.h"
#include "render/surface_fixtures.h"

namespace kest {
namespace {

using testing::MakeGlyph;
using testing::Pixels;

// Every routine behind one signature: picture, coverage, position, glyph, colour.
using Routine = std::function<void(TDIBX&, TDIBX&, std::int32_t, std::int32_t, const TFontPixel&, std::uint32_t)>;

struct NamedRoutine {
  const char* name;
  Routine draw;
  bool writes_picture;
  bool writes_coverage;
};

const NamedRoutine kRoutines[] = {
    {"solid", [](TDIBX& d, TDIBX&, std::int32_t x, std::int32_t y, const TFontPixel& g,
                 std::uint32_t c) { DrawGlyphSolid(d, x, y, g, c); }, true, false},
    {"antialiased", [](TDIBX& d, TDIBX&, std::int32_t x, std::int32_t y, const TFontPixel& g,
                       std::uint32_t c) { DrawGlyphAntialiased(d, x, y, g, c); }, true, false},
    {"layer", [](TDIBX& d, TDIBX& a, std::int32_t x, std::int32_t y, const TFontPixel& g,
                 std::uint32_t c) { DrawGlyphLayer(d, a, x, y, g, c); }, true, true},
    {"coverage", [](TDIBX&, TDIBX& a, std::int32_t x, std::int32_t y, const TFontPixel& g,
                    std::uint32_t) { DrawGlyphCoverage(a, x, y, g); }, false, true},
    {"accumulate", [](TDIBX&, TDIBX& a, std::int32_t x, std::int32_t y, const TFontPixel& g,
                      std::uint32_t) { AccumulateGlyphCoverage(a, x, y, g); }, false, true},
    {"outlined", [](TDIBX& d, TDIBX& a, std::int32_t x, std::int32_t y, const TFontPixel& g,
                    std::uint32_t c) { DrawGlyphOutlined(d, a, x, y, g, c, 1); }, true, true},
};

const NamedRoutine& RoutineNamed(const std::string& name) {
  for (const NamedRoutine& r : kRoutines)
    if (name == r.name) return r;
  throw std::runtime_error("no routine " + name);
}

// One mask value stamped (once or twice) on one pixel with its coverage.
struct PixelCase {
  const char* routine;
  int bits;
  std::uint8_t m;
  std::uint32_t before;
  std::uint8_t coverage_before;
  std::uint32_t colour;
  int stamps;
  std::uint32_t after;
  std::uint8_t coverage_after;
};

const PixelCase kPixelCases[] = {
    // 32 bits: all four bytes follow the formula.
    {"solid", 32, 1, 0x11223344, 0, 0x00ABCDEF, 1, 0x00ABCDEF, 0},
    {"solid", 32, 0, 0x11223344, 0, 0x00ABCDEF, 1, 0x11223344, 0},
    {"antialiased", 32, 128, 0, 0, 0xFFFFFFFF, 1, 0x7F7F7F7F, 0},
    {"antialiased", 32, 255, 0x11223344, 0, 0x00ABCDEF, 1, 0x00ABCDEF, 0},
    {"antialiased", 32, 0, 0x11223344, 0, 0x00ABCDEF, 1, 0x11223344, 0},
    // Blending towards the colour it already has still takes a step: (255 * 200) >> 8.
    {"antialiased", 32, 100, 0x000000C8, 0, 0x000000C8, 1, 0x000000C7, 0},
    // Layer: one stamp of 128 on nothing gives coverage 128 and weight 255; a second gives 191
    // and weight 170.
    {"layer", 32, 128, 0, 0, 0x000000FF, 1, 0x000000FE, 128},
    {"layer", 32, 128, 0, 0, 0x000000FF, 2, 0x000000FD, 191},
    {"layer", 32, 255, 0x11223344, 40, 0x00ABCDEF, 1, 0x00ABCDEF, 255},
    {"layer", 32, 0, 0x11223344, 0, 0x00ABCDEF, 1, 0x11223344, 0},  // 0 leaves both alone
    // Over coverage 200: a = 200 + 50 * 55 / 255 = 210, D = 50 * 255 / 210 = 60,
    // (60 * 255 + 195 * 16) >> 8 = 71.
    {"layer", 32, 50, 0x00000010, 200, 0x000000FF, 1, 0x00000047, 210},
    {"coverage", 32, 1, 0, 7, 0, 1, 0, 255},
    {"coverage", 32, 0, 0, 7, 0, 1, 0, 7},
    {"accumulate", 32, 128, 0, 100, 0, 1, 0, 177},  // 100 + 128 * 155 / 255
    {"accumulate", 32, 128, 0, 0, 0, 2, 0, 191},
    {"accumulate", 32, 255, 0, 3, 0, 1, 0, 255},
    // 16 bits, 5-6-5: white over black at 128 gives 15, 31, 15.
    {"antialiased", 16, 128, 0, 0, 0xFFFF, 1, 0x7BEF, 0},
    {"solid", 16, 9, 0x1234, 0, 0xF800, 1, 0xF800, 0},
    {"layer", 16, 128, 0, 0, 0xFFFF, 1, 0xF7DE, 128},  // weight 255: 30, 62, 30
    // 15 bits, 5-5-5.
    {"antialiased", 15, 128, 0, 0, 0x7FFF, 1, 0x3DEF, 0},
    {"layer", 15, 200, 0x001F, 0, 0x7C00, 1, 0x7800, 200},  // red 30, blue (0 * 255 + 0 * 31) >> 8
};

TEST(GlyphRules, OnePixelAtEachDepth) {
  for (const PixelCase& c : kPixelCases) {
    SCOPED_TRACE(std::string(c.routine) + " at " + std::to_string(c.bits) + " bits, m " + std::to_string(c.m));
    const NamedRoutine& routine = RoutineNamed(c.routine);
    auto glyph = MakeGlyph(1, 1, {c.m});
    TDIBX dst(1, 1, c.bits), coverage(1, 1, 8);
    dst.SetPixel(0, 0, c.before);
    coverage.SetPixel(0, 0, c.coverage_before);
    for (int i = 0; i < c.stamps; ++i) routine.draw(dst, coverage, 0, 0, *glyph, c.colour);
    EXPECT_EQ(dst.GetPixel(0, 0), c.after);
    EXPECT_EQ(coverage.GetPixel(0, 0), c.coverage_after);
  }
}

TEST(GlyphRules, OtherDepthsAndWrongCoverageDrawNothing) {
  auto glyph = MakeGlyph(1, 1, {255});
  for (const NamedRoutine& routine : kRoutines) {
    if (!routine.writes_picture) continue;
    SCOPED_TRACE(routine.name);
    for (int bits : {8, 24}) {
      TDIBX dst(1, 1, bits), coverage(1, 1, 8);
      dst.SetPixel(0, 0, 0x123456 & ((1u << (bits == 8 ? 8 : 24)) - 1));
      const std::uint32_t before = dst.GetPixel(0, 0);
      routine.draw(dst, coverage, 0, 0, *glyph, 0xFF);
      EXPECT_EQ(dst.GetPixel(0, 0), before);
      EXPECT_EQ(coverage.GetPixel(0, 0), 0u);
    }
    if (!routine.writes_coverage) continue;
    TDIBX dst(1, 1, 32), not_coverage(1, 1, 32);
    routine.draw(dst, not_coverage, 0, 0, *glyph, 0xFF);
    EXPECT_EQ(dst.GetPixel(0, 0), 0u);
  }
}

TEST(GlyphRules, AGlyphWithoutMaskDrawsNothing) {
  TFontPixel blank;  // a space: no mask
  for (const NamedRoutine& routine : kRoutines) {
    SCOPED_TRACE(routine.name);
    TDIBX dst(2, 2, 32), coverage(2, 2, 8);
    routine.draw(dst, coverage, 0, 0, blank, 0xFF);
    EXPECT_EQ(Pixels(dst), std::vector<std::uint32_t>(4, 0u));
    EXPECT_EQ(Pixels(coverage), std::vector<std::uint32_t>(4, 0u));
  }
}

// Every routine, at positions near and far outside, draws exactly the mask pixels that fall
// inside the clip limit (or the coverage surface, when smaller), and nothing else.
TEST(GlyphClipping, OnlyPixelsInsideTheLimitChange) {
  auto glyph = MakeGlyph(3, 3, {255, 255, 255, 255, 255, 255, 255, 255, 255});
  const Rect clip{2, 1, 7, 5};
  const std::int32_t positions[] = {INT32_MIN, -5, 0, 1, 5, 6, INT32_MAX - 1, INT32_MAX};
  for (const NamedRoutine& routine : kRoutines) {
    for (std::int32_t x : positions) {
      for (std::int32_t y : positions) {
        SCOPED_TRACE(std::string(routine.name) + " at " + std::to_string(x) + ", " + std::to_string(y));
        TDIBX dst(8, 6, 32), coverage(8, 6, 8);
        dst.AddClipRect(clip);
        coverage.AddClipRect(clip);
        routine.draw(dst, coverage, x, y, *glyph, 0x00FFFFFF);
        // The outline reaches one further on every side, the others cover the mask.
        const std::int64_t reach = std::string(routine.name) == "outlined" ? 1 : 0;
        for (std::int32_t py = 0; py < 6; ++py) {
          for (std::int32_t px = 0; px < 8; ++px) {
            const bool in_clip = px >= clip.left && px < clip.right && py >= clip.top && py < clip.bottom;
            const std::int64_t col = px - std::int64_t{x}, row = py - std::int64_t{y};
            const bool under = col >= -reach && col < 3 + reach && row >= -reach && row < 3 + reach;
            const bool drawn = in_clip && under;
            if (routine.writes_picture) {
              EXPECT_EQ(dst.GetPixel(px, py), drawn ? 0x00FFFFFFu : 0u) << px << "," << py;
            }
            if (routine.writes_coverage) {
              EXPECT_EQ(coverage.GetPixel(px, py), drawn ? 255u : 0u) << px << "," << py;
            }
          }
        }
      }
    }
  }
}

TEST(GlyphClipping, TheLayerStaysInsideASmallerCoverageSurface) {
  auto glyph = MakeGlyph(2, 1, {255, 255});
  TDIBX dst(4, 1, 32), coverage(1, 1, 8);
  DrawGlyphLayer(dst, coverage, 0, 0, *glyph, 0xFF);
  DrawGlyphOutlined(dst, coverage, 0, 0, *glyph, 0xFF, 2);
  EXPECT_EQ(Pixels(dst), (std::vector<std::uint32_t>{0xFF, 0, 0, 0}));
  EXPECT_EQ(coverage.GetPixel(0, 0), 255u);
}

// A one-pixel mask with an outline of 1: its eight neighbours get one stamp each, the centre none.
TEST(GlyphOutline, OnePixelStampsItsEightNeighboursAndSkipsClippedOnes) {
  auto glyph = MakeGlyph(1, 1, {128});
  TDIBX dst(3, 3, 32), coverage(3, 3, 8);
  DrawGlyphOutlined(dst, coverage, 1, 1, *glyph, 0xFF, 1);
  EXPECT_EQ(Pixels(dst), (std::vector<std::uint32_t>{0xFE, 0xFE, 0xFE, 0xFE, 0, 0xFE, 0xFE, 0xFE, 0xFE}));
  EXPECT_EQ(Pixels(coverage), (std::vector<std::uint32_t>{128, 128, 128, 128, 0, 128, 128, 128, 128}));

  // A clip without the right column and the top row skips those offsets one by one.
  TDIBX clipped(3, 3, 32), clipped_coverage(3, 3, 8);
  clipped.AddClipRect({0, 1, 2, 3});
  DrawGlyphOutlined(clipped, clipped_coverage, 1, 1, *glyph, 0xFF, 1);
  EXPECT_EQ(Pixels(clipped), (std::vector<std::uint32_t>{0, 0, 0, 0xFE, 0, 0, 0xFE, 0xFE, 0}));
}

TEST(GlyphOutline, WidthIsClampedToOneAndTheMaximum) {
  auto glyph = MakeGlyph(1, 1, {255});
  const struct {
    int width;
    int reach;
  } cases[] = {{0, 1}, {-7, 1}, {3, 3}, {kMaxOutlineWidth + 50, kMaxOutlineWidth}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.width);
    const std::int32_t side = 2 * kMaxOutlineWidth + 5, centre = side / 2;
    TDIBX dst(side, side, 32), coverage(side, side, 8);
    DrawGlyphOutlined(dst, coverage, centre, centre, *glyph, 0xFF, c.width);
    for (std::int32_t y = 0; y < side; ++y) {
      for (std::int32_t x = 0; x < side; ++x) {
        const bool ring = std::abs(x - centre) <= c.reach && std::abs(y - centre) <= c.reach && (x != centre || y != centre);
        ASSERT_EQ(coverage.GetPixel(x, y), ring ? 255u : 0u) << x << "," << y;
      }
    }
  }
}

// Two mask pixels reach the pixel below the first: the left one's stamp comes first, as mask
// order has it. The other order would give 0xC6 (the layer rule does not commute).
TEST(GlyphOutline, StampsArriveInMaskOrder) {
  auto glyph = MakeGlyph(2, 1, {60, 180});
  for (SimdLevel level : testing::SupportedLevels()) {
    SCOPED_TRACE(std::string(SimdLevelName(level)));
    const testing::SimdLevelScope scope(level);
    TDIBX dst(4, 3, 32), coverage(4, 3, 8);
    dst.Fill(0x000A0A0A);
    DrawGlyphOutlined(dst, coverage, 1, 1, *glyph, 0x00C8C8C8, 1);
    EXPECT_EQ(dst.GetPixel(1, 2), 0x00C7C7C7u);
    EXPECT_EQ(coverage.GetPixel(1, 2), 197u);
  }
}

// Random masks, clips and positions: every level's pictures and coverage equal the scalar
// reference byte for byte.
TEST(GlyphLevels, EveryLevelMatchesTheScalarReference) {
  std::mt19937 random(20261211);
  for (int round = 0; round < 120; ++round) {
    const int width = 1 + static_cast<int>(random() % 4);
    const std::int32_t mw = 1 + static_cast<std::int32_t>(random() % 23), mh = 1 + static_cast<std::int32_t>(random() % 9);
    auto glyph = testing::RandomGlyph(random, mw, mh);
    const std::int32_t sw = 8 + static_cast<std::int32_t>(random() % 40), sh = 4 + static_cast<std::int32_t>(random() % 16);
    const std::int32_t x = static_cast<std::int32_t>(random() % (sw + 10)) - 8;
    const std::int32_t y = static_cast<std::int32_t>(random() % (sh + 8)) - 6;
    const Rect clip{static_cast<std::int32_t>(random() % 6), static_cast<std::int32_t>(random() % 4),
                    sw - static_cast<std::int32_t>(random() % 6), sh - static_cast<std::int32_t>(random() % 4)};
    const std::uint32_t colour = random(), seed = random();
    for (const NamedRoutine& routine : kRoutines) {
      SCOPED_TRACE(std::string(routine.name) + " round " + std::to_string(round));
      const auto run = [&](SimdLevel level, TDIBX& dst, TDIBX& coverage) {
        const testing::SimdLevelScope scope(level);
        testing::FillNoise(dst, seed);
        testing::FillNoise(coverage, seed + 1);
        dst.AddClipRect(clip);
        const std::string name = routine.name;
        if (name == "outlined")
          DrawGlyphOutlined(dst, coverage, x, y, *glyph, colour, width);
        else
          routine.draw(dst, coverage, x, y, *glyph, colour);
      };
      TDIBX ref(sw, sh, 32), ref_coverage(sw, sh, 8);
      run(SimdLevel::Scalar, ref, ref_coverage);
      for (SimdLevel level : testing::SupportedLevels()) {
        TDIBX dst(sw, sh, 32), coverage(sw, sh, 8);
        run(level, dst, coverage);
        ASSERT_EQ(Pixels(dst), Pixels(ref)) << SimdLevelName(level);
        ASSERT_EQ(Pixels(coverage), Pixels(ref_coverage)) << SimdLevelName(level);
      }
    }
  }
}

}  // namespace
}  // namespace kest
