#pragma once
// A static text: left or right aligned within its rectangle, vertically centred, with an
// optional access key, greyed when disabled. The face behind it is filled first, so a label
// whose text changes leaves nothing of its old text.

#include <string_view>

#include "render/surface.h"
#include "shell/ui/mnemonic.h"
#include "shell/ui/ui_text.h"

namespace kest::ui {

enum class Align { kLeft, kRight };

struct Label {
  Rect bounds;
  Mnemonic caption;
  Align align = Align::kLeft;

  Label() = default;
  Label(const Rect& r, std::string_view cp932_caption, Align a = Align::kLeft)
      : bounds(r), caption(ParseMnemonic(cp932_caption)), align(a) {}

  void Draw(TCustomDIBX& target, UiText& text, Enabled enabled) const;
};

}  // namespace kest::ui
