#include "glyph_specimen.h"

#include <algorithm>

#include "render/glyphs/font_pixel_manager.h"
#include "text/label_list.h"

namespace kest::tool {

void RenderGlyphSpecimen(const std::string& cp932_text, const SpecimenStyle& style, TFontPixelManager& glyphs,
                         TDIBX& picture) {
  TVxLabelList list(glyphs);
  if (!style.face.empty()) list.FontName = style.face;
  list.SetFontHeight(style.size);
  list.SetAntialiasLevel(style.level);
  list.FontStyle = style.style;
  list.Color = style.colour;
  list.SetBorderWidth(style.border);
  list.BorderColor = style.border_colour;
  list.SetShadow(style.shadow);
  list.ShadowColor = style.shadow_colour;
  list.SetAlpha(style.alpha);
  TVxLabelDIB& label = list.Add();
  label.SetText(cp932_text);
  list.Measure();

  const std::int32_t margin = std::clamp(style.margin, 0, 1024);
  // The shadow reaches past the label's own cell by its offset.
  const std::int32_t extra = list.Shadow();
  picture.SetSize(std::max(1, label.Width() + extra + 2 * margin), std::max(1, label.Height() + extra + 2 * margin), 32);
  picture.Fill(static_cast<std::uint32_t>(picture.ColorToPixel(style.background)));
  list.TargetSurface = &picture;
  label.Draw(margin, margin);
}

}  // namespace kest::tool
