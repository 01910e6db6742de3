// A page of 400 glyphs (20 rows of 20, 24 x 24 masks drawn as anti-aliased strokes) put onto a
// 32-bit picture, side by side in one run:
//   GlyphPage/Antialiased/<level>  and /pixman (OVER of a solid colour through an a8 mask),
//   GlyphPage/Outline3/<level>     the outline of width 3 with its coverage (48 stamps a pixel),
//   GlyphPage/Run/<level>          the decorated runs: shadow 2, outline 2, face, with coverage.
// <level> is scalar (the reference), sse2 or avx2.

#include <benchmark/benchmark.h>
#include <pixman.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "render/dibx.h"
#include "render/glyphs/glyph_draw.h"
#include "render/row_kernels.h"

namespace kest {
namespace {

constexpr int kSide = 24;        // mask side
constexpr int kCellW = 26, kCellH = 28;
constexpr int kColumns = 20, kRows = 20;
constexpr int kMargin = 8;       // room for outlines and shadows
constexpr int kPageW = kColumns * kCellW + 2 * kMargin, kPageH = kRows * kCellH + 2 * kMargin;
constexpr int kShapes = 32;      // distinct masks on the page
constexpr std::uint32_t kColour = 0x00F0E0D0;

// Three or four strokes of about three pixels with soft edges: interiors of 255, grey edges and
// empty space, as glyph masks have.
std::vector<std::uint8_t> StrokeMask(std::mt19937& random) {
  std::vector<std::uint8_t> mask(kSide * kSide, 0);
  const int strokes = 3 + static_cast<int>(random() % 2);
  for (int s = 0; s < strokes; ++s) {
    const double x0 = 2 + random() % 20, y0 = 2 + random() % 20, x1 = 2 + random() % 20, y1 = 2 + random() % 20;
    const double dx = x1 - x0, dy = y1 - y0, length2 = std::max(1e-9, dx * dx + dy * dy);
    for (int y = 0; y < kSide; ++y) {
      for (int x = 0; x < kSide; ++x) {
        const double t = std::clamp(((x + 0.5 - x0) * dx + (y + 0.5 - y0) * dy) / length2, 0.0, 1.0);
        const double ex = x + 0.5 - (x0 + t * dx), ey = y + 0.5 - (y0 + t * dy);
        const double value = std::clamp((2.0 - std::sqrt(ex * ex + ey * ey)) * 255.0, 0.0, 255.0);
        auto& m = mask[static_cast<std::size_t>(y * kSide + x)];
        m = std::max<std::uint8_t>(m, static_cast<std::uint8_t>(value));
      }
    }
  }
  return mask;
}

struct Page {
  std::vector<std::vector<std::uint8_t>> masks;
  std::vector<std::unique_ptr<TFontPixel>> glyphs;
  std::vector<PlacedGlyph> placed;  // row after row
  TDIBX dst{kPageW, kPageH, 32};
  TDIBX coverage{kPageW, kPageH, 8};
  // pixman's side: the same masks as a8 images and a picture of its own.
  std::vector<pixman_image_t*> pixman_masks;
  std::vector<std::uint32_t> pixman_bits = std::vector<std::uint32_t>(std::size_t{kPageW} * kPageH, 0x00202020);
  pixman_image_t* pixman_dst = nullptr;
  pixman_image_t* pixman_solid = nullptr;

