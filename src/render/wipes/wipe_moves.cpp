// The kinds that move, scale or tint whole pictures: fade, white, black, flash, scrolls, rolled
// blinds and rubber, mosaic, shrink and grow, zoom-in. They draw every step.

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/arith.h"
#include "render/wipes/wipe_makers.h"
#include "render/wipes/wipe_pictures.h"

namespace kest {

namespace {

std::int32_t RoundToInt(long double value) { return SaturateToInt32(RoundHalfEven(value)); }

Rect Whole(std::int32_t w, std::int32_t h) { return {0, 0, w, h}; }

// The new picture fades in over the old one while sliding in from the offset (parameters 0
// and 1) scaled by the time left.
class TWipeFade final : public TCustomWipe {
 public:
  using TCustomWipe::TCustomWipe;

 protected:
  void DrawStep() override {
    const long double c = static_cast<long double>(Duration() - Position() - 1) / Duration();
    Canvas().Draw(0, 0, From(), From().Bounds());
    const int alpha = static_cast<int>(Progress(256));
    Canvas().DrawAlpha(RoundToInt(c * params_[0]), RoundToInt(c * params_[1]), To(), To().Bounds(), alpha);
  }
};

// Through white (black): the old picture brightens to white over the first half, the new one
// comes out of white over the second.
template <bool kWhite>
class TWipeLight : public TCustomWipe {
 public:
  using TCustomWipe::TCustomWipe;

 protected:
  void DrawStep() override {
    const std::int64_t a = Progress(511);
    if (a > 510) return;
    const bool first = a < 256;
    Canvas().Draw(0, 0, first ? From() : To(), Whole(W(), H()));
    const std::uint32_t level = static_cast<std::uint32_t>(first ? a : 511 - a);
    if (kWhite)
      Canvas().FillRectAdd(Whole(W(), H()), Grey(level));
    else
      Canvas().FillRectSub(Whole(W(), H()), Grey(level));
  }
};

class TWipeWhite final : public TWipeLight<true> {
  using TWipeLight::TWipeLight;
};
class TWipeBlack final : public TWipeLight<false> {
  using TWipeLight::TWipeLight;
};

// The new picture out of a white flash.
class TWipeFlash final : public TCustomWipe {
 public:
  using TCustomWipe::TCustomWipe;

 protected:
  void DrawStep() override {
    const std::int64_t b = Progress(255);
    Canvas().Draw(0, 0, To(), Whole(W(), H()));
    Canvas().FillRectAdd(Whole(W(), H()), Grey(static_cast<std::uint32_t>(255 - b)));
  }
};

// The old picture pushed out by the new one, leftwards (upwards), or the other way with Reverse.
template <bool kHorizontal>
class TWipeScroll : public TCustomWipe {
 public:
  using TCustomWipe::TCustomWipe;

 protected:
  void DrawStep() override {
    const std::int32_t length = kHorizontal ? W() : H();
    const std::int32_t a = static_cast<std::int32_t>(Progress(length));
    const std::int32_t from_at = Reverse() ? a : -a, to_at = Reverse() ? a - length : length - a;
    Canvas().Draw(kHorizontal ? from_at : 0, kHorizontal ? 0 : from_at, From(), Whole(W(), H()));
    Canvas().Draw(kHorizontal ? to_at : 0, kHorizontal ? 0 : to_at, To(), Whole(W(), H()));
  }
};

class TWipeScrollH final : public TWipeScroll<true> {
  using TWipeScroll::TWipeScroll;
};
class TWipeScrollV final : public TWipeScroll<false> {
  using TWipeScroll::TWipeScroll;
};

// A rolled blind: column k of the picture is stretched over a band that ends at column k (from
// the left edge for the rolled blind, a band that grows and shrinks for rubber); the rest of the
// picture is drawn unchanged. The old picture rolls up over the first half, the new one unrolls
// over the second. Reverse works from the right (bottom) edge.
template <bool kHorizontal, bool kRubber>
class TWipeRoll : public TCustomWipe {
 public:
  using TCustomWipe::TCustomWipe;

