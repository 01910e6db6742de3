// The ramp masks (blinds, curtains, grids) and the dither.
//
// A ramp element with delay e reads 0 while the progress is below e, then rises to 255 over
// `ramp` (parameter 1) progress units; a ramp below 2 makes the mask binary.

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/arith.h"
#include "core/random.h"
#include "render/wipes/wipe_makers.h"

namespace kest {

namespace {

std::int32_t Clamped(std::int32_t value, std::int32_t low, std::int32_t high) {
  return std::clamp(value, low, std::max(low, high));
}

// ---- blinds: stripes of f pixels, each pixel two progress units after its neighbour

class TWipeBlindH final : public TWipeOrderHMask {
 public:
  using TWipeOrderHMask::TWipeOrderHMask;
  void Prepare() override {
    TWipeOrderHMask::Prepare();
    const std::int32_t f = Stripe();
    order_.resize(static_cast<std::size_t>(W()));
    for (std::int32_t x = 0; x < W(); ++x) order_[static_cast<std::size_t>(x)] = Reverse() ? 2 * (f - (x % f) - 1) : 2 * (x % f);
  }

 protected:
  std::int32_t MaskHeight() const override { return 1; }
  std::int32_t Stripe() const { return Clamped(params_[0], 1, W()); }
  bool BuildMask() override {
    const std::int64_t ramp = params_[1];
    const std::int64_t progress = Progress(ramp + 2 * std::int64_t{Stripe()} - 2);
    if (!TakeProgress(progress)) return false;
    std::uint8_t* row = MaskRow(0);
    for (std::int32_t x = 0; x < W(); ++x) row[x] = RampValue(progress, order_[static_cast<std::size_t>(x)], ramp);
    binary_ = ramp < 2;
    return true;
  }
};

class TWipeBlindV final : public TWipeOrderVMask {
 public:
  using TWipeOrderVMask::TWipeOrderVMask;
  void Prepare() override {
    TWipeOrderVMask::Prepare();
    const std::int32_t f = Stripe();
    order_.resize(static_cast<std::size_t>(MaskHeight()));
    for (std::int32_t r = 0; r < MaskHeight(); ++r) {
      const std::int32_t in_stripe = r % f;
      order_[static_cast<std::size_t>(r)] = Reverse() ? 2 * (f - in_stripe - 1) : 2 * in_stripe;
    }
  }

 protected:
  std::int32_t Stripe() const { return Clamped(params_[0], 1, H()); }
  std::int32_t MaskHeight() const override { return std::max(Stripe(), 2); }
  bool BuildMask() override {
    const std::int64_t ramp = params_[1];
    const std::int64_t progress = Progress(ramp + 2 * std::int64_t{Stripe()} - 2);
    if (!TakeProgress(progress)) return false;
    binary_ = true;
    for (std::int32_t r = 0; r < MaskHeight(); ++r) {
      const std::uint8_t v = RampValue(progress, order_[static_cast<std::size_t>(r)], ramp);
      if (v != 0 && v != 255) binary_ = false;
      std::memset(MaskRow(r), v, static_cast<std::size_t>(W()));
    }
    return true;
  }
};

// ---- curtains: stripes of f pixels opening one after another, 16 units apart

std::int64_t CurtainDelay(std::int32_t i, std::int32_t f) { return (std::int64_t{i / f} + i % f) * 16; }

std::int64_t CurtainRange(std::int32_t length, std::int32_t f, std::int64_t ramp) {
  return (std::int64_t{(length + f - 1) / f} + f - 2) * 16 + ramp;
}

// The curtains keep both parameters at least 1 (not 2 like the other mask kinds).
void CurtainSetParam(std::int32_t (&params)[2], int index, std::int32_t value) {
  if (index == 0 || index == 1) params[index] = std::max(value, 1);
}

class TWipeCurtainH final : public TWipeOrderHMask {
 public:
  using TWipeOrderHMask::TWipeOrderHMask;
  void SetParam(int index, std::int32_t value) override { CurtainSetParam(params_, index, value); }
  void Prepare() override {
    TWipeOrderHMask::Prepare();
    const std::int32_t f = Stripe();
    order_.resize(static_cast<std::size_t>(W()));
    for (std::int32_t x = 0; x < W(); ++x)
      order_[static_cast<std::size_t>(x)] = static_cast<std::int32_t>(CurtainDelay(Reverse() ? W() - x - 1 : x, f));
  }

