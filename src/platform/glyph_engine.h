#pragma once
// Which font engine draws the player's glyphs: FreeType over the system's fonts (found through
// fontconfig) or over the fonts of one folder, or the fake engine that draws boxes from the code
// and size so that pictures do not depend on installed fonts.

#include <memory>
#include <string>

#include "render/glyphs/glyph_rasterizer.h"

namespace kest::platform {

struct GlyphEngineChoice {
  bool fake = false;      // --glyphs fake
  std::string font_dir;   // --font-dir DIR: only this folder's fonts; empty: the system's
};

// Throws KestError naming the folder when `font_dir` cannot be read or holds no font.
std::unique_ptr<GlyphRasterizer> MakeGlyphEngine(const GlyphEngineChoice& choice);

}  // namespace kest::platform
