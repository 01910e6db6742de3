// Glyphs.
//
// Glyph cache: 400 distinct 24 px glyphs of IPAGothic at level 3, every one a miss (400 codes
// cycled through a cache of 256 that evicts the least recently used always misses), against
// FreeType's own FT_Load_Char + FT_Render_Glyph of the same 400 characters, the least any
// FreeType-based engine does per glyph; and a hit on a glyph already cached.

#include <benchmark/benchmark.h>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <memory>
#include <vector>

#include "platform/font_catalog.h"
#include "render/glyphs/font_pixel_manager.h"
#include "render/glyphs/freetype_rasterizer.h"
#include "render/glyphs/glyph_codes.h"

namespace kest {
namespace {

// ---- Glyph cache ----------------------------------------------------------------------------

constexpr std::size_t kColdGlyphs = 400;
const FontRequest kGothic24{.face = kDefaultFaceName, .height = 24};

std::shared_ptr<const FontCatalog> Fonts() {
  static const std::shared_ptr<const FontCatalog> fonts = MakeSystemFontCatalog();
  return fonts;
}

// Printable ASCII, then double-byte characters from hiragana on: the first 400 codes with a
// character the face draws.
const std::vector<std::uint16_t>& ColdCodes(FT_Face face) {
  static const std::vector<std::uint16_t> codes = [face] {
    std::vector<std::uint16_t> found;
    for (std::uint32_t code = 0x21; code < 0xFFFF && found.size() < kColdGlyphs; ++code) {
      if (code == 0x7F) code = 0x829F;
      const auto character = CodeToUnicode(static_cast<std::uint16_t>(code));
      if (character && FT_Get_Char_Index(face, *character) != 0) found.push_back(static_cast<std::uint16_t>(code));
    }
    return found;
  }();
  return codes;
}

// The IPAGothic face at 24 px for the reference, or null when the font is missing.
struct ReferenceFace {
  FT_Library library = nullptr;
  FT_Face face = nullptr;

  ReferenceFace() {
    const auto file = Fonts()->Find("IPAGothic");
    if (!file || FT_Init_FreeType(&library) != 0) return;
    if (FT_New_Face(library, file->path.c_str(), file->index, &face) != 0) face = nullptr;
    if (face) FT_Set_Pixel_Sizes(face, 0, 24);
  }
  ~ReferenceFace() {
    if (face) FT_Done_Face(face);
    if (library) FT_Done_FreeType(library);
  }
};

ReferenceFace& Reference() {
  static ReferenceFace reference;
  return reference;
}

bool SkipWithoutFont(benchmark::State& state) {
  if (Reference().face) return false;
  state.SkipWithError("IPAGothic is not installed");
  return true;
}

void GlyphCache_Cold400(benchmark::State& state) {
  if (SkipWithoutFont(state)) return;
  const auto& codes = ColdCodes(Reference().face);
  TFontPixelManager glyphs(MakeFreeTypeRasterizer(Fonts()));
  glyphs.Metrics(kGothic24);  // opens the face before timing
  for (auto _ : state) {
    for (const std::uint16_t code : codes) benchmark::DoNotOptimize(glyphs.Get(code, kGothic24).get());
  }
  state.counters["glyphs"] = static_cast<double>(codes.size());
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * codes.size()));
}

void GlyphCache_FreeTypeReference400(benchmark::State& state) {
  if (SkipWithoutFont(state)) return;
  FT_Face face = Reference().face;
  std::vector<char32_t> characters;
  for (const std::uint16_t code : ColdCodes(face)) characters.push_back(*CodeToUnicode(code));
  for (auto _ : state) {
    for (const char32_t character : characters) {
      FT_Load_Char(face, character, FT_LOAD_TARGET_LIGHT | FT_LOAD_NO_BITMAP);
      FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL);
      benchmark::DoNotOptimize(face->glyph->bitmap.buffer);
    }
  }
  state.counters["glyphs"] = static_cast<double>(characters.size());
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * characters.size()));
}

void GlyphCache_WarmHit(benchmark::State& state) {
  if (SkipWithoutFont(state)) return;
  TFontPixelManager glyphs(MakeFreeTypeRasterizer(Fonts()));
  glyphs.Get(0x82A0, kGothic24);
  for (auto _ : state) benchmark::DoNotOptimize(glyphs.Get(0x82A0, kGothic24).get());
}

// Hits spread over 200 cached glyphs, as a page of text asks for them.
void GlyphCache_WarmHits200(benchmark::State& state) {
  if (SkipWithoutFont(state)) return;
  const auto& all = ColdCodes(Reference().face);
  const std::vector<std::uint16_t> codes(all.begin(), all.begin() + 200);
  TFontPixelManager glyphs(MakeFreeTypeRasterizer(Fonts()));
  for (const std::uint16_t code : codes) glyphs.Get(code, kGothic24);
  for (auto _ : state) {
    for (const std::uint16_t code : codes) benchmark::DoNotOptimize(glyphs.Get(code, kGothic24).get());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * codes.size()));
}

BENCHMARK(GlyphCache_Cold400)->Unit(benchmark::kMillisecond);
BENCHMARK(GlyphCache_FreeTypeReference400)->Unit(benchmark::kMillisecond);
BENCHMARK(GlyphCache_WarmHit);
BENCHMARK(GlyphCache_WarmHits200)->Unit(benchmark::kMicrosecond);

// ---- end of glyph cache ---------------------------------------------------------------------

}  // namespace
}  // namespace kest
