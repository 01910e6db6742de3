// The FreeType engine on the IPA fonts: metrics, advances, levels, styles and face fallbacks.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "core/cp932.h"
#include "core/errors.h"
#include "glyph_test_support.h"
#include "ipa_fonts.h"
#include "listed_fonts.h"
#include "render/glyphs/font_pixel_manager.h"
#include "render/glyphs/freetype_rasterizer.h"
#include "render/glyphs/glyph_codes.h"
#include "render/glyphs/grey_tables.h"
#include "support/temp_folder.h"

namespace kest {
namespace {

using testing::DistinctValues;
using testing::MaskValues;

constexpr std::uint16_t kHiraganaA = 0x82A0;  // あ
const FontRequest kGothic24{.face = kDefaultFaceName, .height = 24};

FontRequest WithStyle(std::uint8_t style) {
  FontRequest font = kGothic24;
  font.style = style;
  return font;
}

struct RealGlyphs {
  std::vector<std::string> notices;
  TFontPixelManager glyphs{MakeFreeTypeRasterizer(testing::SystemFonts()),
                           [this](const std::string& text) { notices.push_back(text); }};
};

TEST(FreeTypeGlyphs, IpaGothicAt24PixelsHasTheDesignedCell) {
  KEST_NEED_IPA_FONTS();
  auto engine = MakeFreeTypeRasterizer(testing::SystemFonts());
  for (const std::int32_t height : {24, -24}) {
    SCOPED_TRACE(height);
    const FontMetrics metrics = engine->Metrics({.face = kDefaultFaceName, .height = height});
    EXPECT_EQ(metrics.em, 24);
    EXPECT_EQ(metrics.ascent, 21);
    EXPECT_EQ(metrics.descent, 3);
    EXPECT_EQ(metrics.overhang, 0);
    EXPECT_GE(metrics.underline_position, 1);
    EXPECT_GE(metrics.underline_size, 1);
    EXPECT_GT(metrics.strike_out_position, 1);
    EXPECT_LT(metrics.strike_out_position, metrics.ascent);
    EXPECT_GE(metrics.strike_out_size, 1);
  }
  EXPECT_EQ(engine->Metrics(WithStyle(kFontBold)).overhang, 1);
}

TEST(FreeTypeGlyphs, HalfAndFullWidthCharactersAdvanceByHalfAndWholeEms) {
  KEST_NEED_IPA_FONTS();
  RealGlyphs real;
  auto engine = MakeFreeTypeRasterizer(testing::SystemFonts());
  const struct {
    std::uint16_t code;
    std::int32_t advance;
    bool drawn;
  } cases[] = {{'A', 12, true}, {kHiraganaA, 24, true}, {0x889F, 24, true}, {0xB1, 12, true},
               {0x5C, 12, true}, {' ', 12, false},       {0x8140, 24, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(engine->Rasterize(c.code, kGothic24, 3)->advance, c.advance);
    const GlyphRef glyph = real.glyphs.Get(c.code, kGothic24);
    EXPECT_EQ(glyph->HasMask(), c.drawn);
    if (c.drawn) {
      EXPECT_EQ(glyph->offset_x + glyph->mask.Width() + glyph->extra_advance, c.advance);
      EXPECT_LE(glyph->offset_y + glyph->mask.Height(), 24 + 2);
    } else {
      EXPECT_EQ(glyph->extra_advance, c.advance);
    }
    const AbcWidths abc = engine->Abc(c.code, kGothic24);
    EXPECT_EQ(abc.a + abc.b + abc.c, c.advance);
    EXPECT_EQ(abc.b, glyph->mask.Width());
  }
  // A code with no character draws nothing and moves nothing.
  const GlyphRef none = real.glyphs.Get(0x80, kGothic24);
  EXPECT_FALSE(none->HasMask());
  EXPECT_EQ(none->extra_advance, 0);
}

TEST(FreeTypeGlyphs, EachLevelShowsOnlyItsOwnGreyValues) {
  KEST_NEED_IPA_FONTS();
  auto engine = MakeFreeTypeRasterizer(testing::SystemFonts());
  for (int level = 0; level <= 3; ++level) {
    SCOPED_TRACE(level);
    const auto glyph = engine->Rasterize(kHiraganaA, kGothic24, level);
    ASSERT_TRUE(glyph);
    ASSERT_GT(glyph->width, 0);
    const auto table = GreyTable(level);
    std::set<std::uint8_t> seen(glyph->coverage.begin(), glyph->coverage.end());
    for (const std::uint8_t value : seen) EXPECT_NE(std::find(table.begin(), table.end(), value), table.end()) << int(value);
    EXPECT_TRUE(seen.count(255));
    if (level == 3) {
      EXPECT_GT(seen.size(), 8u);  // a real anti-aliased edge
    }
  }
}

TEST(FreeTypeGlyphs, BoldWidensAndItalicSlantsTheMask) {
  KEST_NEED_IPA_FONTS();
  RealGlyphs real;
  const GlyphRef plain = real.glyphs.Get(kHiraganaA, kGothic24);
  const GlyphRef bold = real.glyphs.Get(kHiraganaA, WithStyle(kFontBold));
  const GlyphRef italic = real.glyphs.Get(kHiraganaA, WithStyle(kFontItalic));
  EXPECT_EQ(plain->bold_spread, 0);
  EXPECT_EQ(bold->bold_spread, 1);
  EXPECT_GE(bold->mask.Width(), plain->mask.Width() + 1);
  EXPECT_NE(MaskValues(*bold), MaskValues(*plain));
  EXPECT_NE(MaskValues(*italic), MaskValues(*plain));

  // An upright stroke leans right by a fifth of its height.
  const GlyphRef bar = real.glyphs.Get('|', kGothic24);
  const GlyphRef leaning = real.glyphs.Get('|', WithStyle(kFontItalic));
  const std::int32_t lean = leaning->mask.Width() - bar->mask.Width();
  EXPECT_GE(lean, bar->mask.Height() / 5 - 1);
  EXPECT_LE(lean, bar->mask.Height() / 5 + 2);
  const auto first_covered = [](const TFontPixel& glyph, std::int32_t row) {
    const auto values = MaskValues(glyph);
    for (std::int32_t x = 0; x < glyph.mask.Width(); ++x)
      if (values[static_cast<std::size_t>(row * glyph.mask.Width() + x)] == 255) return x;
    return glyph.mask.Width();
  };
  EXPECT_GT(first_covered(*leaning, 0), first_covered(*leaning, leaning->mask.Height() - 1) + 2);
}

// IPA's yen sign is full-width; the byte 0x5C keeps its half-width cell and the yen is narrowed
// into it.
TEST(FreeTypeGlyphs, TheBackslashByteDrawsANarrowYenInAHalfWidthCell) {
  KEST_NEED_IPA_FONTS();
  auto engine = MakeFreeTypeRasterizer(testing::SystemFonts());
  for (const std::uint8_t style : {std::uint8_t{0}, std::uint8_t{kFontItalic}}) {
    SCOPED_TRACE(int(style));
    const auto yen = engine->Rasterize(0x5C, WithStyle(style), 3);
    const auto full_width_yen = engine->Rasterize(0x818F, WithStyle(style), 3);  // ￥
    EXPECT_EQ(yen->advance, 12);
    EXPECT_EQ(full_width_yen->advance, 24);
    EXPECT_LT(yen->width, full_width_yen->width);
    EXPECT_LE(yen->origin_x + yen->width, 12 + (style ? 4 : 0));
    EXPECT_EQ(yen->height, full_width_yen->height);
    const AbcWidths abc = engine->Abc(0x5C, WithStyle(style));
    EXPECT_EQ(abc.a + abc.b + abc.c, 12);
  }
}

TEST(FreeTypeGlyphs, WindowsFacesDrawWithTheirOwnIpaFaceAndUnknownOnesWithGothic) {
  KEST_NEED_IPA_FONTS();
  RealGlyphs real;
  const auto mask_of = [&](const char* utf8_face) {
    return MaskValues(*real.glyphs.Get(kHiraganaA, {.face = cp932::FromUtf8(utf8_face), .height = 24}));
  };
  const auto gothic = mask_of("ＭＳ ゴシック");
  EXPECT_EQ(mask_of("No Such Face"), gothic);
  EXPECT_EQ(mask_of("MS Gothic"), gothic);
  EXPECT_EQ(mask_of("IPAGothic"), gothic);
  EXPECT_NE(mask_of("ＭＳ 明朝"), gothic);
  EXPECT_EQ(mask_of("ＭＳ 明朝"), mask_of("IPAMincho"));
  EXPECT_TRUE(real.notices.empty());
}

TEST(FreeTypeGlyphs, AFontFreeTypeRefusesRaisesTheMetricsErrorAndTheCacheDrawsWithGothic) {
  KEST_NEED_IPA_FONTS();
  testing::TempFolder folder;
  {
    std::ofstream broken(folder.File("broken.ttf"), std::ios::binary);
    broken << "not a font at all";
  }
  const auto fonts = std::make_shared<testing::ListedFonts>(std::map<std::string, FontFile>{
      {"Broken", {folder.File("broken.ttf"), 0}}, {"IPAGothic", *testing::SystemFonts()->Find("IPAGothic")}});
  auto engine = MakeFreeTypeRasterizer(fonts);
  try {
    engine->Metrics({.face = "Broken", .height = 24});
    ADD_FAILURE() << "a broken font gave metrics";
  } catch (const KestError& error) {
    EXPECT_STREQ(error.what(), "Error:GetOutlineTextMetrics");
  }
  EXPECT_THROW(engine->Rasterize('A', {.face = "Broken", .height = 24}, 3), KestError);

  TFontPixelManager glyphs(MakeFreeTypeRasterizer(fonts), [](const std::string&) {});
  const GlyphRef fallback = glyphs.Get(kHiraganaA, {.face = "Broken", .height = 24});
  EXPECT_EQ(fallback->font_name, "Broken");
  EXPECT_EQ(MaskValues(*fallback), MaskValues(*glyphs.Get(kHiraganaA, kGothic24)));
  EXPECT_EQ(glyphs.Metrics({.face = "Broken", .height = 24}).ascent, 21);
}

TEST(FreeTypeGlyphs, WithoutAnyFontNothingIsDrawnAndThatIsSaidOnce) {
  std::vector<std::string> notices;
  TFontPixelManager glyphs(MakeFreeTypeRasterizer(std::make_shared<testing::ListedFonts>(std::map<std::string, FontFile>{})),
                           [&](const std::string& text) { notices.push_back(text); });
  for (const std::uint16_t code : {std::uint16_t{'A'}, kHiraganaA, std::uint16_t{' '}}) {
    GlyphRef glyph;
    ASSERT_NO_THROW(glyph = glyphs.Get(code, kGothic24));
    EXPECT_FALSE(glyph->HasMask());
  }
  glyphs.Get('A', {.face = "Other", .height = 30});
  const FontMetrics metrics = glyphs.Metrics(kGothic24);
  EXPECT_EQ(metrics.em, 24);
  EXPECT_EQ(metrics.ascent, 21);
  EXPECT_EQ(notices.size(), 1u);
}

}  // namespace
}  // namespace kest
