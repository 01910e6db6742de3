#pragma once
// The text of the player's own widgets for one run: a glyph cache over the engine the options
// choose (the system's fonts, a font folder, or the fake engine) and the window font on it.
// The cache outlives the title: boxes are drawn before it starts and after it ended.

#include <memory>

#include "render/glyphs/font_pixel_manager.h"
#include "shell/options.h"
#include "shell/ui/ui_text.h"

namespace kest::shell {

struct RunUiText {
  std::unique_ptr<TFontPixelManager> glyphs;
  std::unique_ptr<ui::UiText> text;
};

// Throws KestError naming the font folder when it cannot be used.
RunUiText MakeRunUiText(const PlayerOptions& options);

}  // namespace kest::shell
