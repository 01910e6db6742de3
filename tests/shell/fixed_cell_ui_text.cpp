#include "shell/fixed_cell_ui_text.h"

#include "core/cp932.h"

namespace kest::ui {

namespace {

// Calls `each(offset, length)` for every character, a lone lead byte at the end counting as one.
template <typename Each>
void ForEachCharacter(std::string_view text, Each each) {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length =
        cp932::IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
    each(i, length);
    i += length;
  }
}

}  // namespace

std::int32_t FixedCellUiText::Width(std::string_view cp932) {
  std::int32_t width = 0;
  ForEachCharacter(cp932, [&](std::size_t, std::size_t length) { width += length == 2 ? kDoubleWidth : kSingleWidth; });
  return width;
}

void FixedCellUiText::Draw(TCustomDIBX& target, std::int32_t x, std::int32_t y, std::string_view cp932,
                           std::int32_t rgb) {
  const std::uint32_t colour = static_cast<std::uint32_t>(target.ColorToPixel(rgb));
  ForEachCharacter(cp932, [&](std::size_t offset, std::size_t length) {
    const std::int32_t width = length == 2 ? kDoubleWidth : kSingleWidth;
    if (!(length == 1 && cp932[offset] == ' ')) target.FillRect({x, y + 2, x + width - 1, y + kLineHeight - 2}, colour);
    x += width;
  });
}

}  // namespace kest::ui