 protected:
  void DrawStep() override {
    const std::int32_t length = kHorizontal ? W() : H();
    std::int64_t k = Progress(2 * std::int64_t{length} - 1);
    const bool first = k < length;
    if (!first) k = 2 * std::int64_t{length} - k - 1;
    TCustomDIBX& picture = first ? From() : To();
    std::int64_t band = k + 1;
    if (kRubber) {
      const long double half = Duration() / 2.0L;
      band = RoundToInt(std::fabs(Position() - half) * ((k + 1) / 2.0L) / half);
      band = std::clamp<std::int64_t>(band, 0, k + 1);
    }
    Canvas().Draw(0, 0, picture, Whole(W(), H()));
    if (band == 0) return;
    // In the picture's own orientation: the band [k - band + 1, k], stretched from column k.
    std::int32_t line = static_cast<std::int32_t>(k);
    std::int32_t lo = static_cast<std::int32_t>(k - band + 1), hi = line + 1;
    if (Reverse()) {
      line = length - 1 - line;
      const std::int32_t mirrored_lo = length - hi;
      hi = length - lo;
      lo = mirrored_lo;
    }
    if (kHorizontal)
      Canvas().StretchDraw({lo, 0, hi, H()}, picture, {line, 0, line + 1, H()}, 255);
    else
      Canvas().StretchDraw({0, lo, W(), hi}, picture, {0, line, W(), line + 1}, 255);
  }
};

class TWipeSudareH final : public TWipeRoll<true, false> {
  using TWipeRoll::TWipeRoll;
};
class TWipeSudareV final : public TWipeRoll<false, false> {
  using TWipeRoll::TWipeRoll;
};
class TWipeRubberH final : public TWipeRoll<true, true> {
  using TWipeRoll::TWipeRoll;
};
class TWipeRubberV final : public TWipeRoll<false, true> {
  using TWipeRoll::TWipeRoll;
};

// Blocks: a shrunken copy stretched back. Over the first half the blocks grow on the old
// picture while the new one is blended in (alpha (b - 256) / 4 in the second quarter); over the
// second half they shrink again with the new picture blended on from alpha 64 to 255 in the
// third quarter and alone in the fourth.
class TWipeMosaic final : public TCustomWipe {
 public:
  using TCustomWipe::TCustomWipe;

 protected:
  void DrawStep() override {
    if (work_.Width() != W() || work_.Height() != H()) work_.SetSize(W(), H(), 32);
    const MosaicStage stage = MosaicStageAt(Progress(1023), W(), H());
    const Rect small{0, 0, stage.width, stage.height};
    if (stage.from_shown) work_.StretchDraw(small, From(), From().Bounds(), 255);
    if (stage.to_alpha > 0) work_.StretchDraw(small, To(), To().Bounds(), stage.to_alpha);
    Canvas().StretchDraw(Whole(W(), H()), work_, small, 255);
  }

 private:
  TDIBX work_;
};

// The old picture shrinks (turning by parameter 0, in 256ths of a turn) over the new one.
class TWipeSmall final : public TCustomWipe {
 public:
  using TCustomWipe::TCustomWipe;

 protected:
  void DrawStep() override {
    const long double c = static_cast<long double>(Duration() - Position() - 1) / Duration();
    Canvas().Draw(0, 0, To(), Whole(W(), H()));
    const std::int32_t zoom = RoundToInt(c * 255);
    const std::int32_t angle = RoundToInt(params_[0] * c) * (Reverse() ? -1 : 1);
    if (zoom <= 0) return;
    Canvas().DrawRotate(W() / 2, H() / 2, From(), Whole(W(), H()), {angle, W() / 2, H() / 2, zoom, zoom}, 255);
  }
};

// The new picture grows over the old one, turning back from parameter 0.
class TWipeBig final : public TCustomWipe {
 public:
  using TCustomWipe::TCustomWipe;

