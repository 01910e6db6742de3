#include "shell/ui/mnemonic.h"

#include "core/cp932.h"
#include "shell/ui/paint.h"
#include "shell/ui/palette.h"

namespace kest::ui {

Mnemonic ParseMnemonic(std::string_view caption) {
  Mnemonic parsed;
  for (std::size_t i = 0; i < caption.size();) {
    const unsigned char byte = static_cast<unsigned char>(caption[i]);
    if (cp932::IsLeadByte(byte) && i + 1 < caption.size()) {
      parsed.text.append(caption.substr(i, 2));
      i += 2;
      continue;
    }
    if (byte == '&' && i + 1 < caption.size()) {
      if (caption[i + 1] == '&') {
        parsed.text += '&';
        i += 2;
        continue;
      }
      const unsigned char next = static_cast<unsigned char>(caption[i + 1]);
      const std::size_t length = cp932::IsLeadByte(next) && i + 2 < caption.size() ? 2 : 1;
      if (parsed.underline_length == 0) {  // the first marker counts, as in a dialog template
        parsed.underline_offset = parsed.text.size();
        parsed.underline_length = length;
        if (length == 1 && next >= 'a' && next <= 'z') parsed.key = static_cast<std::uint8_t>(next - 'a' + 'A');
        else if (length == 1 && ((next >= 'A' && next <= 'Z') || (next >= '0' && next <= '9'))) parsed.key = next;
      }
      parsed.text.append(caption.substr(i + 1, length));
      i += 1 + length;
      continue;
    }
    parsed.text += static_cast<char>(byte);
    ++i;
  }
  return parsed;
}

namespace {

void Underline(TCustomDIBX& target, UiText& text, std::int32_t x, std::int32_t y, const Mnemonic& caption,
               std::int32_t rgb) {
  if (caption.underline_length == 0) return;
  const std::string_view shown = caption.text;
  const std::int32_t left = x + text.Width(shown.substr(0, caption.underline_offset));
  const std::int32_t width = text.Width(shown.substr(caption.underline_offset, caption.underline_length));
  const std::int32_t row = y + text.LineHeight() - 1;
  FillColour(target, {left, row, left + width, row + 1}, rgb);
}

}  // namespace

void DrawMnemonic(TCustomDIBX& target, UiText& text, std::int32_t x, std::int32_t y, const Mnemonic& caption,
                  std::int32_t rgb) {
  text.Draw(target, x, y, caption.text, rgb);
  Underline(target, text, x, y, caption, rgb);
}

void DrawGreyed(TCustomDIBX& target, UiText& text, std::int32_t x, std::int32_t y, const Mnemonic& caption) {
  DrawMnemonic(target, text, x + 1, y + 1, caption, kHighlightColour);
  DrawMnemonic(target, text, x, y, caption, kGreyTextColour);
}

void DrawCaption(TCustomDIBX& target, UiText& text, std::int32_t x, std::int32_t y, const Mnemonic& caption,
                 Enabled enabled) {
  if (enabled == Enabled::kYes) {
    DrawMnemonic(target, text, x, y, caption, kTextColour);
  } else {
    DrawGreyed(target, text, x, y, caption);
  }
}

}  // namespace kest::ui
