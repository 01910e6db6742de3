// A run of glyphs drawn "joined": first every cell's background, then every shadow, then every
// outline, then the faces with their underline and strike-out bars. Drawing the run in layers
// keeps one glyph's outline or shadow from covering its neighbour's face.

#include <algorithm>
#include <cstdint>
#include <optional>

#include "render/glyphs/glyph_draw.h"
#include "render/glyphs/glyph_placement.h"

namespace kest {

namespace {

// Positions are computed in 64 bits. One that does not fit 32 bits lies beyond every surface
// (sides stop at kMaxSurfaceSide, and so do masks), so whatever is drawn there is skipped.
std::optional<std::int32_t> Fit32(std::int64_t v) {
  if (v < INT32_MIN || v > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(v);
}

struct MaskPosition {
  std::int64_t x = 0;
  std::int64_t y = 0;
};

MaskPosition PositionOf(const PlacedGlyph& g) {
  return {std::int64_t{g.cell.left} + g.inset + g.glyph->offset_x, std::int64_t{g.cell.top} + g.glyph->offset_y};
}

// The glyph box: its mask, widened to the right by the emboldening (which the mask already holds).
struct Box {
  std::int64_t left, top, right, bottom;
  Box Grown(std::int64_t by) const { return {left - by, top - by, right + by, bottom + by}; }
  Box Moved(std::int64_t by) const { return {left + by, top + by, right + by, bottom + by}; }
  Rect Under(const Rect& limit) const { return ClampedRect(left, top, right, bottom, limit); }
};

Box GlyphBox(const PlacedGlyph& g) {
  const MaskPosition at = PositionOf(g);
  return {at.x, at.y, at.x + g.glyph->mask.Width() + std::max(0, g.glyph->bold_spread), at.y + g.glyph->mask.Height()};
}

bool HasFace(const PlacedGlyph& g) { return g.glyph != nullptr && HasDrawableMask(*g.glyph); }

// The glyph grown by an outline of w: the coverage its outline stamps leave on empty coverage
// (with the face's own stamp when asked), by the accumulate rule. The silhouette's top-left lies
// w left of and above the mask's. False when it would exceed the largest surface.
bool BuildSilhouette(TFontPixel& out, const TFontPixel& glyph, int w, bool with_face) {
  const std::int64_t width = std::int64_t{glyph.mask.Width()} + 2 * w, height = std::int64_t{glyph.mask.Height()} + 2 * w;
  if (width > kMaxSurfaceSide || height > kMaxSurfaceSide) return false;
  out.mask.SetSize(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height), 8);
  for (int dy = -w; dy <= w; ++dy)
    for (int dx = -w; dx <= w; ++dx)
      if (with_face || dx != 0 || dy != 0) AccumulateGlyphCoverage(out.mask, w + dx, w + dy, glyph);
  return true;
}

// Puts a mask at (x, y): by the layer rule when there is coverage, anti-aliased otherwise.
void Stamp(TCustomDIBX& dst, TCustomDIBX* coverage, std::int64_t x, std::int64_t y, const TFontPixel& mask,
           std::uint32_t colour) {
  const auto px = Fit32(x), py = Fit32(y);
  if (!px || !py) return;
  if (coverage != nullptr)
    DrawGlyphLayer(dst, *coverage, *px, *py, mask, colour);
  else
    DrawGlyphAntialiased(dst, *px, *py, mask, colour);
}

// An opaque rectangle in the face colour (or the background): the picture takes the colour and
// the coverage becomes full.
Rect FillOpaque(TCustomDIBX& dst, TCustomDIBX* coverage, const Rect& area, std::uint32_t colour) {
  if (area.IsEmpty()) return {};
  dst.FillRect(area, colour);
  if (coverage != nullptr) coverage->FillRect(area, 255);
  return area;
}

// The bars a glyph's style asks for, each across the whole cell so that neighbours' bars join.
Rect DrawBars(TCustomDIBX& dst, TCustomDIBX* coverage, const PlacedGlyph& g, std::uint32_t colour, const Rect& limit) {
  Rect touched;
  const TFontPixel& glyph = *g.glyph;
  if ((glyph.style & kFontUnderline) != 0 && glyph.underline_size > 0) {
    const Box bar{g.cell.left, std::int64_t{g.cell.bottom} - glyph.underline_size, g.cell.right, g.cell.bottom};
    touched = UnionRect(touched, FillOpaque(dst, coverage, bar.Under(limit), colour));
  }
  if ((glyph.style & kFontStrikeOut) != 0 && glyph.strike_out_size > 0) {
    const std::int64_t top = std::int64_t{g.cell.top} + glyph.strike_out_position;
    const Box bar{g.cell.left, top, g.cell.right, top + glyph.strike_out_size};
    touched = UnionRect(touched, FillOpaque(dst, coverage, bar.Under(limit), colour));
  }
  return touched;
}

}  // namespace

Rect DrawGlyphRun(TCustomDIBX& dst, TCustomDIBX* coverage, std::span<const PlacedGlyph> run,
                  const GlyphDecoration& decoration) {
  // A coverage surface that is not 8-bit cannot take the layer rule: nothing is drawn.
  if (!TakesGlyphs(dst) || (coverage != nullptr && !IsCoverage(*coverage))) return {};
  const Rect limit = coverage != nullptr ? LayerLimit(dst, *coverage) : dst.ClipLimit();
  const int w = std::clamp(decoration.outline_width, 0, kMaxOutlineWidth);
  const int h = std::max(0, decoration.shadow_offset);
  Rect touched;

  if (decoration.background) {
    for (const PlacedGlyph& g : run) {
      const Box cell{g.cell.left, g.cell.top, g.cell.right, g.cell.bottom};
      touched = UnionRect(touched, FillOpaque(dst, coverage, cell.Under(limit), *decoration.background));
    }
  }

  TFontPixel silhouette;
  if (h > 0) {
    for (const PlacedGlyph& g : run) {
      if (!HasFace(g)) continue;
      const MaskPosition at = PositionOf(g);
      const TFontPixel* shape = g.glyph;
      if (w > 0) {
        if (!BuildSilhouette(silhouette, *g.glyph, w, true)) continue;
        shape = &silhouette;
      }
      Stamp(dst, coverage, at.x - w + h, at.y - w + h, *shape, decoration.shadow);
      touched = UnionRect(touched, GlyphBox(g).Grown(w).Moved(h).Under(limit));
    }
  }

  if (w > 0) {
    for (const PlacedGlyph& g : run) {
      if (!HasFace(g)) continue;
      const MaskPosition at = PositionOf(g);
      if (coverage != nullptr) {
        const auto px = Fit32(at.x), py = Fit32(at.y);
        if (px && py) DrawGlyphOutlined(dst, *coverage, *px, *py, *g.glyph, decoration.outline, w);
      } else if (BuildSilhouette(silhouette, *g.glyph, w, false)) {
        // Without coverage the outline's stamps are gathered into one mask first and put down
        // once, so the picture is blended once and not at every offset.
        Stamp(dst, nullptr, at.x - w, at.y - w, silhouette, decoration.outline);
      }
      touched = UnionRect(touched, GlyphBox(g).Grown(w).Under(limit));
    }
  }

  for (const PlacedGlyph& g : run) {
    if (g.glyph == nullptr) continue;
    if (HasFace(g)) {
      const MaskPosition at = PositionOf(g);
      Stamp(dst, coverage, at.x, at.y, *g.glyph, decoration.face);
      touched = UnionRect(touched, GlyphBox(g).Under(limit));
    }
    touched = UnionRect(touched, DrawBars(dst, coverage, g, decoration.face, limit));
  }
  return touched;
}

}  // namespace kest
