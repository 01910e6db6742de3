#include "shell/ui/paint.h"

#include "shell/ui/palette.h"

namespace kest::ui {

namespace {

// One pixel wide lines along the top and left (`lit`) and the bottom and right (`shaded`).
void Bevel(TCustomDIBX& target, const Rect& r, std::int32_t lit, std::int32_t shaded) {
  if (r.IsEmpty()) return;
  FillColour(target, {r.left, r.top, r.right - 1, r.top + 1}, lit);
  FillColour(target, {r.left, r.top, r.left + 1, r.bottom - 1}, lit);
  FillColour(target, {r.left, r.bottom - 1, r.right, r.bottom}, shaded);
  FillColour(target, {r.right - 1, r.top, r.right, r.bottom}, shaded);
}

Rect Inset(const Rect& r, std::int32_t by) { return {r.left + by, r.top + by, r.right - by, r.bottom - by}; }

}  // namespace

void FillColour(TCustomDIBX& target, const Rect& r, std::int32_t rgb) {
  target.FillRect(r, static_cast<std::uint32_t>(target.ColorToPixel(rgb)));
}

void DrawEdge(TCustomDIBX& target, const Rect& r, Edge edge) {
  switch (edge) {
    case Edge::kRaised:
      Bevel(target, r, kHighlightColour, kDarkShadowColour);
      Bevel(target, Inset(r, 1), kFaceColour, kShadowColour);
      break;
    case Edge::kSunken:
      Bevel(target, r, kShadowColour, kHighlightColour);
      Bevel(target, Inset(r, 1), kDarkShadowColour, kFaceColour);
      break;
    case Edge::kEtched:
      Bevel(target, r, kShadowColour, kHighlightColour);
      Bevel(target, Inset(r, 1), kHighlightColour, kShadowColour);
      break;
  }
}

void DrawFocusRect(TCustomDIBX& target, const Rect& r) {
  if (r.IsEmpty()) return;
  const auto colour = static_cast<std::uint32_t>(target.ColorToPixel(kTextColour));
  // Walking the outline clockwise keeps the dots evenly spaced round the corners.
  std::int32_t step = 0;
  const auto dot = [&](std::int32_t x, std::int32_t y) {
    if (step++ % 2 == 0) target.SetPixel(x, y, colour);
  };
  for (std::int32_t x = r.left; x < r.right; ++x) dot(x, r.top);
  for (std::int32_t y = r.top + 1; y < r.bottom; ++y) dot(r.right - 1, y);
  for (std::int32_t x = r.right - 2; x >= r.left && r.bottom - 1 > r.top; --x) dot(x, r.bottom - 1);
  for (std::int32_t y = r.bottom - 2; y > r.top && r.right - 1 > r.left; --y) dot(r.left, y);
}

}  // namespace kest::ui
