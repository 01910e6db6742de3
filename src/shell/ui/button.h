#pragma once
// A push button: a raised face with its caption centred; sunken and shifted one pixel while
// pressed, lighter under the pointer, a dark outline when it is the default button, the focus
// rectangle inside when focused, the caption greyed when disabled.

#include <string_view>

#include "render/surface.h"
#include "shell/ui/mnemonic.h"
#include "shell/ui/ui_text.h"
#include "shell/ui/widget_state.h"

namespace kest::ui {

enum class DefaultButton { kNo, kYes };

struct Button {
  Rect bounds;
  Mnemonic caption;
  DefaultButton is_default = DefaultButton::kNo;

  Button() = default;
  Button(const Rect& r, std::string_view cp932_caption, DefaultButton def = DefaultButton::kNo)
      : bounds(r), caption(ParseMnemonic(cp932_caption)), is_default(def) {}

  void Draw(TCustomDIBX& target, UiText& text, const WidgetState& state) const;
};

}  // namespace kest::ui
