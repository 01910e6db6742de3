#pragma once
// The one place the running player makes the text of its own widgets: labels in the window font
// ("ＭＳ Ｐゴシック", 12 pixels) drawn from the player's glyph cache.

#include <memory>

#include "shell/ui/ui_text.h"

namespace kest {
class TFontPixelManager;
}

namespace kest::ui {

std::unique_ptr<UiText> MakePlayerUiText(TFontPixelManager& glyphs);

}  // namespace kest::ui
