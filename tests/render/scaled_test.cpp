// Scaled and rotated draws.

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>

#include "render/dibx.h"
#include "render/rotate.h"
#include "render/scaled_rows.h"
#include "vfs/deflate.h"
#include "surface_fixtures.h"

namespace kest {
namespace {

using testing::FillNoise;
using testing::Pixels;

std::vector<std::uint32_t> Row(TCustomDIBX& s, std::int32_t y, std::int32_t from, std::int32_t to) {
  std::vector<std::uint32_t> out;
  for (std::int32_t x = from; x < to; ++x) out.push_back(s.GetPixel(x, y));
  return out;
}

TEST(StretchDraw, DoublesEachPixel) {
  TDIBX src(2, 1, 8), dst(4, 2, 8);
  src.SetPixel(0, 0, 1);
  src.SetPixel(1, 0, 2);
  dst.StretchDraw({0, 0, 4, 2}, src, src.Bounds(), 255);
  EXPECT_EQ(Pixels(dst), (std::vector<std::uint32_t>{1, 1, 2, 2, 1, 1, 2, 2}));
  dst.Fill(0);
  dst.StretchDraw({0, 0, 4, 1}, src, src.Bounds(), 255, Flip::Horizontal);
  EXPECT_EQ(Row(dst, 0, 0, 4), (std::vector<std::uint32_t>{2, 2, 1, 1}));
}

TEST(StretchDraw, AClippedDrawShowsTheSamePixelsAsTheUnclipped) {
  TDIBX src(7, 5, 32);
  FillNoise(src, 4);
  for (const Flip flip : {Flip::None, Flip::Horizontal, Flip::Both}) {
    TDIBX whole(29, 13, 32), clipped(29, 13, 32);
    whole.Fill(0);
    clipped.Fill(0);
    whole.StretchDraw({1, 1, 28, 12}, src, {1, 0, 7, 5}, 255, flip);
    clipped.AddClipRect({6, 4, 20, 9});
    clipped.StretchDraw({1, 1, 28, 12}, src, {1, 0, 7, 5}, 255, flip);
    for (std::int32_t y = 4; y < 9; ++y) EXPECT_EQ(Row(whole, y, 6, 20), Row(clipped, y, 6, 20)) << "row " << y;
    EXPECT_EQ(clipped.GetPixel(5, 5), 0u);
  }
}

TEST(StretchDraw, ColumnTablesFollowTheDestinationWidth) {
  TDIBX src(3, 1, 32), dst(2000, 1, 32);
  src.SetPixel(0, 0, 1);
  src.SetPixel(1, 0, 2);
  src.SetPixel(2, 0, 3);
  dst.StretchDraw({0, 0, 2000, 1}, src, src.Bounds(), 255);
  EXPECT_EQ(dst.GetPixel(0, 0), 1u);
  EXPECT_EQ(dst.GetPixel(1000, 0), 2u);
  EXPECT_EQ(dst.GetPixel(1999, 0), 3u);
}

// The copy gathers straight into the destination and repeats finished rows: the pixels must be
// the plan's, pixel by pixel, for enlargements, reductions, mirrors and clips.
TEST(StretchDraw, CopiesFollowThePlanPixelByPixel) {
  std::mt19937 random(91);
  for (int round = 0; round < 200; ++round) {
    TDIBX source(1 + static_cast<std::int32_t>(random() % 23), 1 + static_cast<std::int32_t>(random() % 19), 32);
    FillNoise(source, random());
    TDIBX out(24, 20, 32), expected(24, 20, 32);
    FillNoise(out, 5);
    FillNoise(expected, 5);
    const auto coordinate = [&](std::int32_t span) { return static_cast<std::int32_t>(random() % (span + 8)) - 4; };
    const Rect dst{coordinate(24), coordinate(20), coordinate(24) + 20, coordinate(20) + 16};
    const Rect src{static_cast<std::int32_t>(random() % 3), static_cast<std::int32_t>(random() % 3), source.Width(),
                   source.Height()};
    const Flip flip = static_cast<Flip>(random() % 4);
    out.StretchDraw(dst, source, src, 255, flip);
    if (const auto plan = PlanStretch(dst, src, flip, expected.Bounds(), source.Bounds())) {
      for (std::size_t r = 0; r < plan->rows.size(); ++r) {
        if (plan->rows[r] < 0) continue;
        for (std::size_t c = 0; c < plan->columns.size(); ++c)
          expected.SetPixel(plan->dst.left + static_cast<std::int32_t>(c), plan->dst.top + static_cast<std::int32_t>(r),
                            source.GetPixel(plan->columns[c], plan->rows[r]));
      }
    }
    ASSERT_EQ(Pixels(out), Pixels(expected)) << "round " << round;
  }
}

TEST(StretchDraw, ZeroSizesAndAlphaZeroDrawNothing) {
  TDIBX src(2, 2, 32), dst(4, 4, 32);
  src.Fill(9);
  dst.Fill(0);
  dst.StretchDraw({0, 0, 0, 4}, src, src.Bounds(), 255);
  dst.StretchDraw({0, 0, 4, 4}, src, {0, 0, 0, 2}, 255);
  dst.StretchDraw({0, 0, 4, 4}, src, src.Bounds(), 0);
  EXPECT_EQ(Pixels(dst), std::vector<std::uint32_t>(16, 0));
}

TEST(DrawRotate, AQuarterTurnIsClockwise) {
  TDIBX src(3, 1, 8), dst(10, 10, 8);
  for (int x = 0; x < 3; ++x) src.SetPixel(x, 0, static_cast<std::uint32_t>(x + 1));
  dst.Fill(0);
  dst.DrawRotate(5, 5, src, src.Bounds(), RotateZoom{64, 0, 0, 256, 256}, 255);
  EXPECT_EQ(dst.GetPixel(5, 5), 1u);
  EXPECT_EQ(dst.GetPixel(5, 6), 2u);
  EXPECT_EQ(dst.GetPixel(5, 7), 3u);
  EXPECT_EQ(RotatedBounds(5, 5, 3, 1, RotateZoom{64, 0, 0, 256, 256}), (Rect{5, 5, 6, 8}));
}

TEST(DrawRotate, AFullTurnAndZoom256EqualAPlainDraw) {
  TDIBX src(9, 6, 32);
  FillNoise(src, 5);
  TDIBX plain(20, 20, 32), zero(20, 20, 32), full(20, 20, 32);
  for (TDIBX* d : {&plain, &zero, &full}) d->Fill(0);
  plain.Draw(3, 4, src, {1, 1, 9, 6});
  zero.DrawRotate(5, 6, src, {1, 1, 9, 6}, RotateZoom{0, 2, 2, 256, 256}, 255);
  full.DrawRotate(5, 6, src, {1, 1, 9, 6}, RotateZoom{256, 2, 2, 256, 256}, 255);
  EXPECT_EQ(Pixels(zero), Pixels(plain));
  EXPECT_EQ(Pixels(full), Pixels(plain));
}

TEST(DrawRotate, MirrorsWithinTheSourceRectangleAndZooms) {
  TDIBX src(4, 1, 8), dst(8, 2, 8);
  for (int x = 0; x < 4; ++x) src.SetPixel(x, 0, static_cast<std::uint32_t>(x + 1));
  dst.Fill(0);
  dst.DrawRotate(0, 0, src, {1, 0, 3, 1}, RotateZoom{0, 0, 0, 512, 512}, 255, Flip::Horizontal);
  EXPECT_EQ(Row(dst, 0, 0, 5), (std::vector<std::uint32_t>{3, 3, 2, 2, 0}));
  EXPECT_EQ(Row(dst, 1, 0, 5), (std::vector<std::uint32_t>{3, 3, 2, 2, 0}));
  TDIBX untouched(4, 4, 8);
  untouched.Fill(7);
  untouched.DrawRotate(0, 0, src, src.Bounds(), RotateZoom{0, 0, 0, 0, 256}, 255);
  untouched.DrawRotate(0, 0, src, src.Bounds(), RotateZoom{}, 0);
  EXPECT_EQ(Pixels(untouched), std::vector<std::uint32_t>(16, 7));
}


// Rotated draws on random cases (angles, zooms, pivots, mirrors, source rectangles partly outside
// the source, clips, masks, 8- and 32-bit destinations, copies and blends), eight groups of 40
// cases, each summed into one CRC-32 of the destinations. They pin the pixels exactly: a faster
// row loop must give the same bytes.
std::vector<std::uint32_t> RotatedChecksums() {
  std::mt19937 random(4242);
  std::vector<std::uint32_t> sums;
  for (int group = 0; group < 8; ++group) {
    Bytes bytes;
    for (int i = 0; i < 40; ++i) {
      const int bits = random() % 3 == 0 ? 8 : 32;
      TDIBX source(1 + static_cast<std::int32_t>(random() % 31), 1 + static_cast<std::int32_t>(random() % 27), bits);
      TDIBX mask(source.Width() + static_cast<std::int32_t>(random() % 3) - 1, source.Height(), 8);
      TDIBX out(40, 36, bits);
      FillNoise(source, random());
      FillNoise(mask, random());
      FillNoise(out, random());
      if (random() % 4 == 0) out.AddClipRect({static_cast<std::int32_t>(random() % 20), static_cast<std::int32_t>(random() % 18), 40, 30});
      const Rect src{static_cast<std::int32_t>(random() % 5) - 2, static_cast<std::int32_t>(random() % 5) - 2,
                     source.Width() + static_cast<std::int32_t>(random() % 5) - 2,
                     source.Height() + static_cast<std::int32_t>(random() % 5) - 2};
      const RotateZoom turn{static_cast<std::int32_t>(random() % 600) - 300, static_cast<std::int32_t>(random() % 20) - 4,
                            static_cast<std::int32_t>(random() % 20) - 4, 32 + static_cast<std::int32_t>(random() % 700),
                            32 + static_cast<std::int32_t>(random() % 700)};
      const int combined = std::array{255, 128, 300, 255}[random() % 4];
      const Flip flip = static_cast<Flip>(random() % 4);
      const std::int32_t x = static_cast<std::int32_t>(random() % 50) - 5, y = static_cast<std::int32_t>(random() % 46) - 5;
      if (random() % 3 == 0)
        out.DrawRotateMask(x, y, source, src, mask, turn, combined, flip);
      else if (random() % 2 == 0)
        out.DrawRotate(x, y, source, src, turn, combined, flip);
      else {
        source.transparent_color = static_cast<std::int32_t>(source.GetPixel(0, 0));  // keyed, with a key present
        out.DrawRotate(x, y, source, src, turn, combined, flip, Keyed::Yes);
      }
      for (const std::uint32_t p : Pixels(out))
        for (int k = 0; k < 4; ++k) bytes.push_back(static_cast<std::uint8_t>(p >> (8 * k)));
    }
    sums.push_back(Crc32(bytes));
  }
  return sums;
}

TEST(DrawRotate, RandomCasesKeepTheirPixelsAtEveryLevel) {
  const std::vector<std::uint32_t> expected = {1529169895u, 4060615748u, 393093403u, 3547100346u,
                                               2566023954u, 1100943947u, 454689691u,  1623685843u};
  for (const SimdLevel level : testing::SupportedLevels()) {
    testing::SimdLevelScope scope(level);
    const std::vector<std::uint32_t> got = RotatedChecksums();
    std::string table;
    for (const std::uint32_t v : got) table += std::to_string(v) + "u, ";
    EXPECT_EQ(got, expected) << SimdLevelName(level) << ": " << table;
  }
}

}  // namespace
}  // namespace kest
