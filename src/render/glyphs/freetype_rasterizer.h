#pragma once
// The real font engine: FreeType on the faces the face resolver finds in a font catalogue.
//
//   auto fonts = std::shared_ptr<const FontCatalog>(MakeSystemFontCatalog());  // or a folder's
//   TFontPixelManager glyphs(MakeFreeTypeRasterizer(fonts));
//   GlyphRef a = glyphs.Get(0x82A0, {.face = kDefaultFaceName, .height = 24});  // "あ"
//   FontMetrics m = glyphs.Metrics({.face = kDefaultFaceName, .height = 24});  // IPAGothic: ascent 21
//
// Glyphs use light hinting; grey levels render outlines only (no embedded bitmaps) and map
// FreeType's coverage through the level's grey table, level 0 is FreeType's 1-bit render. Bold
// is an outline widened by em/24 (at least 1 px), italic a shear of one fifth. Each font file is
// opened once, and a face's size is set again only when the em changes.

#include <memory>

#include "platform/font_catalog.h"
#include "render/glyphs/glyph_rasterizer.h"

namespace kest {

std::unique_ptr<GlyphRasterizer> MakeFreeTypeRasterizer(std::shared_ptr<const FontCatalog> catalog);

}  // namespace kest
