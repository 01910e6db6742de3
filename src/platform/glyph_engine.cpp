#include "platform/glyph_engine.h"

#include "platform/font_catalog.h"
#include "render/glyphs/fake_rasterizer.h"
#include "render/glyphs/freetype_rasterizer.h"

namespace kest::platform {

std::unique_ptr<GlyphRasterizer> MakeGlyphEngine(const GlyphEngineChoice& choice) {
  if (choice.fake) return MakeFakeRasterizer();
  std::shared_ptr<const FontCatalog> fonts =
      choice.font_dir.empty() ? MakeSystemFontCatalog() : MakeFolderFontCatalog(choice.font_dir);
  return MakeFreeTypeRasterizer(std::move(fonts));
}

}  // namespace kest::platform
