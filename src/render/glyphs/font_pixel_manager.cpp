#include "render/glyphs/font_pixel_manager.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <iostream>
#include <list>
#include <optional>
#include <vector>

#include "core/cp932.h"
#include "core/errors.h"
#include "core/text_format.h"
#include "render/glyphs/glyph_codes.h"
#include "render/glyphs/glyph_messages.h"

namespace kest {

namespace {

using Recency = std::list<GlyphRef>;  // most recently used first

bool SameKey(const TFontPixel& glyph, std::uint16_t code, const FontRequest& font, int level) {
  return glyph.code == code && glyph.height == font.height && glyph.style == font.style && glyph.level == level &&
         glyph.font_name == font.face;
}

std::size_t MaskBytes(const TFontPixel& glyph) {
  return static_cast<std::size_t>(glyph.mask.RowBytes()) * static_cast<std::size_t>(glyph.mask.Height());
}

// The cell of a face nothing can draw: the em, with the ascent where most faces put it.
FontMetrics BlankMetrics(const FontRequest& font) {
  FontMetrics metrics;
  metrics.em = FontEm(font.height);
  metrics.ascent = (metrics.em * 7 + 4) / 8;
  metrics.descent = metrics.em - metrics.ascent;
  return metrics;
}

void NoticeOnStandardError(const std::string& text) { std::cerr << "kestplayer: " << cp932::ToUtf8Message(text) << '\n'; }

}  // namespace

struct TFontPixelManager::State {
  std::unique_ptr<GlyphRasterizer> rasterizer;
  GlyphNotice notice;
  int level = kMaxGlyphLevel;

  Recency recency;
  std::array<std::vector<Recency::iterator>, 256> buckets;
  std::size_t mask_bytes = 0;

  // The font of the last request, so consecutive requests for one font do not select it anew.
  std::optional<FontRequest> selected;
  FontRequest drawn_with;  // the request the engine draws it with (after any fallback)
  bool drawable = false;
  FontMetrics metrics;
  bool told_no_font = false;

  void Select(const FontRequest& font) {
    if (selected == font) return;
    selected = font;
    drawn_with = font;
    drawable = TryMetrics();
    if (drawable) return;
    if (font.face != kDefaultFaceName) {
      drawn_with.face = kDefaultFaceName;
      drawable = TryMetrics();
      if (drawable) return;
    }
    metrics = BlankMetrics(font);
    if (!told_no_font) {
      told_no_font = true;
      notice(FillMessage(Message(GlyphMessage::NoFontAtAll), {font.face}));
    }
  }

  bool TryMetrics() {
    try {
      metrics = rasterizer->Metrics(drawn_with);
      return true;
    } catch (const KestError&) {
      return false;
    }
  }

  Recency::iterator* Find(std::uint16_t code, const FontRequest& font, int at_level) {
    for (auto& entry : buckets[code & 0xFF])
      if (SameKey(**entry, code, font, at_level)) return &entry;
    return nullptr;
  }

  void Insert(GlyphRef glyph) {
    const std::size_t bytes = MaskBytes(*glyph);
    const std::uint16_t code = glyph->code;
    recency.push_front(std::move(glyph));
    buckets[code & 0xFF].push_back(recency.begin());
    mask_bytes += bytes;
    // The newest glyph always stays, even one larger than the byte bound on its own.
    while (recency.size() > 1 && (recency.size() > kMaxCachedGlyphs || mask_bytes > kMaxCachedMaskBytes)) EvictOldest();
  }

  void EvictOldest() {
    const auto oldest = std::prev(recency.end());
    auto& bucket = buckets[(*oldest)->code & 0xFF];
    bucket.erase(std::find(bucket.begin(), bucket.end(), oldest));
    mask_bytes -= MaskBytes(**oldest);
    recency.erase(oldest);  // a caller's GlyphRef keeps the glyph itself alive
  }

