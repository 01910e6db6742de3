#include "shell/ui/message_box_icon.h"

#include <array>
#include <string_view>

#include "shell/ui/paint.h"

namespace kest::ui {

namespace {

constexpr std::int32_t kInfoBlue = 0xC05010;   // 0x00BBGGRR
constexpr std::int32_t kWarnYellow = 0x00D8FF;
constexpr std::int32_t kErrorRed = 0x2020D0;
constexpr std::int32_t kWhite = 0xFFFFFF;
constexpr std::int32_t kBlack = 0x000000;
constexpr std::int32_t kOutline = 0x404040;

// The symbols on the icons, 6 by 10 cells, each cell 3 by 2 pixels: '#' is drawn.
using Symbol = std::array<std::string_view, 10>;
constexpr Symbol kInfoSymbol{"  ##  ", "  ##  ", "      ", " ###  ", "  ##  ",
                             "  ##  ", "  ##  ", "  ##  ", "  ##  ", " #### "};
constexpr Symbol kExclamation{"  ##  ", "  ##  ", "  ##  ", "  ##  ", "  ##  ",
                              "  ##  ", "      ", "      ", "  ##  ", "  ##  "};
constexpr Symbol kQuestion{" #### ", "##  ##", "    ##", "   ## ", "  ##  ",
                           "  ##  ", "      ", "      ", "  ##  ", "  ##  "};

void DrawSymbol(TCustomDIBX& target, std::int32_t x, std::int32_t y, const Symbol& symbol, std::int32_t rgb) {
  for (std::size_t row = 0; row < symbol.size(); ++row) {
    for (std::size_t column = 0; column < symbol[row].size(); ++column) {
      if (symbol[row][column] != '#') continue;
      const std::int32_t left = x + static_cast<std::int32_t>(column) * 3;
      const std::int32_t top = y + static_cast<std::int32_t>(row) * 2;
      FillColour(target, {left, top, left + 3, top + 2}, rgb);
    }
  }
}

// A disc filling the icon, with a one-pixel dark rim.
void DrawDisc(TCustomDIBX& target, std::int32_t x, std::int32_t y, std::int32_t rgb) {
  const auto fill = static_cast<std::uint32_t>(target.ColorToPixel(rgb));
  const auto rim = static_cast<std::uint32_t>(target.ColorToPixel(kOutline));
  constexpr std::int32_t r2_outer = 15 * 15 + 15, r2_inner = 14 * 14 + 14;
  for (std::int32_t dy = 0; dy < kIconSide; ++dy) {
    for (std::int32_t dx = 0; dx < kIconSide; ++dx) {
      // Distances from the centre (15.5, 15.5), doubled to stay in integers.
      const std::int32_t px = 2 * dx - 31, py = 2 * dy - 31;
      const std::int32_t d = (px * px + py * py) / 4;
      if (d <= r2_inner) target.SetPixel(x + dx, y + dy, fill);
      else if (d <= r2_outer) target.SetPixel(x + dx, y + dy, rim);
    }
  }
}

void DrawTriangle(TCustomDIBX& target, std::int32_t x, std::int32_t y, std::int32_t rgb) {
  for (std::int32_t row = 1; row < kIconSide - 1; ++row) {
    const std::int32_t half = row / 2 + 1;  // widens one pixel each side every two rows
    const std::int32_t left = x + 16 - half, right = x + 16 + half;
    FillColour(target, {left, y + row, right, y + row + 1}, rgb);
    FillColour(target, {left - 1, y + row, left, y + row + 1}, kOutline);
    FillColour(target, {right, y + row, right + 1, y + row + 1}, kOutline);
  }
  FillColour(target, {x + 1, y + kIconSide - 2, x + kIconSide - 1, y + kIconSide - 1}, kOutline);
}

void DrawCross(TCustomDIBX& target, std::int32_t x, std::int32_t y, std::int32_t rgb) {
  for (std::int32_t i = 0; i < 14; ++i) {
    FillColour(target, {x + 9 + i, y + 9 + i, x + 12 + i, y + 10 + i}, rgb);
    FillColour(target, {x + 20 - i, y + 9 + i, x + 23 - i, y + 10 + i}, rgb);
  }
}

}  // namespace

void DrawMessageIcon(TCustomDIBX& target, std::int32_t x, std::int32_t y, platform::MessageIcon icon) {
  switch (icon) {
    case platform::MessageIcon::kInformation:
      DrawDisc(target, x, y, kInfoBlue);
      DrawSymbol(target, x + 7, y + 6, kInfoSymbol, kWhite);
      break;
    case platform::MessageIcon::kWarning:
      DrawTriangle(target, x, y, kWarnYellow);
      DrawSymbol(target, x + 7, y + 9, kExclamation, kBlack);
      break;
    case platform::MessageIcon::kError:
      DrawDisc(target, x, y, kErrorRed);
      DrawCross(target, x, y, kWhite);
      break;
    case platform::MessageIcon::kQuestion:
      DrawDisc(target, x, y, kInfoBlue);
      DrawSymbol(target, x + 7, y + 6, kQuestion, kWhite);
      break;
    case platform::MessageIcon::kNone:
      break;
  }
}

}  // namespace kest::ui
