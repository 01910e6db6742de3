// Puts glyphs of any mask size onto small surfaces at any position (huge and negative ones too),
// under any clip, with any outline width and shadow, through every routine and decorated runs.
// No input may crash or write outside the surfaces. Every vector level must give the scalar
// reference's bytes, and a run may change no pixel outside the rectangle it hands back, which
// itself lies inside the clip limit.

#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "fuzz_target.h"
#include "render/dibx.h"
#include "render/glyphs/glyph_draw.h"
#include "render/row_kernels.h"

namespace {

using kest::Rect;
using kest::TDIBX;

struct Reader {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t at = 0;
  std::uint8_t U8() { return at < size ? data[at++] : 0; }
  std::int32_t I8() { return static_cast<std::int8_t>(U8()); }
  std::int32_t I32() {
    std::uint32_t v = 0;
    for (int k = 0; k < 4; ++k) v |= static_cast<std::uint32_t>(U8()) << (8 * k);
    return static_cast<std::int32_t>(v);
  }
};

struct Input {
  int bits = 32;
  bool use_coverage = false;
  bool background = false;
  std::int32_t width = 1, height = 1;
  Rect clip;
  std::int32_t x = 0, y = 0;
  std::uint32_t colour = 0;
  int outline = 0, shadow = 0;
  std::vector<std::unique_ptr<kest::TFontPixel>> glyphs;
  std::vector<kest::PlacedGlyph> run;
};

// Layout: flags (bits 0-1 depth 32/16/15/8, bit 2 coverage, bit 3 background, bit 4 clip),
// width, height, clip (4 x i8), x, y (i32), colour (i32), outline, shadow (i8), glyph count, then
// per glyph: mask width and height, the mask values, offsets, bold spread, style, underline size,
// strike-out position and size (i8), and the cell (left, top: i32; width, height: u8).
Input Read(Reader& in) {
  Input s;
  const std::uint8_t flags = in.U8();
  static constexpr int kDepths[] = {32, 16, 15, 8};
  s.bits = kDepths[flags & 3];
  s.use_coverage = (flags & 4) != 0;
  s.background = (flags & 8) != 0;
  s.width = 1 + in.U8() % 48;
  s.height = 1 + in.U8() % 32;
  const std::int32_t cl = in.I8(), ct = in.I8(), cr = in.I8(), cb = in.I8();
  s.clip = (flags & 16) != 0 ? Rect{cl, ct, s.width - cr, s.height - cb} : Rect{};
  s.x = in.I32();
  s.y = in.I32();
  s.colour = static_cast<std::uint32_t>(in.I32());
  s.outline = in.I8();
  s.shadow = in.I8();
  const int count = 1 + in.U8() % 4;
  for (int i = 0; i < count; ++i) {
    auto g = std::make_unique<kest::TFontPixel>();
    const std::int32_t mw = in.U8() % 25, mh = in.U8() % 25;
    g->mask.SetSize(mw, mh, 8);
    for (std::int32_t yy = 0; yy < mh; ++yy)
      for (std::int32_t xx = 0; xx < mw; ++xx) g->mask.SetPixel(xx, yy, in.U8());
    g->offset_x = in.I8();
    g->offset_y = in.I8();
    g->bold_spread = in.I8();
    g->style = in.U8();
    g->underline_size = in.I8();
    g->strike_out_position = in.I8();
    g->strike_out_size = in.I8();
    const std::int32_t left = in.I32(), top = in.I32();
    const std::int64_t right = std::int64_t{left} + in.U8(), bottom = std::int64_t{top} + in.U8();
    const Rect cell{left, top, static_cast<std::int32_t>(std::min<std::int64_t>(right, INT32_MAX)),
                    static_cast<std::int32_t>(std::min<std::int64_t>(bottom, INT32_MAX))};
    s.run.push_back({g.get(), cell});
    s.glyphs.push_back(std::move(g));
  }
  return s;
}

struct Surfaces {
  TDIBX dst, coverage;
  Surfaces(const Input& s) : dst(s.width, s.height, s.bits), coverage(s.width, s.height, 8) {
    for (std::int32_t y = 0; y < s.height; ++y) {
      for (std::int32_t x = 0; x < s.width; ++x) {
        dst.SetPixel(x, y, static_cast<std::uint32_t>(x * 2654435761u ^ y * 40503u));
        coverage.SetPixel(x, y, static_cast<std::uint32_t>(x * 37 + y * 11));
      }
    }
    if (!s.clip.IsEmpty()) dst.AddClipRect(s.clip);
    if (!s.clip.IsEmpty()) coverage.AddClipRect(s.clip);
  }
  std::vector<std::uint32_t> Pixels() {
    std::vector<std::uint32_t> out;
    for (std::int32_t y = 0; y < dst.Height(); ++y)
      for (std::int32_t x = 0; x < dst.Width(); ++x) out.push_back(dst.GetPixel(x, y) << 8 | coverage.GetPixel(x, y));
    return out;
  }
};

// A position one step away, wrapping at 32 bits (any position is a fair input).
std::int32_t Step(std::int32_t v, std::int32_t by) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(v) + static_cast<std::uint32_t>(by));
}

