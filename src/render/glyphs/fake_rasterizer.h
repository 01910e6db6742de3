#pragma once
// A font engine that needs no fonts: every glyph is a box with a fixed pattern computed from the
// code and the size, so pixel tests and `--glyphs fake` runs give the same pixels everywhere.
//
//   auto glyphs = std::make_unique<TFontPixelManager>(MakeFakeRasterizer());
//   GlyphRef a = glyphs->Get('A', {.face = "any", .height = 24});
//   // a->mask is 6 x 16: width em/2 - 2 * (em/8), height 3 * em/4 - code % 3
//   // ascent = em * 7/8 rounded; a space has no mask and advances em/2 (em when full-width)
//
// The pattern mixes empty, full and partial coverage, quantised like a real render at the
// requested level (level 0 gives only 0 and 255). Bold widens the box by em/24 (at least 1 px)
// and the advance with it; italic slants the rows by a fifth of their height above the bottom.

#include <memory>

#include "render/glyphs/glyph_rasterizer.h"

namespace kest {

std::unique_ptr<GlyphRasterizer> MakeFakeRasterizer();

}  // namespace kest
