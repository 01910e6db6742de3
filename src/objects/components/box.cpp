#include "objects/components/box.h"

#include "objects/components/images.h"
#include "objects/components/motion.h"
#include "objects/property_table.h"
#include "render/surface.h"

namespace kest {

namespace {

// A colour 0x00BBGGRR with each channel scaled by level / 256 (level 0..255).
std::int32_t ScaleColour(std::int32_t colour, std::int32_t level) {
  const auto channel = [&](int shift) { return (((colour >> shift) & 0xFF) * level / 256) << shift; };
  return channel(0) | channel(8) | channel(16);
}

// Fill or frame `r` the way Alpha asks: blended up to 254, opaque at 255, added from 256.
template <typename Fill, typename Blend, typename Add>
void DrawWithAlpha(TCustomDIBX& target, std::int32_t colour, std::int32_t alpha, Fill fill, Blend blend, Add add) {
  if (alpha >= 256) {
    add(static_cast<std::uint32_t>(target.ColorToPixel(ScaleColour(colour, alpha - 256))));
  } else if (alpha == 255) {
    fill(static_cast<std::uint32_t>(target.ColorToPixel(colour)));
  } else {
    blend(static_cast<std::uint32_t>(target.ColorToPixel(colour)), alpha);
  }
}

}  // namespace

TKestBox::TKestBox(TKestBaseList& owner) : TKestControl(owner, LT_BOX) {}

std::optional<PropValue> TKestBox::ReadProperty(std::uint8_t id) const {
  switch (id) {
    case PR_BORDERWIDTH: return border_width_;
    case PR_BORDERCOLOR: return border_color_;
    case PR_ALPHA: return alpha_;
    case PR_SOURCE: return source_;
    case PR_REPEAT: return repeat_;
    default: return TKestControl::ReadProperty(id);
  }
}

void TKestBox::WriteProperty(std::uint8_t id, const PropValue& value) {
  const auto change = [this](std::int32_t& field, std::int32_t v) {
    if (v == field) return;
    field = v;
    Invalidate();
  };
  switch (id) {
    case PR_BORDERWIDTH: change(border_width_, AsInt(value)); return;
    case PR_BORDERCOLOR: change(border_color_, AsInt(value)); return;
    case PR_ALPHA: change(alpha_, AsInt(value)); return;
    case PR_SOURCE: SetSource(AsStr(value)); return;
    case PR_REPEAT:
      repeat_ = AsBool(value);
      if (repeat_ && GetMotion() && GetMotion()->Ended()) RestartMotion();
      return;
    default: TKestControl::WriteProperty(id, value); return;
  }
}

void TKestBox::SetSource(const std::string& source) {
  if (source == source_) return;
  source_ = source;
  DropMotion();
  if (SourceKindOf(source) == SourceKind::Motion) LoadMotion(source);
}

void TKestBox::PaintSelf(TCustomDIBX& target) {
  if (alpha_ <= 0 || alpha_ >= 512) return;
  const Rect r = GetScreenRect();
  Rect inside = r;
  if (border_width_ > 0) {
    if (border_color_ >= 0)
      DrawWithAlpha(
          target, border_color_, alpha_, [&](std::uint32_t c) { target.FrameRect(r, border_width_, c); },
          [&](std::uint32_t c, int a) { target.FrameRectAlpha(r, border_width_, a, c); },
          [&](std::uint32_t c) { target.FrameRectAdd(r, border_width_, c); });
    const std::int64_t w = border_width_;
    inside = {static_cast<std::int32_t>(std::min<std::int64_t>(r.left + w, r.right)),
              static_cast<std::int32_t>(std::min<std::int64_t>(r.top + w, r.bottom)),
              static_cast<std::int32_t>(std::max<std::int64_t>(r.right - w, r.left)),
              static_cast<std::int32_t>(std::max<std::int64_t>(r.bottom - w, r.top))};
  }
  if (color_ >= 0 && !inside.IsEmpty())
    DrawWithAlpha(
        target, color_, alpha_, [&](std::uint32_t c) { target.FillRect(inside, c); },
        [&](std::uint32_t c, int a) { target.FillRectAlpha(inside, c, a); },
        [&](std::uint32_t c) { target.FillRectAdd(inside, c); });
}

}  // namespace kest