 protected:
  std::int32_t MaskHeight() const override { return 1; }
  std::int32_t Stripe() const { return Clamped(params_[0], 1, W()); }
  bool BuildMask() override {
    const std::int64_t ramp = params_[1];
    const std::int64_t progress = Progress(CurtainRange(W(), Stripe(), ramp));
    if (!TakeProgress(progress)) return false;
    std::uint8_t* row = MaskRow(0);
    for (std::int32_t x = 0; x < W(); ++x) row[x] = RampValue(progress, order_[static_cast<std::size_t>(x)], ramp);
    binary_ = ramp < 2;
    return true;
  }
};

class TWipeCurtainV final : public TWipeOrderVMask {
 public:
  using TWipeOrderVMask::TWipeOrderVMask;
  void SetParam(int index, std::int32_t value) override { CurtainSetParam(params_, index, value); }
  void Prepare() override {
    TWipeOrderVMask::Prepare();
    const std::int32_t f = Stripe();
    order_.resize(static_cast<std::size_t>(H()));
    for (std::int32_t y = 0; y < H(); ++y)
      order_[static_cast<std::size_t>(y)] = static_cast<std::int32_t>(CurtainDelay(Reverse() ? H() - y - 1 : y, f));
  }

 protected:
  std::int32_t Stripe() const { return Clamped(params_[0], 1, H()); }
  bool BuildMask() override {
    const std::int64_t ramp = params_[1];
    const std::int64_t progress = Progress(CurtainRange(H(), Stripe(), ramp));
    if (!TakeProgress(progress)) return false;
    for (std::int32_t y = 0; y < H(); ++y)
      std::memset(MaskRow(y), RampValue(progress, order_[static_cast<std::size_t>(y)], ramp), static_cast<std::size_t>(W()));
    binary_ = ramp < 2;
    return true;
  }
};

// ---- grids: cells of c pixels, each a centred square that grows after the cell's delay

enum class GridOrder { Distance, Columns, Rows };

std::int64_t RoundedHypot(std::int64_t a, std::int64_t b) {
  return static_cast<std::int64_t>(RoundHalfEven(std::hypot(static_cast<long double>(a), static_cast<long double>(b))));
}

template <GridOrder kOrder>
class TWipeGridBase : public TWipeMask {
 public:
  using TWipeMask::TWipeMask;

