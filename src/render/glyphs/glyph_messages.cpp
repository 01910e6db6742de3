#include "render/glyphs/glyph_messages.h"

namespace kest {

const std::string& Message(GlyphMessage id) {
  static const MessageTable<GlyphMessage, static_cast<std::size_t>(GlyphMessage::kCount)> table({
      "Error:GetOutlineTextMetrics",
      "フォント %s も既定のフォントも開けません。文字は表示されません",
  });
  return table[id];
}

}  // namespace kest
