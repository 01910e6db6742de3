// The per-pixel effects: spot light, ripple, blur through white or black, twist, and falling
// chips. Their tables (distances, angles, blurred copies, chips) are built once in Prepare.

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/arith.h"
#include "core/random.h"
#include "render/wipes/wipe_makers.h"
#include "render/wipes/wipe_pictures.h"

namespace kest {

namespace {

constexpr double kPi = std::numbers::pi;

std::int32_t RoundToInt(long double value) { return SaturateToInt32(RoundHalfEven(value)); }

// Rounded distance of each pixel centre from the picture's centre.
std::vector<std::int32_t> DistanceTable(std::int32_t w, std::int32_t h) {
  std::vector<std::int32_t> table(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
  std::size_t i = 0;
  for (std::int32_t y = 0; y < h; ++y)
    for (std::int32_t x = 0; x < w; ++x) table[i++] = RoundToInt(std::hypot(x + 0.5 - w / 2.0, y + 0.5 - h / 2.0));
  return table;
}

// A light ring runs outwards: a pixel shows the old picture until the progress passes its
// distance by 256, and while the progress lies within 512 of its distance a white light of
// level d is added (d rising by one per unit over the first 256 units and falling over the next
// 256), saturating. Reverse runs the ring inwards.
class TWipeSpot final : public TCustomWipe {
 public:
  using TCustomWipe::TCustomWipe;
  void Prepare() override {
    TCustomWipe::Prepare();
    distance_ = DistanceTable(W(), H());
    if (Reverse() && !distance_.empty()) {
      const std::int32_t largest = *std::max_element(distance_.begin(), distance_.end());
      for (std::int32_t& n : distance_) n = largest - n;
    }
  }

 protected:
  void DrawStep() override {
    if (distance_.size() != static_cast<std::size_t>(W()) * static_cast<std::size_t>(H())) Prepare();
    const std::int64_t b = Progress(RoundToInt(std::hypot(H() / 2.0, W() / 2.0)) + 512);
    SurfaceView out(Canvas()), from(From()), to(To());
    if (!out.Ok() || !from.Ok() || !to.Ok()) return;
    const std::int32_t* n = distance_.data();
    for (std::int32_t y = 0; y < H(); ++y) {
      std::uint32_t* d = Row32(out, y);
      const std::uint32_t *f = Row32(from, y), *t = Row32(to, y);
      for (std::int32_t x = 0; x < W(); ++x) {
        const std::int64_t rel = b - *n++;
        std::uint32_t pixel = rel < 256 ? f[x] : t[x];
        if (rel >= 0 && rel < 512) pixel = AddBytesSaturating(pixel, Grey(static_cast<std::uint32_t>(rel < 256 ? rel : 511 - rel)));
        d[x] = pixel;
      }
    }
  }

 private:
  std::vector<std::int32_t> distance_;
};

// A ring of kRing pixels travels from the centre past the corners. Outside it the old picture
// shows, inside it the new one; within it each pixel is read from a point displaced along its
// direction from the centre by round(A sin(2 pi r / kRing)), r being its depth into the ring and
// A parameter 0 (clamped to the picture's larger side): the old picture in the ring's outer
// half, the new one in its inner half.
class TWipeRipple final : public TCustomWipe {
 public:
  using TCustomWipe::TCustomWipe;
  static constexpr std::int32_t kRing = 64;

  void SetParam(int index, std::int32_t value) override {
    TCustomWipe::SetParam(index, value);
    if (index == 0) BuildWave();
  }
  void Prepare() override {
    TCustomWipe::Prepare();
    const std::size_t count = static_cast<std::size_t>(W()) * static_cast<std::size_t>(H());
    distance_ = DistanceTable(W(), H());
    cos_.resize(count);
    sin_.resize(count);
    std::size_t i = 0;
    for (std::int32_t y = 0; y < H(); ++y) {
      for (std::int32_t x = 0; x < W(); ++x, ++i) {
        const double angle = std::atan2(y + 0.5 - H() / 2.0, x + 0.5 - W() / 2.0);
        cos_[i] = static_cast<std::int32_t>(std::lround(std::cos(angle) * 65536.0));
        sin_[i] = static_cast<std::int32_t>(std::lround(std::sin(angle) * 65536.0));
      }
    }
    BuildWave();
  }

 protected:
  void BuildWave() {
    const std::int32_t limit = std::max({W(), H(), 1});
    const std::int32_t amplitude = std::clamp(params_[0], -limit, limit);
    for (std::int32_t r = 0; r < kRing; ++r) wave_[r] = RoundToInt(amplitude * std::sin(2 * kPi * r / kRing));
  }

  void DrawStep() override {
    if (distance_.size() != static_cast<std::size_t>(W()) * static_cast<std::size_t>(H())) Prepare();
    const std::int64_t radius = Progress(RoundToInt(std::hypot(H(), W())) + kRing);
    SurfaceView out(Canvas()), from(From()), to(To());
    if (!out.Ok() || !from.Ok() || !to.Ok()) return;
    std::size_t i = 0;
    for (std::int32_t y = 0; y < H(); ++y) {
      std::uint32_t* d = Row32(out, y);
      for (std::int32_t x = 0; x < W(); ++x, ++i) {
        const std::int64_t depth = radius - distance_[i];
        if (depth < 0) {
          d[x] = Row32(from, y)[x];
        } else if (depth >= kRing) {
          d[x] = Row32(to, y)[x];
        } else {
          const std::int64_t shift = wave_[depth];
          const std::int32_t sx = static_cast<std::int32_t>(std::clamp<std::int64_t>(x + ((shift * cos_[i]) >> 16), 0, W() - 1));
          const std::int32_t sy = static_cast<std::int32_t>(std::clamp<std::int64_t>(y + ((shift * sin_[i]) >> 16), 0, H() - 1));
          d[x] = Row32(depth < kRing / 2 ? from : to, sy)[sx];
        }
      }
    }
  }

 private:
  std::vector<std::int32_t> distance_, cos_, sin_;
  std::int32_t wave_[kRing] = {};
};

// A blurred copy: the picture averaged over 4 x 4 blocks and stretched back bilinearly (each
// pixel between the four nearest block centres, in 8-bit fixed point).
void BlurInto(TCustomDIBX& picture, TDIBX& out) {
  const std::int32_t w = picture.Width(), h = picture.Height();
  out.SetSize(w, h, 32);
  if (w == 0 || h == 0) return;
  const std::int32_t sw = (w + 3) / 4, sh = (h + 3) / 4;
  std::vector<std::uint32_t> small(static_cast<std::size_t>(sw) * static_cast<std::size_t>(sh));
  SurfaceView in(picture), view(out);
  if (!in.Ok() || !view.Ok()) return;
  for (std::int32_t by = 0; by < sh; ++by) {
    for (std::int32_t bx = 0; bx < sw; ++bx) {
      std::uint32_t sum[4] = {}, count = 0;
      for (std::int32_t y = by * 4; y < std::min(by * 4 + 4, h); ++y) {
        const std::uint32_t* row = Row32(in, y);
        for (std::int32_t x = bx * 4; x < std::min(bx * 4 + 4, w); ++x, ++count)
          for (int k = 0; k < 4; ++k) sum[k] += (row[x] >> (8 * k)) & 0xFF;
      }
      std::uint32_t p = 0;
      for (int k = 0; k < 4; ++k) p |= (sum[k] / count) << (8 * k);
      small[static_cast<std::size_t>(by) * static_cast<std::size_t>(sw) + static_cast<std::size_t>(bx)] = p;
    }
  }
  const auto at = [&](std::int32_t bx, std::int32_t by) {
    bx = std::clamp(bx, 0, sw - 1), by = std::clamp(by, 0, sh - 1);
    return small[static_cast<std::size_t>(by) * static_cast<std::size_t>(sw) + static_cast<std::size_t>(bx)];
  };
  for (std::int32_t y = 0; y < h; ++y) {
    // Block centres lie at 4b + 1.5; positions in 64ths of a block.
    const std::int32_t fy = std::max(0, (y * 2 + 1 - 4) * 8);  // (y + 0.5 - 2) / 4 * 64
    const std::int32_t by = fy >> 6, wy = fy & 63;
    std::uint32_t* row = Row32(view, y);
    for (std::int32_t x = 0; x < w; ++x) {
      const std::int32_t fx = std::max(0, (x * 2 + 1 - 4) * 8);
      const std::int32_t bx = fx >> 6, wx = fx & 63;
      const std::uint32_t p00 = at(bx, by), p10 = at(bx + 1, by), p01 = at(bx, by + 1), p11 = at(bx + 1, by + 1);
      std::uint32_t p = 0;
      for (int k = 0; k < 32; k += 8) {
        const std::uint32_t top = ((p00 >> k) & 0xFF) * static_cast<std::uint32_t>(64 - wx) + ((p10 >> k) & 0xFF) * static_cast<std::uint32_t>(wx);
        const std::uint32_t bottom = ((p01 >> k) & 0xFF) * static_cast<std::uint32_t>(64 - wx) + ((p11 >> k) & 0xFF) * static_cast<std::uint32_t>(wx);
        p |= ((top * static_cast<std::uint32_t>(64 - wy) + bottom * static_cast<std::uint32_t>(wy)) >> 12) << k;
      }
      row[x] = p;
    }
  }
}

// Progress b over 0-639: 0-255 the old picture blurs while the light rises to 127; 256-319 the
// blurred pictures cross (four units of weight per step) while the light rises to full;
// 320-383 the blurred new picture while the light falls back to 129; 384-639 the new picture
// sharpens while the light falls to 0. Black darkens by the same levels.
template <bool kWhite>
class TWipeBlur : public TCustomWipe {
 public:
  using TCustomWipe::TCustomWipe;
  void Prepare() override {
    TCustomWipe::Prepare();
    BlurInto(From(), blurred_from_);
    BlurInto(To(), blurred_to_);
  }

 protected:
  void DrawStep() override {
    if (blurred_from_.Width() != W() || blurred_from_.Height() != H()) Prepare();
    const std::int64_t b = Progress(639);
    const Rect whole{0, 0, W(), H()};
    TCustomDIBX& canvas = Canvas();
    std::int64_t level = 0;
    if (b < 256) {
      canvas.Draw(0, 0, From(), whole);
      canvas.DrawAlpha(0, 0, blurred_from_, whole, static_cast<int>(b));
      level = b / 2;
    } else if (b < 320) {
      canvas.Draw(0, 0, blurred_from_, whole);
      canvas.DrawAlpha(0, 0, blurred_to_, whole, static_cast<int>(std::min<std::int64_t>(255, 4 * (b - 256))));
      level = 128 + 2 * (b - 256);
    } else if (b < 384) {
      canvas.Draw(0, 0, blurred_to_, whole);
      level = 255 - 2 * (b - 320);
    } else {
      canvas.Draw(0, 0, To(), whole);
      canvas.DrawAlpha(0, 0, blurred_to_, whole, static_cast<int>(255 - (b - 384)));
      level = (639 - b) / 2;
    }
    const std::uint32_t grey = Grey(static_cast<std::uint32_t>(std::clamp<std::int64_t>(level, 0, 255)));
    if (kWhite)
      canvas.FillRectAdd(whole, grey);
    else
      canvas.FillRectSub(whole, grey);
  }

 private:
  TDIBX blurred_from_, blurred_to_;
};

class TWipeBlurWhite final : public TWipeBlur<true> {
  using TWipeBlur::TWipeBlur;
};
class TWipeBlurBlack final : public TWipeBlur<false> {
  using TWipeBlur::TWipeBlur;
};

// Cards turning in a wave: the angle phi = 3 pi / 2 * Position / Duration sweeps across, column
// x (row y) turning at phi - x / W * pi / 2 (mirrored with Reverse). Below 0 it still shows the
// old picture, from pi on the new one; between, a strip of the old (below pi / 2) or new
// picture squeezed about the middle to |cos| of its length, nearest pixel, on black.
template <bool kColumns>
class TWipeTwist : public TCustomWipe {
 public:
  using TCustomWipe::TCustomWipe;

 protected:
  void DrawStep() override {
    SurfaceView out(Canvas()), from(From()), to(To());
    if (!out.Ok() || !from.Ok() || !to.Ok()) return;
    const double phi = 1.5 * kPi * Fraction();
    const std::int32_t lines = kColumns ? W() : H(), length = kColumns ? H() : W();
    // Each line's strip: where it starts, how long it is, which picture it shows.
    strips_.resize(static_cast<std::size_t>(lines));
    for (std::int32_t line = 0; line < lines; ++line) {
      const std::int32_t i = Reverse() ? lines - 1 - line : line;
      const double angle = phi - static_cast<double>(i) / lines * kPi / 2;
      Strip& strip = strips_[static_cast<std::size_t>(line)];
      strip.shows_new = angle >= kPi / 2;
      strip.shown = length;
      strip.start = 0;
      if (angle > 0 && angle < kPi) {
        strip.shown = static_cast<std::int32_t>(std::lround(length * std::fabs(std::cos(angle))));
        strip.start = (length - strip.shown) / 2;
      }
    }
    if (!kColumns) {
      for (std::int32_t line = 0; line < lines; ++line) {
        const Strip& strip = strips_[static_cast<std::size_t>(line)];
        const std::uint32_t* source = Row32(strip.shows_new ? to : from, line);
        std::uint32_t* d = Row32(out, line);
        for (std::int32_t j = 0; j < length; ++j)
          d[j] = j >= strip.start && j < strip.start + strip.shown
                     ? source[static_cast<std::int64_t>(j - strip.start) * length / strip.shown]
                     : 0;
      }
      return;
    }
    // Columns, drawn row by row: each column's source row (j - start) * H / shown is stepped
    // exactly, by the quotient and the remainder of H / shown.
    for (Strip& strip : strips_) {
      strip.source = 0;
      strip.remainder = 0;
    }
    for (std::int32_t j = 0; j < length; ++j) {
      std::uint32_t* d = Row32(out, j);
      for (std::int32_t x = 0; x < lines; ++x) {
        Strip& strip = strips_[static_cast<std::size_t>(x)];
        if (j < strip.start || j >= strip.start + strip.shown) {
          d[x] = 0;
          continue;
        }
        d[x] = Row32(strip.shows_new ? to : from, strip.source)[x];
        strip.source += length / strip.shown;
        strip.remainder += length % strip.shown;
        if (strip.remainder >= strip.shown) {
          strip.remainder -= strip.shown;
          ++strip.source;
        }
      }
    }
  }

 private:
  struct Strip {
    std::int32_t start = 0, shown = 0;
    bool shows_new = false;
    std::int32_t source = 0, remainder = 0;
  };
  std::vector<Strip> strips_;
};

class TWipeTwistH final : public TWipeTwist<true> {
  using TWipeTwist::TWipeTwist;
};
class TWipeTwistV final : public TWipeTwist<false> {
  using TWipeTwist::TWipeTwist;
};

// The old picture cut into square chips of parameter 0 pixels (at least 16) that fall off the
// new one: chip i (row-major) starts after i * parameter 1 ms, drifts sideways by drift * t / 100
// (drift uniform in -100..99) and falls by (5t^2 - 1500t) / 1000 pixels t ms after its start
// (rising a little first). A chip whose top is below the picture is gone.
class TWipeCrack final : public TCustomWipe {
 public:
  using TCustomWipe::TCustomWipe;
  struct Chip {
    std::int32_t x = 0, y = 0;
    std::int64_t delay = 0;
    std::int32_t drift = 0;
  };

  void SetParam(int index, std::int32_t value) override {
    TCustomWipe::SetParam(index, value);
    if (W() > 0) BuildChips();
  }
  void Prepare() override {
    TCustomWipe::Prepare();
    BuildChips();
  }

 protected:
  std::int32_t Size() const { return std::clamp(params_[0], 16, std::max({16, W(), H()})); }

  void BuildChips() {
    const std::int32_t s = Size();
    const std::int32_t columns = (W() + s - 1) / s, rows = (H() + s - 1) / s;
    TVxRandom random(WipeRandomStart());
    chips_.clear();
    chips_.reserve(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows));
    for (std::int32_t row = 0; row < rows; ++row) {
      for (std::int32_t column = 0; column < columns; ++column) {
        const std::int64_t index = std::int64_t{row} * columns + column;
        const std::uint32_t draw = static_cast<std::uint32_t>(random.Next()) >> 16;  // the generator's better bits
        chips_.push_back({column * s, row * s, index * std::max(params_[1], 0), static_cast<std::int32_t>(draw % 200) - 100});
      }
    }
    built_for_ = {W(), H(), s};
  }

  void DrawStep() override {
    if (built_for_.w != W() || built_for_.h != H() || built_for_.s != Size()) BuildChips();
    const std::int32_t s = Size();
    Canvas().Draw(0, 0, To(), {0, 0, W(), H()});
    // Past a thousand seconds every chip is far below any picture.
    constexpr std::int64_t kGone = 1'000'000;
    for (const Chip& chip : chips_) {
      const std::int64_t t = Position() - chip.delay;
      std::int64_t dx = 0, dy = 0;
      if (t > 0) {
        if (t > kGone) continue;
        dx = chip.drift * t / 100;
        dy = (5 * t * t - 1500 * t) / 1000;
      }
      const std::int64_t y = chip.y + dy;
      if (y >= H()) continue;
      Canvas().Draw(static_cast<std::int32_t>(chip.x + dx), static_cast<std::int32_t>(y), From(),
                    {chip.x, chip.y, chip.x + s, chip.y + s});
    }
  }

 private:
  struct BuiltFor {
    std::int32_t w = -1, h = -1, s = -1;
  } built_for_;
  std::vector<Chip> chips_;
};

}  // namespace

KEST_WIPE_MAKER(TWipeSpot)
KEST_WIPE_MAKER(TWipeRipple)
KEST_WIPE_MAKER(TWipeBlurWhite)
KEST_WIPE_MAKER(TWipeBlurBlack)
KEST_WIPE_MAKER(TWipeTwistH)
KEST_WIPE_MAKER(TWipeTwistV)
KEST_WIPE_MAKER(TWipeCrack)

}  // namespace kest
