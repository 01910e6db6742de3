#include "shell/ui/label_ui_text.h"

#include "render/glyphs/font_pixel_manager.h"
#include "text/label_list.h"

namespace kest::ui {

LabelUiText::LabelUiText(TFontPixelManager& glyphs)
    : LabelUiText(glyphs, FontRequest{TVxLabelList::DefaultFontName(), 12, 0}) {}

LabelUiText::LabelUiText(TFontPixelManager& glyphs, FontRequest font) : glyphs_(glyphs), font_(std::move(font)) {}

LabelUiText::~LabelUiText() = default;

TVxLabelList& LabelUiText::LabelFor(std::string_view cp932, std::int32_t rgb) {
  auto key = std::make_pair(rgb, std::string(cp932));
  if (const auto found = labels_.find(key); found != labels_.end()) return *found->second;
  if (labels_.size() >= kMaxLabels) labels_.clear();
  auto list = std::make_unique<TVxLabelList>(glyphs_);
  list->FontName = font_.face;
  list->SetFontHeight(font_.height);
  list->FontStyle = font_.style;
  list->Color = rgb;
  list->Add().SetText(cp932);
  list->Measure();
  return *labels_.emplace(std::move(key), std::move(list)).first->second;
}

std::int32_t LabelUiText::Width(std::string_view cp932) { return LabelFor(cp932, 0).Get(0)->Width(); }

std::int32_t LabelUiText::LineHeight() { return glyphs_.Metrics(font_).em; }

void LabelUiText::Draw(TCustomDIBX& target, std::int32_t x, std::int32_t y, std::string_view cp932,
                       std::int32_t rgb) {
  TVxLabelList& list = LabelFor(cp932, rgb);
  list.TargetSurface = &target;
  list.Get(0)->Draw(x, y);
  list.TargetSurface = nullptr;
}

}  // namespace kest::ui
