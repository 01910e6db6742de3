#pragma once
// The work of `kest glyphs`: one line of text drawn as a caption label, through the same glyph
// cache, label list and drawing the player uses, onto a background, so faces, sizes, levels and
// decorations can be looked at (and translators can see how their text will look).

#include <cstdint>
#include <string>

#include "render/dibx.h"

namespace kest {
class TFontPixelManager;
}

namespace kest::tool {

struct SpecimenStyle {
  std::string face;             // CP932; empty: the labels' default face
  std::int32_t size = 24;       // em in pixels, 1..256
  std::int32_t level = 3;       // 0..3
  std::uint8_t style = 0;       // kFontBold | kFontItalic | kFontUnderline | kFontStrikeOut
  std::int32_t colour = 0x000000;      // 0x00BBGGRR
  std::int32_t background = 0xFFFFFF;  // 0x00BBGGRR
  std::int32_t border = 0;
  std::int32_t border_colour = 0xFFFFFF;
  std::int32_t shadow = 0;
  std::int32_t shadow_colour = 0x808080;
  std::int32_t alpha = 255;
  std::int32_t margin = 8;      // background around the label on every side
};

// Makes `picture` a 32-bit picture of the CP932 text on the background: the label's size plus the
// margins (and the shadow's reach).
void RenderGlyphSpecimen(const std::string& cp932_text, const SpecimenStyle& style, TFontPixelManager& glyphs,
                         TDIBX& picture);

}  // namespace kest::tool
