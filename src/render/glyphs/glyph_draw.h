#pragma once
// Putting glyph masks onto surfaces. Colours are native pixel values of the destination; only
// 15/16- and 32-bit destinations are drawn. Every routine clips to the destination's clip limit.
//
//   solid        every pixel under a non-zero mask value becomes the colour
//   anti-aliased d = (m * colour + (255 - m) * d) >> 8 per channel; 255 sets, 0 leaves
//   layer        the picture and its own 8-bit coverage a: 255 sets colour and a = 255; 0 leaves
//                both; else a += m * (255 - a) / 255, D = min(255, m * 255 / a),
//                d = (D * c + (255 - D) * d) >> 8. The coverage surface is in the picture's
//                coordinates; nothing is drawn outside it, nor when it is not 8-bit
//   coverage     into an 8-bit surface: pixels under a non-zero mask value become 255
//   accumulate   into an 8-bit surface: a += m * (255 - a) / 255
//   outlined     the layer rule at every offset (dx, dy) in -w..w except (0, 0), dy then dx
//                ascending, for every mask pixel in row order
//   run          a row of glyphs in cells, with shadow, outline, face and bars

#include <cstdint>
#include <optional>
#include <span>

#include "render/glyphs/font_pixel.h"
#include "render/surface.h"

namespace kest {

// Outlines wider than this cost (2w + 1)^2 per pixel for no visible gain.
inline constexpr int kMaxOutlineWidth = 16;

void DrawGlyphSolid(TCustomDIBX& dst, std::int32_t x, std::int32_t y, const TFontPixel& glyph, std::uint32_t colour);
void DrawGlyphAntialiased(TCustomDIBX& dst, std::int32_t x, std::int32_t y, const TFontPixel& glyph,
                          std::uint32_t colour);
void DrawGlyphLayer(TCustomDIBX& dst, TCustomDIBX& coverage, std::int32_t x, std::int32_t y,
                    const TFontPixel& glyph, std::uint32_t colour);
void DrawGlyphCoverage(TCustomDIBX& coverage, std::int32_t x, std::int32_t y, const TFontPixel& glyph);
void AccumulateGlyphCoverage(TCustomDIBX& coverage, std::int32_t x, std::int32_t y, const TFontPixel& glyph);
// `width` is clamped to 1..kMaxOutlineWidth.
void DrawGlyphOutlined(TCustomDIBX& dst, TCustomDIBX& coverage, std::int32_t x, std::int32_t y,
                       const TFontPixel& glyph, std::uint32_t colour, int width);

// A glyph in its cell: the mask sits at (cell.left + inset + offset_x, cell.top + offset_y). A cell
// that makes room for the outline on both sides insets the glyph by the outline's width; the
// background and the bars still span the whole cell, so neighbours' bars join.
struct PlacedGlyph {
  const TFontPixel* glyph = nullptr;
  Rect cell;
  std::int32_t inset = 0;
};

struct GlyphDecoration {
  std::uint32_t face = 0;     // native colours of the destination
  std::uint32_t outline = 0;
  std::uint32_t shadow = 0;
  int outline_width = 0;      // 0: none; clamped to kMaxOutlineWidth
  int shadow_offset = 0;      // 0 or less: none; the outlined silhouette stamped once at (+h, +h)
  std::optional<std::uint32_t> background;  // fills each cell first when set
};

// Draws a run "joined": every background, then every shadow, then every outline, then faces and
// the underline and strike-out bars (which span each cell, so neighbours' bars join). With
// `coverage` the layer rule is used and coverage accumulates, and the background and the bars,
// being opaque, make it full; without it the face is drawn anti-aliased straight onto `dst`, and
// the outline's stamps are gathered into one mask that is drawn anti-aliased once. Returns the
// union of every rectangle touched, within the clip limit (empty when nothing was).
Rect DrawGlyphRun(TCustomDIBX& dst, TCustomDIBX* coverage, std::span<const PlacedGlyph> run,
                  const GlyphDecoration& decoration);

}  // namespace kest