 protected:
  std::int32_t Cell() const { return Clamped(params_[0], 2, std::max(W(), H())); }
  std::int32_t Columns() const { return (W() + Cell() - 1) / Cell(); }
  std::int32_t Rows() const { return (H() + Cell() - 1) / Cell(); }
  std::int32_t MaskHeight() const override {
    return kOrder == GridOrder::Columns ? std::min(std::max(Cell(), 2), H()) : H();
  }
  std::int64_t Delay(std::int32_t row, std::int32_t column) const {
    if (Reverse()) row = Rows() - 1 - row, column = Columns() - 1 - column;
    switch (kOrder) {
      case GridOrder::Columns: return 4 * std::int64_t{column};
      case GridOrder::Rows: return 4 * std::int64_t{row};
      case GridOrder::Distance: return 4 * RoundedHypot(row, column);
    }
    return 0;
  }
  std::int64_t Span() const {
    switch (kOrder) {
      case GridOrder::Columns: return 4 * std::int64_t{Columns()};
      case GridOrder::Rows: return 4 * std::int64_t{Rows()};
      case GridOrder::Distance: return 4 * RoundedHypot(Rows() - 1, Columns() - 1);
    }
    return 0;
  }
  bool BuildMask() override {
    const std::int64_t ramp = params_[1], c = Cell();
    const std::int64_t progress = Progress(ramp + Span() - 4);
    if (!TakeProgress(progress)) return false;
    ClearMask();
    const std::int32_t rows = MaskRows();
    const std::int32_t cell_rows = kOrder == GridOrder::Columns ? 1 : Rows();
    for (std::int32_t row = 0; row < cell_rows; ++row) {
      for (std::int32_t column = 0; column < Columns(); ++column) {
        const std::int64_t delay = Delay(row, column);
        const std::uint8_t v = RampValue(progress, delay, ramp);
        if (v == 0) continue;
        const std::int64_t side = std::min(c, c * (progress - delay) / std::max<std::int64_t>(ramp, 1));
        const std::int64_t left = column * c + (c - side) / 2, top = row * c + (c - side) / 2;
        const std::int32_t x0 = static_cast<std::int32_t>(std::max<std::int64_t>(left, 0));
        const std::int32_t x1 = static_cast<std::int32_t>(std::min<std::int64_t>(left + side, W()));
        const std::int32_t y0 = static_cast<std::int32_t>(std::max<std::int64_t>(top, 0));
        const std::int32_t y1 = static_cast<std::int32_t>(std::min<std::int64_t>(top + side, rows));
        for (std::int32_t y = y0; y < y1 && x1 > x0; ++y) std::memset(MaskRow(y) + x0, v, static_cast<std::size_t>(x1 - x0));
      }
    }
    binary_ = ramp < 2;
    return true;
  }
};

class TWipeGrid final : public TWipeGridBase<GridOrder::Distance> {
  using TWipeGridBase::TWipeGridBase;
};
class TWipeGridH final : public TWipeGridBase<GridOrder::Columns> {
  using TWipeGridBase::TWipeGridBase;
};
class TWipeGridV final : public TWipeGridBase<GridOrder::Rows> {
  using TWipeGridBase::TWipeGridBase;
};

// ---- dither: a 64 x 64 tile whose 4096 cells turn in one fixed random order

class TWipeDither final : public TWipeMask {
 public:
  using TWipeMask::TWipeMask;
  static constexpr std::int32_t kTile = 64;
  void Prepare() override {
    TWipeMask::Prepare();
    TVxRandom random(12341);
    random.ResetPool(kTile * kTile);
    for (std::int32_t& cell : order_) cell = random.Draw();
  }

 protected:
  std::int32_t MaskHeight() const override { return kTile; }
  bool BuildMask() override {
    const std::int64_t n = Progress(kTile * kTile);
    if (!TakeProgress(n)) return false;
    std::uint8_t tile[kTile * kTile] = {};
    for (std::int64_t i = 0; i < n; ++i) tile[order_[static_cast<std::size_t>(i)]] = 255;  // cell c at (c mod 64, c div 64)
    for (std::int32_t y = 0; y < kTile; ++y) {
      std::uint8_t* row = MaskRow(y);
      for (std::int32_t x = 0; x < W(); ++x) row[x] = tile[y * kTile + (x % kTile)];
    }
    binary_ = true;
    return true;
  }

 private:
  std::int32_t order_[kTile * kTile] = {};
};

}  // namespace

KEST_WIPE_MAKER(TWipeBlindH)
KEST_WIPE_MAKER(TWipeBlindV)
KEST_WIPE_MAKER(TWipeCurtainH)
KEST_WIPE_MAKER(TWipeCurtainV)
KEST_WIPE_MAKER(TWipeGrid)
KEST_WIPE_MAKER(TWipeGridH)
KEST_WIPE_MAKER(TWipeGridV)
KEST_WIPE_MAKER(TWipeDither)

}  // namespace kest
