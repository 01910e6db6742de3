// Runs of glyphs with their decorations: what each layer paints, the order that keeps faces on
// top of neighbours' outlines, the bars across cells, and the rectangle handed back.

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "glyphs/glyph_fixtures.h"
#include "render/dibx.h"
#include "render/glyphs/glyph_draw.h"
#include "render/surface_fixtures.h"

namespace kest {
namespace {

using testing::MakeGlyph;
using testing::Pixels;

constexpr std::uint32_t kFace = 0x00FF0000, kOutline = 0x0000FF00, kShadow = 0x000000FF, kBack = 0x00404040;

std::unique_ptr<TFontPixel> Block(std::int32_t w, std::int32_t h, std::int32_t ox, std::int32_t oy) {
  auto g = MakeGlyph(w, h, std::vector<std::uint8_t>(static_cast<std::size_t>(w * h), 255));
  g->offset_x = ox;
  g->offset_y = oy;
  return g;
}

TEST(GlyphRun, TheUnionCoversShadowOutlineFaceAndBars) {
  auto glyph = Block(2, 2, 1, 3);
  glyph->bold_spread = 1;
  glyph->style = kFontUnderline | kFontStrikeOut;
  glyph->underline_size = 2;
  glyph->strike_out_position = 4;
  glyph->strike_out_size = 1;
  const PlacedGlyph run[] = {{glyph.get(), {10, 10, 16, 20}}};
  GlyphDecoration decoration{kFace, kOutline, kShadow, 2, 3, std::nullopt};
  TDIBX dst(40, 40, 32), coverage(40, 40, 8);
  // Mask at (11, 13), box to 14 with the spread; outline (9, 11)-(16, 17); shadow 3 further;
  // underline rows 18-19 and strike-out row 14 across the cell's columns 10-15.
  EXPECT_EQ(DrawGlyphRun(dst, &coverage, run, decoration), (Rect{9, 11, 19, 20}));
  EXPECT_EQ(dst.GetPixel(11, 13), kFace);
  EXPECT_EQ(dst.GetPixel(9, 11), kOutline);
  EXPECT_EQ(dst.GetPixel(17, 19), kShadow);
  EXPECT_EQ(dst.GetPixel(10, 19), kFace);  // underline
  EXPECT_EQ(dst.GetPixel(15, 14), kFace);  // strike-out over the shadow
  EXPECT_EQ(dst.GetPixel(8, 11), 0u);
  for (auto [x, y] : {std::pair{11, 13}, {9, 11}, {17, 19}, {10, 19}, {15, 14}}) EXPECT_EQ(coverage.GetPixel(x, y), 255u);
  EXPECT_EQ(coverage.GetPixel(8, 11), 0u);

  TDIBX clipped(40, 40, 32), clipped_coverage(40, 40, 8);
  clipped.AddClipRect({0, 0, 15, 40});
  EXPECT_EQ(DrawGlyphRun(clipped, &clipped_coverage, run, decoration), (Rect{9, 11, 15, 20}));
  EXPECT_EQ(clipped.GetPixel(17, 19), 0u);
}

// The second glyph's outline reaches into the first glyph's face, and the first glyph's shadow
// into the second's: faces are drawn last, so both stay.
TEST(GlyphRun, FacesStayAboveTheirNeighboursOutlinesAndShadows) {
  auto glyph = Block(2, 2, 1, 1);
  const PlacedGlyph run[] = {{glyph.get(), {0, 0, 3, 4}}, {glyph.get(), {3, 0, 6, 4}}};
  for (bool with_coverage : {true, false}) {
    SCOPED_TRACE(with_coverage);
    TDIBX dst(10, 8, 32), coverage(10, 8, 8);
    DrawGlyphRun(dst, with_coverage ? &coverage : nullptr, run, {kFace, kOutline, kShadow, 2, 3, std::nullopt});
    for (std::int32_t x : {1, 2, 4, 5})
      for (std::int32_t y : {1, 2}) EXPECT_EQ(dst.GetPixel(x, y), kFace) << x << "," << y;
    EXPECT_EQ(dst.GetPixel(3, 1), kOutline);  // between the faces
    EXPECT_EQ(dst.GetPixel(8, 6), kShadow);   // beyond the outline, down and right
  }
}

TEST(GlyphRun, BackgroundFillsEachCellAndBarsJoinAcrossCells) {
  auto letter = Block(1, 1, 0, 0);
  letter->style = kFontUnderline;
  letter->underline_size = 1;
  TFontPixel space;  // no mask, but underlined all the same
  space.style = kFontUnderline;
  space.underline_size = 1;
  const PlacedGlyph run[] = {{letter.get(), {0, 0, 2, 3}}, {&space, {2, 0, 4, 3}}};
  TDIBX dst(5, 3, 32), coverage(5, 3, 8);
  EXPECT_EQ(DrawGlyphRun(dst, &coverage, run, {kFace, kOutline, kShadow, 0, 0, kBack}), (Rect{0, 0, 4, 3}));
  EXPECT_EQ(Pixels(dst), (std::vector<std::uint32_t>{kFace, kBack, kBack, kBack, 0,  //
                                                     kBack, kBack, kBack, kBack, 0,  //
                                                     kFace, kFace, kFace, kFace, 0}));
  EXPECT_EQ(Pixels(coverage), (std::vector<std::uint32_t>{255, 255, 255, 255, 0, 255, 255, 255, 255, 0,  //
                                                          255, 255, 255, 255, 0}));
}

// A cell with room for the outline on both sides insets its glyph; the bar still spans the cell.
TEST(GlyphRun, AnInsetMovesTheGlyphButNotItsCellsBar) {
  auto letter = Block(1, 1, 0, 0);
  letter->style = kFontUnderline;
  letter->underline_size = 1;
  const PlacedGlyph run[] = {{letter.get(), {0, 0, 4, 2}, 2}};
  TDIBX dst(4, 2, 32), coverage(4, 2, 8);
  EXPECT_EQ(DrawGlyphRun(dst, &coverage, run, {kFace, kOutline, kShadow, 0, 0, std::nullopt}), (Rect{0, 0, 4, 2}));
  EXPECT_EQ(Pixels(dst), (std::vector<std::uint32_t>{0, 0, kFace, 0,  //
                                                     kFace, kFace, kFace, kFace}));
}

// Without a coverage surface the outline's stamps are gathered into one mask and blended once,
// and the face is blended straight onto the picture.
TEST(GlyphRun, WithoutCoverageOutlineAndFaceAreAntialiased) {
  auto glyph = MakeGlyph(1, 1, {128});
  const PlacedGlyph run[] = {{glyph.get(), {1, 1, 2, 2}}};
  TDIBX dst(3, 3, 32);
  EXPECT_EQ(DrawGlyphRun(dst, nullptr, run, {kFace, 0x000000FF, 0, 1, 0, std::nullopt}), (Rect{0, 0, 3, 3}));
  EXPECT_EQ(Pixels(dst), (std::vector<std::uint32_t>{0x7F, 0x7F, 0x7F, 0x7F, 0x007F0000, 0x7F, 0x7F, 0x7F, 0x7F}));
}

TEST(GlyphRun, NothingTouchedGivesAnEmptyRectangle) {
  auto glyph = Block(2, 2, 0, 0);
  auto far = Block(2, 2, INT32_MAX, INT32_MAX);  // its mask lies beyond 32 bits
  const GlyphDecoration decorated{kFace, kOutline, kShadow, 3, 2, std::nullopt};
  const struct {
    const char* what;
    std::vector<PlacedGlyph> run;
    Rect clip;
  } cases[] = {
      {"an empty run", {}, {0, 0, 10, 10}},
      {"no glyph in the cell", {{nullptr, {0, 0, 4, 4}}}, {0, 0, 10, 10}},
      {"outside the clip", {{glyph.get(), {0, 0, 2, 2}}}, {8, 8, 10, 10}},
      {"far away", {{glyph.get(), {INT32_MIN, INT32_MIN, INT32_MIN + 2, INT32_MIN + 2}}}, {0, 0, 10, 10}},
      {"offsets past 32 bits", {{far.get(), {INT32_MAX - 1, INT32_MAX - 1, INT32_MAX, INT32_MAX}}}, {0, 0, 10, 10}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TDIBX dst(10, 10, 32), coverage(10, 10, 8);
    dst.AddClipRect(c.clip);
    EXPECT_TRUE(DrawGlyphRun(dst, &coverage, c.run, decorated).IsEmpty());
    EXPECT_EQ(Pixels(dst), std::vector<std::uint32_t>(100, 0u));
  }
}

}  // namespace
}  // namespace kest
