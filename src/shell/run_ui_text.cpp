#include "shell/run_ui_text.h"

#include "platform/glyph_engine.h"
#include "shell/ui/player_ui_text.h"

namespace kest::shell {

RunUiText MakeRunUiText(const PlayerOptions& options) {
  RunUiText made;
  made.glyphs = std::make_unique<TFontPixelManager>(
      platform::MakeGlyphEngine({.fake = options.glyphs == GlyphSource::kFake, .font_dir = options.font_dir}));
  made.text = ui::MakePlayerUiText(*made.glyphs);
  return made;
}

}  // namespace kest::shell