  Page() {
    std::mt19937 random(24);
    for (int i = 0; i < kShapes; ++i) {
      masks.push_back(StrokeMask(random));
      auto g = std::make_unique<TFontPixel>();
      g->mask.SetSize(kSide, kSide, 8);
      for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) g->mask.SetPixel(x, y, masks.back()[static_cast<std::size_t>(y * kSide + x)]);
      g->offset_x = 1;
      g->offset_y = 2;
      glyphs.push_back(std::move(g));
      pixman_masks.push_back(pixman_image_create_bits(PIXMAN_a8, kSide, kSide,
                                                      reinterpret_cast<std::uint32_t*>(masks.back().data()), kSide));
    }
    for (int r = 0; r < kRows; ++r) {
      for (int c = 0; c < kColumns; ++c) {
        const Rect cell{kMargin + c * kCellW, kMargin + r * kCellH, kMargin + (c + 1) * kCellW, kMargin + (r + 1) * kCellH};
        placed.push_back({glyphs[static_cast<std::size_t>((r * kColumns + c) % kShapes)].get(), cell});
      }
    }
    dst.Fill(0x00202020);
    pixman_dst = pixman_image_create_bits(PIXMAN_x8r8g8b8, kPageW, kPageH, pixman_bits.data(), kPageW * 4);
    const pixman_color_t colour{0xF0F0, 0xE0E0, 0xD0D0, 0xFFFF};
    pixman_solid = pixman_image_create_solid_fill(&colour);
  }
};

Page& ThePage() {
  static Page page;
  return page;
}

// Runs the body at one level and puts the previous level back afterwards.
template <typename Body>
void AtLevel(benchmark::State& state, SimdLevel level, Body body) {
  if (!SimdLevelSupported(level)) return state.SkipWithError("this processor lacks the level");
  const SimdLevel saved = ActiveSimdLevel();
  SetActiveSimdLevel(level);
  body();
  SetActiveSimdLevel(saved);
  state.SetItemsProcessed(state.iterations() * kColumns * kRows);
}

void Antialiased(benchmark::State& state, SimdLevel level) {
  Page& page = ThePage();
  AtLevel(state, level, [&] {
    for (auto _ : state)
      for (const PlacedGlyph& g : page.placed)
        DrawGlyphAntialiased(page.dst, g.cell.left + g.glyph->offset_x, g.cell.top + g.glyph->offset_y, *g.glyph, kColour);
  });
}

void AntialiasedPixman(benchmark::State& state) {
  Page& page = ThePage();
  for (auto _ : state) {
    for (std::size_t i = 0; i < page.placed.size(); ++i) {
      const PlacedGlyph& g = page.placed[i];
      pixman_image_composite32(PIXMAN_OP_OVER, page.pixman_solid, page.pixman_masks[i % kShapes], page.pixman_dst, 0, 0,
                               0, 0, g.cell.left + g.glyph->offset_x, g.cell.top + g.glyph->offset_y, kSide, kSide);
    }
  }
  state.SetItemsProcessed(state.iterations() * kColumns * kRows);
}

// Clears the page's coverage with one memset (the rows are stored bottom-up, so the lowest
// address is the last row's), the same for every level, so every round stamps onto the same state.
void ClearCoverage(TDIBX& coverage) {
  std::memset(coverage.PixelAddress(0, coverage.Height() - 1), 0,
              static_cast<std::size_t>(coverage.RowBytes()) * static_cast<std::size_t>(coverage.Height()));
}

void Outline3(benchmark::State& state, SimdLevel level) {
  Page& page = ThePage();
  AtLevel(state, level, [&] {
    for (auto _ : state) {
      ClearCoverage(page.coverage);
      for (const PlacedGlyph& g : page.placed)
        DrawGlyphOutlined(page.dst, page.coverage, g.cell.left + g.glyph->offset_x, g.cell.top + g.glyph->offset_y,
                          *g.glyph, kColour, 3);
    }
  });
}

void Run(benchmark::State& state, SimdLevel level) {
  Page& page = ThePage();
  const GlyphDecoration decoration{kColour, 0x00101010, 0x00000000, 2, 2, std::nullopt};
  AtLevel(state, level, [&] {
    for (auto _ : state) {
      ClearCoverage(page.coverage);
      for (int r = 0; r < kRows; ++r)
        benchmark::DoNotOptimize(DrawGlyphRun(
            page.dst, &page.coverage,
            std::span<const PlacedGlyph>(page.placed).subspan(static_cast<std::size_t>(r * kColumns), kColumns),
            decoration));
    }
  });
}

BENCHMARK_CAPTURE(Antialiased, scalar, SimdLevel::Scalar)->Name("GlyphPage/Antialiased/scalar")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Antialiased, sse2, SimdLevel::Sse2)->Name("GlyphPage/Antialiased/sse2")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Antialiased, avx2, SimdLevel::Avx2)->Name("GlyphPage/Antialiased/avx2")->Unit(benchmark::kMicrosecond);
BENCHMARK(AntialiasedPixman)->Name("GlyphPage/Antialiased/pixman")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Outline3, scalar, SimdLevel::Scalar)->Name("GlyphPage/Outline3/scalar")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Outline3, sse2, SimdLevel::Sse2)->Name("GlyphPage/Outline3/sse2")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Outline3, avx2, SimdLevel::Avx2)->Name("GlyphPage/Outline3/avx2")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Run, scalar, SimdLevel::Scalar)->Name("GlyphPage/Run/scalar")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Run, sse2, SimdLevel::Sse2)->Name("GlyphPage/Run/sse2")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Run, avx2, SimdLevel::Avx2)->Name("GlyphPage/Run/avx2")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kest