  // Nothing when the engine cannot render at `at_level`.
  std::optional<RasterGlyph> Rasterize(std::uint16_t code, int at_level) {
    if (!drawable) return RasterGlyph{};
    try {
      return rasterizer->Rasterize(code, drawn_with, at_level);
    } catch (const KestError&) {
      return RasterGlyph{};  // a glyph the engine fails on is drawn as nothing
    }
  }

  GlyphRef Make(std::uint16_t code, const FontRequest& font, int at_level, const RasterGlyph& raster) const {
    auto glyph = std::make_shared<TFontPixel>();
    glyph->code = code;
    glyph->font_name = font.face;
    glyph->height = font.height;
    glyph->style = font.style;
    glyph->level = at_level;
    const bool has_box = raster.width > 0 && raster.height > 0 &&
                         raster.coverage.size() == static_cast<std::size_t>(raster.width) * static_cast<std::size_t>(raster.height);
    if (has_box) {
      glyph->mask.SetSize(raster.width, raster.height, 8);
      for (std::int32_t y = 0; y < raster.height; ++y)
        std::memcpy(glyph->mask.PixelAddress(0, y), raster.coverage.data() + static_cast<std::size_t>(y) * raster.width,
                    static_cast<std::size_t>(raster.width));
      glyph->offset_x = std::max(0, raster.origin_x);
      glyph->offset_y = std::max(0, metrics.ascent - raster.origin_y);
      glyph->extra_advance = std::max(0, raster.advance - raster.width - glyph->offset_x);
    } else {
      glyph->extra_advance = raster.advance;  // a blank glyph moves the pen by its text width
    }
    if (font.style & kFontUnderline) glyph->underline_size = metrics.underline_size;
    if (font.style & kFontStrikeOut) {
      glyph->strike_out_position = metrics.ascent - metrics.strike_out_position;
      glyph->strike_out_size = metrics.strike_out_size;
    }
    glyph->bold_spread = raster.bold_spread;
    return glyph;
  }
};

TFontPixelManager::TFontPixelManager(std::unique_ptr<GlyphRasterizer> rasterizer, GlyphNotice notice)
    : state_(std::make_unique<State>()) {
  state_->rasterizer = std::move(rasterizer);
  state_->notice = notice ? std::move(notice) : GlyphNotice(NoticeOnStandardError);
}

TFontPixelManager::~TFontPixelManager() = default;

GlyphRef TFontPixelManager::Get(std::uint16_t code, const FontRequest& font) {
  State& s = *state_;
  for (;;) {
    const int at_level = s.level;
    if (auto* hit = s.Find(code, font, at_level)) {
      s.recency.splice(s.recency.begin(), s.recency, *hit);
      return s.recency.front();
    }
    s.Select(font);
    std::optional<RasterGlyph> raster = s.Rasterize(code, at_level);
    if (!raster && at_level > 0) {
      // No grey renders from this engine: level 0 for the rest of the run, and ask again there.
      s.level = 0;
      continue;
    }
    GlyphRef glyph = s.Make(code, font, at_level, raster ? *raster : RasterGlyph{});
    s.Insert(glyph);
    return glyph;
  }
}

void TFontPixelManager::SetLevel(int level) { state_->level = std::clamp(level, 0, kMaxGlyphLevel); }
int TFontPixelManager::Level() const { return state_->level; }

FontMetrics TFontPixelManager::Metrics(const FontRequest& font) {
  state_->Select(font);
  return state_->metrics;
}

AbcWidths TFontPixelManager::Abc(std::uint16_t code, const FontRequest& font) {
  State& s = *state_;
  s.Select(font);
  if (!s.drawable) return {};
  try {
    return s.rasterizer->Abc(code, s.drawn_with);
  } catch (const KestError&) {
    return {};
  }
}

std::size_t TFontPixelManager::CachedCount() const { return state_->recency.size(); }
std::size_t TFontPixelManager::CachedMaskBytes() const { return state_->mask_bytes; }

}  // namespace kest
