// Oversampled glyphs: each destination pixel takes an n x n block of source samples.

#include <algorithm>
#include <bit>

#include "render/row_engine.h"
#include "render/surface.h"

namespace kest {

std::uint32_t PackedPixels::At(std::int32_t x, std::int32_t y) const {
  if (x < 0 || y < 0 || x >= width || y >= height || row_bytes <= 0) return 0;
  const std::size_t bit = static_cast<std::size_t>(x) * static_cast<std::size_t>(bits_per_pixel);
  const std::size_t index = static_cast<std::size_t>(y) * static_cast<std::size_t>(row_bytes) + bit / 8;
  if (index >= bytes.size()) return 0;
  const int shift = 8 - bits_per_pixel - static_cast<int>(bit % 8);
  return (bytes[index] >> shift) & ((1u << bits_per_pixel) - 1);
}

namespace {

// The blocks of an oversampled source placed on the destination: destination pixel (X, Y) of
// `p.dst` reads the block whose top-left sample is (src_x + k * step_x * n, ...) in block units.
std::optional<Placement> PlaceBlocks(TCustomDIBX& dst, std::int32_t x, std::int32_t y, int n, const Rect& src, Flip flip) {
  if (n <= 0) return std::nullopt;
  const Rect blocks{0, 0, src.Width() / n, src.Height() / n};
  return PlaceSource(x, y, blocks, flip, dst.ClipLimit(), blocks);
}

// Calls visit(sample) for every sample of block (bx, by) of `src`.
template <typename Visit>
void ForBlock(const PackedPixels& source, const Rect& src, int n, std::int32_t bx, std::int32_t by, Visit visit) {
  for (int j = 0; j < n; ++j)
    for (int i = 0; i < n; ++i) visit(source.At(src.left + bx * n + i, src.top + by * n + j));
}

}  // namespace

void TCustomDIBX::DrawMonoGlyph(std::int32_t x, std::int32_t y, int n, int alpha, std::uint32_t colour,
                                const PackedPixels& source, const Rect& src, Flip flip) {
  if (alpha <= 0 || source.bits_per_pixel != 1) return;
  const auto p = PlaceBlocks(*this, x, y, n, src, flip);
  if (!p) return;
  SurfaceView view(*this);
  if (!view.Ok()) return;
  const PixelFormat& f = view.Format();
  const std::uint32_t full = static_cast<std::uint32_t>(n * n);
  for (std::int32_t row = 0; row < p->dst.Height(); ++row) {
    for (std::int32_t col = 0; col < p->dst.Width(); ++col) {
      std::uint32_t coverage = 0;
      ForBlock(source, src, n, p->src_x + col * p->step_x, p->src_y + row * p->step_y,
               [&](std::uint32_t bit) { coverage += bit == 0 ? 1 : 0; });
      if (alpha < 255) coverage = (static_cast<std::uint32_t>(alpha) * coverage) >> 8;
      if (coverage == 0) continue;  // nothing covers this pixel
      std::uint8_t* at = view.At(p->dst.left + col, p->dst.top + row);
      const std::uint32_t d = f.Load(at);
      std::uint32_t out = 0;
      for (int c = 0; c < f.channel_count; ++c) {
        const auto [shift, bits] = f.channels[c];
        const std::uint32_t max = (1u << bits) - 1;
        // The shift divides by 16, the sample count of the usual n = 4.
        const std::uint32_t v = (((colour >> shift) & max) * coverage + ((d >> shift) & max) * (full - coverage)) >> 4;
        out |= std::min(v, max) << shift;
      }
      f.Store(at, out);
    }
  }
}

void TCustomDIBX::DrawGlyph4(std::int32_t x, std::int32_t y, int n, int combined, const GlyphColours& colours,
                             const PackedPixels& source, const Rect& src, Flip flip) {
  if (combined <= 0 || source.bits_per_pixel != 4) return;
  const auto p = PlaceBlocks(*this, x, y, n, src, flip);
  if (!p) return;
  SurfaceView view(*this);
  if (!view.Ok()) return;
  const PixelFormat& f = view.Format();
  const std::uint32_t samples = static_cast<std::uint32_t>(n * n);
  const std::uint32_t total = samples * 256;
  const int shift_total = std::bit_width(total) - 1;  // Trunc(log2(n * n * 256))
  const std::uint32_t k[4] = {0, colours.k1, colours.k2, colours.k3};
  const bool additive = combined > 255;
  const std::uint32_t level = static_cast<std::uint32_t>(std::min(combined, 511) & 255);
  for (std::int32_t row = 0; row < p->dst.Height(); ++row) {
    for (std::int32_t col = 0; col < p->dst.Width(); ++col) {
      std::uint32_t count[4] = {0, 0, 0, 0};
      ForBlock(source, src, n, p->src_x + col * p->step_x, p->src_y + row * p->step_y,
               [&](std::uint32_t nibble) { ++count[nibble & 3]; });
      if (count[0] == samples) continue;
      std::uint8_t* at = view.At(p->dst.left + col, p->dst.top + row);
      if (combined == 255) {
        const int whole = count[1] == samples ? 1 : count[2] == samples ? 2 : count[3] == samples ? 3 : 0;
        if (whole != 0) {
          f.Store(at, k[whole]);
          continue;
        }
      }
      std::uint32_t w[4];
      for (int i = 1; i < 4; ++i) w[i] = count[i] * (combined == 255 ? 256 : level);
      w[0] = additive ? total : total - w[1] - w[2] - w[3];
      const std::uint32_t d = f.Load(at);
      std::uint32_t out = 0;
      for (int c = 0; c < f.channel_count; ++c) {
        const auto [shift, bits] = f.channels[c];
        const std::uint32_t max = (1u << bits) - 1;
        std::uint64_t sum = static_cast<std::uint64_t>((d >> shift) & max) * w[0];
        for (int i = 1; i < 4; ++i) sum += static_cast<std::uint64_t>((k[i] >> shift) & max) * w[i];
        const std::uint64_t v = sum >> shift_total;
        out |= static_cast<std::uint32_t>(std::min<std::uint64_t>(v, max)) << shift;
      }
      f.Store(at, out);
    }
  }
}

}  // namespace kest
