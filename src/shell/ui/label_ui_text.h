#pragma once
// The widgets' text drawn as the player draws captions: one caption label per text and colour,
// measured once and rendered once, in the window font ("ＭＳ Ｐゴシック" 12 px).

#include <map>
#include <memory>
#include <string>
#include <utility>

#include "render/glyphs/font_pixel.h"
#include "shell/ui/ui_text.h"

namespace kest {
class TFontPixelManager;
class TVxLabelList;
}  // namespace kest

namespace kest::ui {

class LabelUiText final : public UiText {
 public:
  explicit LabelUiText(TFontPixelManager& glyphs);
  LabelUiText(TFontPixelManager& glyphs, FontRequest font);
  ~LabelUiText() override;

  std::int32_t Width(std::string_view cp932) override;
  std::int32_t LineHeight() override;
  void Draw(TCustomDIBX& target, std::int32_t x, std::int32_t y, std::string_view cp932, std::int32_t rgb) override;

 private:
  TVxLabelList& LabelFor(std::string_view cp932, std::int32_t rgb);

  TFontPixelManager& glyphs_;
  FontRequest font_;
  // A widget shows a handful of texts; past this many the cache starts again.
  static constexpr std::size_t kMaxLabels = 256;
  std::map<std::pair<std::int32_t, std::string>, std::unique_ptr<TVxLabelList>> labels_;
};

}  // namespace kest::ui