 protected:
  void DrawStep() override {
    Canvas().Draw(0, 0, From(), Whole(W(), H()));
    const std::int32_t zoom = RoundToInt(static_cast<long double>(Position()) / Duration() * 255);
    const long double c = static_cast<long double>(Duration() - Position() - 1) / Duration();
    const std::int32_t angle = RoundToInt(params_[0] * c) * (Reverse() ? -1 : 1);
    if (zoom <= 0) return;
    Canvas().DrawRotate(W() / 2, H() / 2, To(), Whole(W(), H()), {angle, W() / 2, H() / 2, zoom, zoom}, 255);
  }
};

// Into the point (parameters 0 and 1) on the old picture, then out of it on the new one.
class TWipeZoomin final : public TCustomWipe {
 public:
  using TCustomWipe::TCustomWipe;

 protected:
  void DrawStep() override {
    const ZoominSource zoom = ZoominSourceRect(W(), H(), params_[0], params_[1], Position(), Duration());
    Canvas().StretchDraw(Whole(W(), H()), zoom.second_half ? To() : From(), zoom.source, 255);
  }
};

std::int32_t ZoominAxis(std::int32_t size, std::int32_t point, long double s, long double k, std::int32_t& length) {
  length = std::max(1, RoundToInt(size * s));
  std::int32_t at = RoundToInt((point - size / 2.0L) * k) + size / 2 - length / 2;
  if (at < 0)
    at = 0;
  else if (static_cast<std::int64_t>(at) + length > size)
    at = size - length;
  return at;
}

}  // namespace

MosaicStage MosaicStageAt(std::int64_t b, std::int32_t w, std::int32_t h) {
  MosaicStage stage;
  const std::int64_t s = b < 512 ? 263 - (b / 2) * 15 / 16 : (b - 512) / 2 * 15 / 16 + 24;
  stage.width = static_cast<std::int32_t>(std::clamp<std::int64_t>((w / 4 * s) >> 8, 1, std::max(w, 1)));
  stage.height = static_cast<std::int32_t>(std::clamp<std::int64_t>((h / 4 * s) >> 8, 1, std::max(h, 1)));
  if (b < 256) {
    stage.to_alpha = 0;
  } else if (b < 512) {
    stage.to_alpha = static_cast<int>((b - 256) / 4);
  } else if (b < 768) {
    stage.to_alpha = static_cast<int>(64 + (b - 512) * 191 / 255);
  } else {
    stage.to_alpha = 255;
    stage.from_shown = false;
  }
  return stage;
}

ZoominSource ZoominSourceRect(std::int32_t width, std::int32_t height, std::int32_t px, std::int32_t py,
                              std::int32_t position, std::int32_t duration) {
  const long double d = duration > 0 ? 2.0L * position / duration : 2.0L;
  const bool second = d > 1;
  const long double s = second ? d - 1 : 1 - d, k = second ? 2 - d : d;
  std::int32_t w = 1, h = 1;
  const std::int32_t x = ZoominAxis(width, px, s, k, w);
  const std::int32_t y = ZoominAxis(height, py, s, k, h);
  return {{x, y, x + w, y + h}, second};
}

KEST_WIPE_MAKER(TWipeFade)
KEST_WIPE_MAKER(TWipeWhite)
KEST_WIPE_MAKER(TWipeBlack)
KEST_WIPE_MAKER(TWipeFlash)
KEST_WIPE_MAKER(TWipeScrollH)
KEST_WIPE_MAKER(TWipeScrollV)
KEST_WIPE_MAKER(TWipeSudareH)
KEST_WIPE_MAKER(TWipeSudareV)
KEST_WIPE_MAKER(TWipeRubberH)
KEST_WIPE_MAKER(TWipeRubberV)
KEST_WIPE_MAKER(TWipeMosaic)
KEST_WIPE_MAKER(TWipeSmall)
KEST_WIPE_MAKER(TWipeBig)
KEST_WIPE_MAKER(TWipeZoomin)

}  // namespace kest
