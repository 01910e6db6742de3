#pragma once
// Text in fixed cells drawn as solid boxes: a single-byte character is 6 pixels wide, a
// double-byte one 12, every line 12 high. Layouts drawn with it can be checked pixel by pixel
// and do not depend on any installed font.

#include "shell/ui/ui_text.h"

namespace kest::ui {

class FixedCellUiText final : public UiText {
 public:
  static constexpr std::int32_t kSingleWidth = 6;
  static constexpr std::int32_t kDoubleWidth = 12;
  static constexpr std::int32_t kLineHeight = 12;

  std::int32_t Width(std::string_view cp932) override;
  std::int32_t LineHeight() override { return kLineHeight; }
  // Each character but a space fills its cell less the rightmost column and the top and bottom
  // two rows, so neighbouring characters stay apart.
  void Draw(TCustomDIBX& target, std::int32_t x, std::int32_t y, std::string_view cp932, std::int32_t rgb) override;
};

}  // namespace kest::ui
