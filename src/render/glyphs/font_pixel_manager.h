#pragma once
// TFontPixelManager: the glyph cache of one player. Glyphs are kept in 256 buckets by the low byte
// of their code and in a recency list; past 256 glyphs (or 32 MB of masks) the least recently
// used goes. The key is code, face name, height, style and the current level.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "render/glyphs/font_pixel.h"
#include "render/glyphs/glyph_rasterizer.h"

namespace kest {

inline constexpr std::size_t kMaxCachedGlyphs = 256;
// Masks are bounded in bytes too: 256 glyphs of a huge em would otherwise hold hundreds of MB.
inline constexpr std::size_t kMaxCachedMaskBytes = 32u << 20;

// Where the cache tells a person something once (CP932 text): standard error unless given.
using GlyphNotice = std::function<void(const std::string&)>;

// A face the engine refuses falls back to "ＭＳ ゴシック"; when that fails too, glyphs of the
// face are blank and the notice says so once. Neither failure escapes Get, Metrics or Abc.
class TFontPixelManager {
 public:
  explicit TFontPixelManager(std::unique_ptr<GlyphRasterizer> rasterizer, GlyphNotice notice = {});
  ~TFontPixelManager();

  // The glyph, made on a miss. Never null: a glyph the engine cannot make has no mask.
  GlyphRef Get(std::uint16_t code, const FontRequest& font);

  // The anti-aliasing level glyphs are made at (0..3; 3 at start).
  void SetLevel(int level);
  int Level() const;

  FontMetrics Metrics(const FontRequest& font);
  AbcWidths Abc(std::uint16_t code, const FontRequest& font);

  std::size_t CachedCount() const;
  std::size_t CachedMaskBytes() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace kest
