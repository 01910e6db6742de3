#include "text/label_list.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "core/cp932.h"
#include "render/glyphs/font_pixel_manager.h"
#include "render/glyphs/glyph_draw.h"
#include "text/messages.h"

namespace kest {

namespace {

// The same caps as markup sizes and decorations: beyond them a label only costs memory and time.
constexpr std::int32_t kMaxLabelFontHeight = 256;
constexpr std::int32_t kMaxLabelDecoration = 16;

}  // namespace

std::vector<std::uint16_t> CharacterCodes(std::string_view cp932) {
  std::vector<std::uint16_t> codes;
  codes.reserve(cp932.size());
  for (std::size_t i = 0; i < cp932.size();) {
    const std::size_t length = cp932::CharLength(cp932, i);
    const auto lead = static_cast<unsigned char>(cp932[i]);
    codes.push_back(length == 2 ? static_cast<std::uint16_t>(lead << 8 | static_cast<unsigned char>(cp932[i + 1]))
                                : lead);
    i += length;
  }
  return codes;
}

// ---- labels

void TVxLabelDIB::SetText(std::string_view text) {
  if (text == text_) return;
  text_ = text;
  dirty_ = true;
}

void TVxLabelDIB::Render() {
  TCustomDIBX* target = list_->TargetSurface;
  const int bit_count = target ? target->BitCount() : 32;
  if (color_.Width() != width_ || color_.Height() != height_ || color_.BitCount() != bit_count) {
    color_.SetSize(width_, height_, bit_count);
    coverage_.SetSize(width_, height_, 8);
  }
  dirty_ = false;
  if (width_ <= 0 || height_ <= 0) return;
  coverage_.Fill(0);
  color_.Fill(0);
  TFontPixelManager& glyphs = list_->Glyphs();
  glyphs.SetLevel(list_->AntialiasLevel());
  GlyphDecoration decoration{
      .face = static_cast<std::uint32_t>(color_.ColorToPixel(list_->Color)),
      .outline = static_cast<std::uint32_t>(color_.ColorToPixel(list_->BorderColor)),
      .shadow = static_cast<std::uint32_t>(color_.ColorToPixel(list_->ShadowColor)),
      .outline_width = list_->BorderWidth(),
      .shadow_offset = list_->Shadow(),
  };
  // Each cell is its measured width, the outline's margin on both sides: the glyph sits inside
  // it, so the first character's outline is not cut off, while the bars span the whole cell.
  const FontRequest font = list_->Font();
  const std::int32_t border = list_->BorderWidth();
  const std::vector<std::uint16_t> codes = CharacterCodes(text_);
  std::vector<GlyphRef> held;
  std::vector<PlacedGlyph> run;
  held.reserve(codes.size());
  run.reserve(codes.size());
  std::int32_t x = 0;
  for (std::size_t i = 0; i < codes.size() && i < char_widths_.size(); ++i) {
    held.push_back(glyphs.Get(codes[i], font));
    const std::int32_t w = char_widths_[i];
    run.push_back({held.back().get(), Rect{x, border, x + w, border + list_->FontHeight()}, border});
    x += w;
  }
  DrawGlyphRun(color_, &coverage_, run, decoration);
}

void TVxLabelDIB::Draw(std::int32_t x, std::int32_t y) {
  TCustomDIBX* target = list_->TargetSurface;
  if (!target) return;
  if (dirty_ || color_.BitCount() != target->BitCount()) Render();
  if (width_ <= 0 || height_ <= 0) return;
  const Rect whole{0, 0, width_, height_};
  if (list_->BorderWidth() == 0 && list_->Shadow() == 0) {
    // Plain text needs only its coverage: the colour is one value.
    target->DrawColorMask(x, y, coverage_, whole, static_cast<std::uint32_t>(target->ColorToPixel(list_->Color)),
                          list_->Alpha());
  } else if (list_->Alpha() < 255) {
    target->DrawMaskAlpha(x, y, color_, whole, coverage_, list_->Alpha());
  } else {
    target->DrawMask(x, y, color_, whole, coverage_);
  }
}

// ---- the list

const std::string& TVxLabelList::DefaultFontName() { return Message(TextMessage::LabelFontName); }

TVxLabelDIB& TVxLabelList::Add() {
  labels_.push_back(std::make_unique<TVxLabelDIB>(*this));
  return *labels_.back();
}

TVxLabelDIB* TVxLabelList::Get(std::size_t index) { return index < labels_.size() ? labels_[index].get() : nullptr; }

std::int32_t TVxLabelList::MaxWidth() const {
  std::int32_t widest = 0;
  for (const auto& label : labels_) widest = std::max(widest, label->width_);
  return widest;
}

void TVxLabelList::InvalidateAll() {
  for (const auto& label : labels_) label->dirty_ = true;
}

void TVxLabelList::Measure() {
  const FontRequest font = Font();
  const FontMetrics metrics = glyphs_->Metrics(font);
  // The stored block is opaque to readers; it holds the facts this measure used.
  Metrics.fill(0);
  const std::int32_t facts[] = {metrics.em, metrics.ascent, metrics.descent, metrics.overhang};
  std::memcpy(Metrics.data(), facts, sizeof(facts));

  const std::int32_t line_height = metrics.em + 2 * border_width_;
  TVxTagValList widths;
  for (const auto& label : labels_) {
    label->height_ = line_height;
    const std::vector<std::uint16_t> codes = CharacterCodes(label->text_);
    label->char_widths_.assign(codes.size(), 0);
    std::int64_t total = 0;
    for (std::size_t i = 0; i < codes.size(); ++i) {
      std::int32_t& cached = widths[codes[i]];
      const bool last = i + 1 == codes.size();
      if (cached == 0 || last) {
        // The last character's overhang to the right (a negative C) belongs to the label.
        const AbcWidths abc = glyphs_->Abc(codes[i], font);
        std::int32_t w = abc.a + abc.b + abc.c + metrics.overhang + 2 * border_width_;
        if (last && abc.c < 0) w -= abc.c;
        cached = w;
      }
      label->char_widths_[i] = cached;
      total += cached;
    }
    label->width_ = static_cast<std::int32_t>(std::clamp<std::int64_t>(total, 0, kMaxSurfaceSide));
  }
}

// ---- style

void TVxLabelList::SetFontHeight(std::int32_t height) {
  const std::int64_t em = std::llabs(static_cast<std::int64_t>(height));
  font_height_ = em == 0 ? 12 : static_cast<std::int32_t>(std::min<std::int64_t>(em, kMaxLabelFontHeight));
}
void TVxLabelList::SetBorderWidth(std::int32_t width) { border_width_ = std::clamp(width, 0, kMaxLabelDecoration); }
void TVxLabelList::SetShadow(std::int32_t offset) { shadow_ = std::clamp(offset, 0, kMaxLabelDecoration); }
void TVxLabelList::SetAlpha(std::int32_t alpha) { alpha_ = std::clamp(alpha, 0, 255); }
void TVxLabelList::SetAntialiasLevel(std::int32_t level) { antialias_level_ = std::clamp(level, 0, kMaxGlyphLevel); }

// ---- stream form

void TVxLabelList::SaveToStream(ByteWriter& out) const {
  out.I32(antialias_level_);
  out.I32(border_width_);
  out.I32(alpha_);
  out.I32(font_height_);
  out.LString(FontName);
  out.I32(Color);
  out.I32(BorderColor);
  out.U8(FontStyle);
  out.Raw(ByteSpan(Metrics.data(), Metrics.size()));
  out.I32(shadow_);
  out.I32(ShadowColor);
}

void TVxLabelList::LoadFromStream(ByteReader& in, std::int32_t version) {
  std::int32_t level = in.I32();
  // Older lists knew plain and smooth text only.
  if (version < kLabelLevelsVersion) level = level > 1 ? 3 : 0;
  SetAntialiasLevel(level);
  SetBorderWidth(in.I32());
  SetAlpha(in.I32());
  SetFontHeight(in.I32());
  FontName = in.LString();
  Color = in.I32();
  BorderColor = in.I32();
  FontStyle = in.U8();
  const ByteSpan metrics = in.Take(Metrics.size());
  std::copy(metrics.begin(), metrics.end(), Metrics.begin());
  if (version >= kLabelShadowVersion) {
    SetShadow(in.I32());
    ShadowColor = in.I32();
  }
  InvalidateAll();
}

}  // namespace kest
