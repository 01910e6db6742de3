#pragma once
// Captions with an access key: "&" marks the character after it ("DirectSoundを使用する(&S)"
// shows "DirectSoundを使用する(S)" with the S underlined, and Alt+S reaches the control);
// "&&" is a literal "&". A "&" that is the trail byte of a double-byte character is no marker.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "render/surface.h"
#include "shell/ui/ui_text.h"

namespace kest::ui {

struct Mnemonic {
  std::string text;                  // the caption as shown, markers removed
  std::size_t underline_offset = 0;  // byte offset in `text` of the underlined character
  std::size_t underline_length = 0;  // 0: nothing is underlined
  std::uint8_t key = 0;              // the access key's virtual-key code ('A'..'Z', '0'..'9'); 0 none
};

Mnemonic ParseMnemonic(std::string_view cp932_caption);

// Draws the caption with its top-left at (x, y) and a one-pixel line under the access key at
// the text's last row.
void DrawMnemonic(TCustomDIBX& target, UiText& text, std::int32_t x, std::int32_t y, const Mnemonic& caption,
                  std::int32_t rgb);

// The caption as a disabled control shows it: a lit copy one pixel down and right, the grey one
// over it.
void DrawGreyed(TCustomDIBX& target, UiText& text, std::int32_t x, std::int32_t y, const Mnemonic& caption);

// Enabled: black; disabled: greyed.
enum class Enabled { kYes, kNo };
void DrawCaption(TCustomDIBX& target, UiText& text, std::int32_t x, std::int32_t y, const Mnemonic& caption,
                 Enabled enabled);

}  // namespace kest::ui