// Every routine and both kinds of run, in one go.
std::vector<Rect> DrawAll(const Input& s, Surfaces& out) {
  for (const kest::PlacedGlyph& g : s.run) {
    const kest::TFontPixel& glyph = *g.glyph;
    kest::DrawGlyphSolid(out.dst, s.x, s.y, glyph, s.colour);
    kest::DrawGlyphAntialiased(out.dst, s.x, Step(s.y, 1), glyph, s.colour);
    kest::DrawGlyphLayer(out.dst, out.coverage, Step(s.x, 1), s.y, glyph, s.colour);
    kest::DrawGlyphCoverage(out.coverage, Step(s.x, -1), s.y, glyph);
    kest::AccumulateGlyphCoverage(out.coverage, s.x, Step(s.y, -1), glyph);
    kest::DrawGlyphOutlined(out.dst, out.coverage, s.x, s.y, glyph, ~s.colour, s.outline);
  }
  const kest::GlyphDecoration decoration{s.colour, ~s.colour, s.colour ^ 0x5A5A5A, s.outline, s.shadow,
                                         s.background ? std::optional<std::uint32_t>(s.colour >> 4) : std::nullopt};
  std::vector<Rect> touched;
  // A run on fresh surfaces, so that the pixels it changes can be told apart.
  for (bool with_coverage : {false, true}) {
    Surfaces fresh(s);
    const std::vector<std::uint32_t> before = fresh.Pixels();
    const Rect r = kest::DrawGlyphRun(fresh.dst, with_coverage ? &fresh.coverage : nullptr, s.run, decoration);
    const Rect limit = fresh.dst.ClipLimit();
    if (!r.IsEmpty() && (r.left < limit.left || r.top < limit.top || r.right > limit.right || r.bottom > limit.bottom))
      std::abort();
    const std::vector<std::uint32_t> after = fresh.Pixels();
    for (std::int32_t y = 0; y < s.height; ++y) {
      for (std::int32_t x = 0; x < s.width; ++x) {
        const std::size_t i = static_cast<std::size_t>(y * s.width + x);
        const bool inside = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
        if (before[i] != after[i] && !inside) std::abort();
      }
    }
    touched.push_back(r);
    if (s.use_coverage == with_coverage) kest::DrawGlyphRun(out.dst, with_coverage ? &out.coverage : nullptr, s.run, decoration);
  }
  return touched;
}

kest::Bytes Seed(std::uint8_t flags, std::int32_t x, std::int32_t y, std::int8_t outline, std::int8_t shadow,
                 std::uint8_t mw, std::uint8_t mh, std::uint8_t style, std::int32_t cell_left, std::int32_t cell_top) {
  kest::Bytes out{flags, 40, 20, 1, 2, 3, 1};
  const auto i32 = [&](std::int32_t v) {
    for (int k = 0; k < 4; ++k) out.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * k)));
  };
  i32(x);
  i32(y);
  i32(0x00C08040);
  out.push_back(static_cast<std::uint8_t>(outline));
  out.push_back(static_cast<std::uint8_t>(shadow));
  out.push_back(1);  // two glyphs
  for (int g = 0; g < 2; ++g) {
    out.push_back(mw);
    out.push_back(mh);
    for (int i = 0; i < mw * mh; ++i) out.push_back(static_cast<std::uint8_t>(i % 5 == 0 ? 0 : i % 7 == 0 ? 255 : i * 37));
    for (std::uint8_t b : {std::uint8_t{1}, std::uint8_t{2}, std::uint8_t{1}, style, std::uint8_t{2}, std::uint8_t{5},
                           std::uint8_t{1}})
      out.push_back(b);
    i32(static_cast<std::int32_t>(static_cast<std::uint32_t>(cell_left) + static_cast<std::uint32_t>(g * (mw + 2))));
    i32(cell_top);
    out.push_back(static_cast<std::uint8_t>(mw + 2));
    out.push_back(static_cast<std::uint8_t>(mh + 4));
  }
  return out;
}

}  // namespace

std::vector<kest::Bytes> KestFuzzSeeds() {
  return {
      Seed(0x00, 3, 2, 1, 2, 12, 14, 0, 2, 1),
      Seed(0x1C, -4, -3, 3, 1, 24, 24, kest::kFontUnderline | kest::kFontStrikeOut, -5, 2),
      Seed(0x05, 30, 10, 16, 4, 9, 7, kest::kFontUnderline, 20, 8),
      Seed(0x0E, 5, 5, 100, -3, 4, 4, kest::kFontBold, 1, 1),
      Seed(0x03, 1, 1, 2, 2, 6, 6, kest::kFontStrikeOut, 0, 0),
      Seed(0x14, INT32_MAX, INT32_MIN, 2, 5, 8, 8, 0xFF, INT32_MAX - 3, INT32_MIN),
      Seed(0x04, -2147483600, 2147483600, 0, 0, 24, 3, 0, -2147483600, 2147483600),
      Seed(0x10, 0, 0, 0, 0, 0, 0, kest::kFontUnderline, 0, 0),  // empty masks, bars only
  };
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Reader in{data, size};
  const Input s = Read(in);
  Surfaces reference(s);
  std::vector<Rect> reference_touched;
  {
    const kest::SimdLevel saved = kest::ActiveSimdLevel();
    kest::SetActiveSimdLevel(kest::SimdLevel::Scalar);
    reference_touched = DrawAll(s, reference);
    kest::SetActiveSimdLevel(saved);
  }
  const std::vector<std::uint32_t> expected = reference.Pixels();
  for (kest::SimdLevel level : {kest::SimdLevel::Sse2, kest::SimdLevel::Avx2}) {
    if (!kest::SimdLevelSupported(level)) continue;
    const kest::SimdLevel saved = kest::ActiveSimdLevel();
    kest::SetActiveSimdLevel(level);
    Surfaces vector(s);
    const std::vector<Rect> touched = DrawAll(s, vector);
    kest::SetActiveSimdLevel(saved);
    if (vector.Pixels() != expected || touched != reference_touched) std::abort();
  }
  return 0;
}
