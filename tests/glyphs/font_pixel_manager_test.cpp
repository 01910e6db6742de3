// The glyph cache: eviction order, its key, shared glyphs, the level drop and face fallbacks.

#include <gtest/gtest.h>

#include <vector>

#include "glyph_test_support.h"
#include "rasterizer_doubles.h"
#include "render/glyphs/font_pixel_manager.h"
#include "render/glyphs/glyph_codes.h"

namespace kest {
namespace {

using testing::DistinctValues;
using testing::EngineLog;
using testing::ScriptedRasterizer;

const FontRequest kFont{.face = "face", .height = 24, .style = 0};

// n kanji codes (lead bytes 0x89.., trail bytes 0x40..0x7E and 0x80..0xFC, all mapped), spread
// over every bucket's low byte.
std::vector<std::uint16_t> Kanji(std::size_t n) {
  std::vector<std::uint16_t> codes;
  for (int lead = 0x89; codes.size() < n; ++lead)
    for (int trail = 0x40; trail <= 0xFC && codes.size() < n; ++trail)
      if (trail != 0x7F) codes.push_back(static_cast<std::uint16_t>(lead * 256 + trail));
  return codes;
}

struct Cache {
  std::shared_ptr<EngineLog> log = std::make_shared<EngineLog>();
  ScriptedRasterizer* engine = nullptr;
  std::vector<std::string> notices;
  std::unique_ptr<TFontPixelManager> glyphs;

