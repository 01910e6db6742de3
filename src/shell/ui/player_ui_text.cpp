#include "shell/ui/player_ui_text.h"

#include "shell/ui/label_ui_text.h"

namespace kest::ui {

std::unique_ptr<UiText> MakePlayerUiText(TFontPixelManager& glyphs) { return std::make_unique<LabelUiText>(glyphs); }

}  // namespace kest::ui