  Cache() {
    auto owned = std::make_unique<ScriptedRasterizer>(log);
    engine = owned.get();
    glyphs = std::make_unique<TFontPixelManager>(std::move(owned), [this](const std::string& text) { notices.push_back(text); });
  }
  int Renders() const { return log->grey_calls + log->mono_calls; }
};

TEST(GlyphCache, TheGlyphPastTheLimitEvictsTheLeastRecentlyUsed) {
  const auto codes = Kanji(kMaxCachedGlyphs + 1);
  Cache cache;
  std::vector<GlyphRef> held;
  for (std::size_t i = 0; i < kMaxCachedGlyphs; ++i) held.push_back(cache.glyphs->Get(codes[i], kFont));
  EXPECT_EQ(cache.glyphs->CachedCount(), kMaxCachedGlyphs);
  held.push_back(cache.glyphs->Get(codes[kMaxCachedGlyphs], kFont));
  EXPECT_EQ(cache.glyphs->CachedCount(), kMaxCachedGlyphs);
  const int renders = cache.Renders();
  // The second is still cached; the first was made again.
  EXPECT_EQ(cache.glyphs->Get(codes[1], kFont), held[1]);
  EXPECT_EQ(cache.Renders(), renders);
  EXPECT_NE(cache.glyphs->Get(codes[0], kFont), held[0]);
  EXPECT_EQ(cache.Renders(), renders + 1);
}

TEST(GlyphCache, AHitMovesTheGlyphToTheFront) {
  const auto codes = Kanji(kMaxCachedGlyphs + 1);
  Cache cache;
  std::vector<GlyphRef> held;
  for (std::size_t i = 0; i < kMaxCachedGlyphs; ++i) held.push_back(cache.glyphs->Get(codes[i], kFont));
  EXPECT_EQ(cache.glyphs->Get(codes[0], kFont), held[0]);  // 1 again: now the most recent
  cache.glyphs->Get(codes[kMaxCachedGlyphs], kFont);       // 257 evicts 2
  const int renders = cache.Renders();
  EXPECT_EQ(cache.glyphs->Get(codes[0], kFont), held[0]);
  EXPECT_EQ(cache.glyphs->Get(codes[2], kFont), held[2]);
  EXPECT_EQ(cache.Renders(), renders);
  EXPECT_NE(cache.glyphs->Get(codes[1], kFont), held[1]);
}

TEST(GlyphCache, CodeFaceHeightStyleAndLevelEachTellGlyphsApart) {
  const struct {
    const char* what;
    std::uint16_t code;
    FontRequest font;
    int level;
  } cases[] = {
      {"code", 0x82A2, kFont, 3},
      {"code with the same low byte", 0x83A0, kFont, 3},
      {"face", 0x82A0, {.face = "other", .height = 24}, 3},
      {"face differing in case", 0x82A0, {.face = "FACE", .height = 24}, 3},
      {"height", 0x82A0, {.face = "face", .height = 25}, 3},
      {"negative height", 0x82A0, {.face = "face", .height = -24}, 3},
      {"style", 0x82A0, {.face = "face", .height = 24, .style = kFontUnderline}, 3},
      {"level", 0x82A0, kFont, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Cache cache;
    const GlyphRef first = cache.glyphs->Get(0x82A0, kFont);
    cache.glyphs->SetLevel(c.level);
    const GlyphRef other = cache.glyphs->Get(c.code, c.font);
    EXPECT_NE(other, first);
    EXPECT_EQ(cache.Renders(), 2);
    EXPECT_EQ(other->level, c.level);
    cache.glyphs->SetLevel(3);
    EXPECT_EQ(cache.glyphs->Get(0x82A0, kFont), first);
    cache.glyphs->SetLevel(c.level);
    EXPECT_EQ(cache.glyphs->Get(c.code, c.font), other);
    EXPECT_EQ(cache.Renders(), 2);
  }
}

TEST(GlyphCache, AGlyphACallerHoldsOutlivesItsEviction) {
  Cache cache;
  const GlyphRef held = cache.glyphs->Get(0x82A0, kFont);
  const auto values = testing::MaskValues(*held);
  for (const std::uint16_t code : Kanji(kMaxCachedGlyphs)) cache.glyphs->Get(code, {.face = "other", .height = 24});
  EXPECT_EQ(cache.glyphs->CachedCount(), kMaxCachedGlyphs);
  EXPECT_EQ(testing::MaskValues(*held), values);
  EXPECT_NE(cache.glyphs->Get(0x82A0, kFont), held);
}

TEST(GlyphCache, MaskBytesAreBoundedAsWellAsTheGlyphCount) {
  Cache cache;
  const FontRequest huge{.face = "face", .height = kMaxFontEm};
  const auto codes = Kanji(80);
  for (const std::uint16_t code : codes) cache.glyphs->Get(code, huge);
  EXPECT_LE(cache.glyphs->CachedMaskBytes(), kMaxCachedMaskBytes);
  EXPECT_GT(cache.glyphs->CachedMaskBytes(), kMaxCachedMaskBytes / 2);
  EXPECT_LT(cache.glyphs->CachedCount(), codes.size());
  // The newest stays; the oldest went.
  const int renders = cache.Renders();
  cache.glyphs->Get(codes.back(), huge);
  EXPECT_EQ(cache.Renders(), renders);
  cache.glyphs->Get(codes.front(), huge);
  EXPECT_EQ(cache.Renders(), renders + 1);
}

TEST(GlyphCache, AnEngineWithoutGreyRendersDropsToLevelZeroForTheRun) {
  Cache cache;
  cache.engine->refuses_grey = true;
  EXPECT_EQ(cache.glyphs->Level(), 3);
  const GlyphRef glyph = cache.glyphs->Get(0x82A0, kFont);
  EXPECT_EQ(glyph->level, 0);
  EXPECT_TRUE(glyph->HasMask());
  EXPECT_EQ(DistinctValues(*glyph), (std::set<std::uint8_t>{0, 255}));
  EXPECT_EQ(cache.glyphs->Level(), 0);
  EXPECT_EQ(cache.log->grey_calls, 1);
  cache.glyphs->Get(0x889F, kFont);
  EXPECT_EQ(cache.log->grey_calls, 1);  // no more grey attempts
  EXPECT_EQ(cache.glyphs->Get(0x82A0, kFont), glyph);
}

TEST(GlyphCache, ConsecutiveRequestsForOneFontSelectItOnce) {
  Cache cache;
  for (const std::uint16_t code : Kanji(10)) cache.glyphs->Get(code, kFont);
  cache.glyphs->Metrics(kFont);
  cache.glyphs->Abc('A', kFont);
  EXPECT_EQ(cache.log->metrics_calls, 1);
  cache.glyphs->Get('A', {.face = "face", .height = 24, .style = kFontBold});
  cache.glyphs->Get('B', kFont);
  EXPECT_EQ(cache.log->metrics_calls, 3);
}

TEST(GlyphCache, ARefusedFaceIsDrawnWithTheDefaultFace) {
  Cache cache;
  cache.engine->refuses_face = [](const std::string& face) { return face != kDefaultFaceName; };
  const FontRequest broken{.face = "broken", .height = 24};
  const GlyphRef glyph = cache.glyphs->Get(0x82A0, broken);
  EXPECT_TRUE(glyph->HasMask());
  EXPECT_EQ(glyph->font_name, "broken");  // the cache keeps the requested name
  ASSERT_FALSE(cache.log->faces_drawn.empty());
  EXPECT_EQ(cache.log->faces_drawn.back(), kDefaultFaceName);
  EXPECT_EQ(cache.glyphs->Metrics(broken).ascent, 21);
  EXPECT_EQ(cache.glyphs->Abc('A', broken).b, 6);
  EXPECT_TRUE(cache.notices.empty());
}

TEST(GlyphCache, WithNoFontAtAllGlyphsAreBlankAndThatIsSaidOnce) {
  Cache cache;
  cache.engine->refuses_face = [](const std::string&) { return true; };
  for (const char* face : {"one", "two", kDefaultFaceName}) {
    SCOPED_TRACE(face);
    const FontRequest font{.face = face, .height = 24};
    GlyphRef glyph;
    ASSERT_NO_THROW(glyph = cache.glyphs->Get(0x82A0, font));
    ASSERT_NE(glyph, nullptr);
    EXPECT_FALSE(glyph->HasMask());
    const FontMetrics metrics = cache.glyphs->Metrics(font);
    EXPECT_EQ(metrics.em, 24);
    EXPECT_EQ(metrics.ascent, 21);
    EXPECT_EQ(metrics.ascent + metrics.descent, 24);
    const AbcWidths abc = cache.glyphs->Abc('A', font);
    EXPECT_EQ(abc.a + abc.b + abc.c, 0);
  }
  ASSERT_EQ(cache.notices.size(), 1u);
  EXPECT_NE(cache.notices[0].find("one"), std::string::npos);
}

TEST(GlyphCache, AGlyphTheEngineFailsOnIsBlank) {
  Cache cache;
  cache.engine->fails_glyphs = true;
  GlyphRef glyph;
  ASSERT_NO_THROW(glyph = cache.glyphs->Get(0x82A0, kFont));
  EXPECT_FALSE(glyph->HasMask());
  EXPECT_EQ(cache.glyphs->Level(), 3);  // a failure is not a missing grey level
}

TEST(GlyphCache, DecorationMetricsComeOnlyWithTheirStyles) {
  Cache cache;
  auto fake = MakeFakeRasterizer();
  const struct {
    std::uint8_t style;
    bool underline;
    bool strike_out;
  } cases[] = {{0, false, false}, {kFontUnderline, true, false}, {kFontStrikeOut, false, true},
               {kFontUnderline | kFontStrikeOut | kFontBold, true, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(int(c.style));
    const FontRequest font{.face = "face", .height = 48, .style = c.style};
    const FontMetrics metrics = fake->Metrics(font);
    const GlyphRef glyph = cache.glyphs->Get('A', font);
    EXPECT_EQ(glyph->underline_size, c.underline ? metrics.underline_size : 0);
    EXPECT_EQ(glyph->strike_out_position, c.strike_out ? metrics.ascent - metrics.strike_out_position : 0);
    EXPECT_EQ(glyph->strike_out_size, c.strike_out ? metrics.strike_out_size : 0);
    EXPECT_EQ(glyph->bold_spread, (c.style & kFontBold) ? 2 : 0);
  }
}

TEST(GlyphCache, SetLevelKeepsToTheKnownLevels) {
  Cache cache;
  const struct {
    int set;
    int level;
  } cases[] = {{0, 0}, {2, 2}, {3, 3}, {-5, 0}, {9, 3}};
  for (const auto& c : cases) {
    cache.glyphs->SetLevel(c.set);
    EXPECT_EQ(cache.glyphs->Level(), c.level) << c.set;
  }
}

}  // namespace
}  // namespace kest
