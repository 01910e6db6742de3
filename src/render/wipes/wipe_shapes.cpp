// The shape masks (clock hand, fans, circle), the blocks, and the mask-picture kinds.

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/errors.h"
#include "core/random.h"
#include "core/text_format.h"
#include "render/messages.h"
#include "render/wipes/mask_raster.h"
#include "render/wipes/wipe_makers.h"
#include "render/wipes/wipe_pictures.h"

namespace kest {

namespace {

// Angles are built in sixteenths of a degree, so that the mask changes only when they do.
constexpr std::int64_t kAngleSteps = 16;

class TWipeShapeMask : public TWipeMask {
 public:
  using TWipeMask::TWipeMask;

 protected:
  MaskCanvas Canvas() { return {MaskRow(0), W(), MaskRows()}; }
  double CentreX() const { return W() / 2.0; }
  double CentreY() const { return H() / 2.0; }
};

// One full turn from the start angle (parameter 0, degrees, 0 at the top), clockwise, or
// counter-clockwise with Reverse. Its parameters are kept as given.
class TWipeClockhand final : public TWipeShapeMask {
 public:
  using TWipeShapeMask::TWipeShapeMask;
  void SetParam(int index, std::int32_t value) override { TCustomWipe::SetParam(index, value); }

 protected:
  bool BuildMask() override {
    const std::int64_t progress = Progress(360 * kAngleSteps);
    if (!TakeProgress(progress)) return false;
    ClearMask();
    const double sweep = static_cast<double>(progress) / kAngleSteps;
    FillSector(Canvas(), CentreX(), CentreY(), params_[0], Reverse() ? -sweep : sweep, 255);
    binary_ = true;
    return true;
  }
};

// Half a turn in both directions from the start angle (parameter 0); Reverse starts from the
// opposite side.
class TWipeFan final : public TWipeShapeMask {
 public:
  using TWipeShapeMask::TWipeShapeMask;

 protected:
  bool BuildMask() override {
    const std::int64_t progress = Progress(180 * kAngleSteps);
    if (!TakeProgress(progress)) return false;
    ClearMask();
    const double half = static_cast<double>(progress) / kAngleSteps;
    const double start = params_[0] + (Reverse() ? 180.0 : 0.0);
    FillSector(Canvas(), CentreX(), CentreY(), start - half, 2 * half, 255);
    binary_ = true;
    return true;
  }
};

// A quarter turn in both directions from two opposite start angles (parameter 0 and half a turn
// on); Reverse turns both by a quarter.
class TWipeWFan final : public TWipeShapeMask {
 public:
  using TWipeShapeMask::TWipeShapeMask;

 protected:
  bool BuildMask() override {
    const std::int64_t progress = Progress(90 * kAngleSteps);
    if (!TakeProgress(progress)) return false;
    ClearMask();
    const double half = static_cast<double>(progress) / kAngleSteps;
    const double start = params_[0] + (Reverse() ? 90.0 : 0.0);
    FillSector(Canvas(), CentreX(), CentreY(), start - half, 2 * half, 255);
    FillSector(Canvas(), CentreX(), CentreY(), start + 180.0 - half, 2 * half, 255);
    binary_ = true;
    return true;
  }
};

// Grows from the centre to the corners; with Reverse the new picture closes in from outside.
class TWipeCircle final : public TWipeShapeMask {
 public:
  using TWipeShapeMask::TWipeShapeMask;

 protected:
  bool BuildMask() override {
    const double full = std::hypot(W() / 2.0, H() / 2.0);
    const std::int64_t steps = static_cast<std::int64_t>(std::ceil(full * kAngleSteps));
    const std::int64_t progress = Progress(steps);
    if (!TakeProgress(progress)) return false;
    const double radius = static_cast<double>(progress) / kAngleSteps;
    if (Reverse()) {
      ClearMask(255);
      FillDisc(Canvas(), CentreX(), CentreY(), full - radius, 0);
    } else {
      ClearMask(0);
      FillDisc(Canvas(), CentreX(), CentreY(), radius, 255);
    }
    binary_ = true;
    return true;
  }
};

// ---- blocks of b = min(W, H, max(10, parameter 0)) pixels, filled one by one

class TWipeBlocks : public TWipeMask {
 public:
  using TWipeMask::TWipeMask;
  void Prepare() override {
    TWipeMask::Prepare();
    order_ = ListBlocks(Columns(), Rows());
    filled_ = 0;
  }

 protected:
  virtual std::vector<std::int32_t> ListBlocks(std::int32_t columns, std::int32_t rows) = 0;
  virtual bool FromTheEnd() const { return false; }
  std::int32_t Block() const { return std::max(1, std::min({W(), H(), std::max(10, params_[0])})); }
  std::int32_t Columns() const { return (W() + Block() - 1) / Block(); }
  std::int32_t Rows() const { return (H() + Block() - 1) / Block(); }

  bool BuildMask() override {
    const std::int64_t count = static_cast<std::int64_t>(order_.size());
    if (count == 0) return false;
    const std::int64_t last = Progress(count - 1);
    if (!TakeProgress(last)) return false;
    if (last + 1 < filled_) {  // the position went back
      ClearMask();
      filled_ = 0;
    }
    const std::int32_t b = Block();
    for (; filled_ <= last; ++filled_) {
      const std::int32_t block = order_[static_cast<std::size_t>(FromTheEnd() ? count - 1 - filled_ : filled_)];
      const std::int32_t x0 = (block % Columns()) * b, y0 = (block / Columns()) * b;
      const std::int32_t x1 = std::min(x0 + b, W()), y1 = std::min(y0 + b, MaskRows());
      for (std::int32_t y = y0; y < y1; ++y) std::memset(MaskRow(y) + x0, 255, static_cast<std::size_t>(x1 - x0));
    }
    binary_ = true;
    return true;
  }

 private:
  std::vector<std::int32_t> order_;
  std::int64_t filled_ = 0;
};

// A spiral from the top-left corner inwards: along the top, down the right side, back along the
// bottom, up the left side, then the next ring. Reverse runs it from its end.
class TWipeBlockCoil final : public TWipeBlocks {
 public:
  using TWipeBlocks::TWipeBlocks;

 protected:
  bool FromTheEnd() const override { return Reverse(); }
  std::vector<std::int32_t> ListBlocks(std::int32_t columns, std::int32_t rows) override {
    std::vector<std::int32_t> out;
    out.reserve(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows));
    std::int32_t left = 0, top = 0, right = columns - 1, bottom = rows - 1;
    while (left <= right && top <= bottom) {
      for (std::int32_t x = left; x <= right; ++x) out.push_back(top * columns + x);
      for (std::int32_t y = top + 1; y <= bottom; ++y) out.push_back(y * columns + right);
      if (top < bottom)
        for (std::int32_t x = right - 1; x >= left; --x) out.push_back(bottom * columns + x);
      if (left < right)
        for (std::int32_t y = bottom - 1; y > top; --y) out.push_back(y * columns + left);
      ++left, ++top, --right, --bottom;
    }
    return out;
  }
};

// Every block once, in an order drawn from the transitions' own random numbers.
class TWipeBlockRandom final : public TWipeBlocks {
 public:
  using TWipeBlocks::TWipeBlocks;

 protected:
  std::vector<std::int32_t> ListBlocks(std::int32_t columns, std::int32_t rows) override {
    // Drawn without replacement from the blocks left, with the generator's upper bits (its
    // lower bits repeat quickly); the last block left takes the drawn one's place.
    std::vector<std::int32_t> left(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows));
    for (std::size_t i = 0; i < left.size(); ++i) left[i] = static_cast<std::int32_t>(i);
    TVxRandom random(WipeRandomStart());
    std::vector<std::int32_t> out;
    out.reserve(left.size());
    while (!left.empty()) {
      const std::size_t pick = (static_cast<std::uint32_t>(random.Next()) >> 8) % left.size();
      out.push_back(left[pick]);
      left[pick] = left.back();
      left.pop_back();
    }
    return out;
  }
};

// ---- mask pictures

// T(i): 0 up to 255, then rising by one per unit to 255.
std::uint8_t FadeTurn(std::int64_t i) {
  if (i <= 255) return 0;
  return static_cast<std::uint8_t>(std::min<std::int64_t>(i - 256, 255));
}

// U(i): 0 up to 255, then rising by one per unit to 511.
std::int32_t LightTurn(std::int64_t i) {
  if (i <= 255) return 0;
  return static_cast<std::int32_t>(std::min<std::int64_t>(i - 256, 511));
}

// Bright pixels of the mask picture turn first: each pixel's turn starts at 255 - g.
class TWipeShadow final : public TWipeMask {
 public:
  using TWipeMask::TWipeMask;
  void Prepare() override {
    TWipeMask::Prepare();
    grey_ = LoadGreyPlane(MaskName(), W(), H(), Reverse());
  }

 protected:
  bool BuildMask() override {
    const std::int64_t base = Progress(512);
    if (!TakeProgress(base)) return false;
    std::uint8_t table[256];
    for (int g = 0; g < 256; ++g) table[g] = FadeTurn(base + g);
    const std::uint8_t* grey = grey_.data();
    for (std::int32_t y = 0; y < H(); ++y) {
      std::uint8_t* row = MaskRow(y);
      for (std::int32_t x = 0; x < W(); ++x) row[x] = table[*grey++];
    }
    binary_ = false;
    return true;
  }

 private:
  std::vector<std::uint8_t> grey_;
};

// While v < 256 the old pixel brightened (darkened) by v, then the new one by 511 - v.
template <bool kWhite>
class TWipeShadowLight : public TCustomWipe {
 public:
  using TCustomWipe::TCustomWipe;
  void Prepare() override {
    TCustomWipe::Prepare();
    grey_ = LoadGreyPlane(MaskName(), W(), H(), Reverse());
  }

 protected:
  void DrawStep() override {
    if (grey_.size() != static_cast<std::size_t>(W()) * static_cast<std::size_t>(H())) Prepare();
    const std::int64_t base = Progress(768);
    // Per grey level: which picture the pixel shows and the grey it is lit (darkened) by.
    std::uint32_t take_new[256], light[256];
    for (int g = 0; g < 256; ++g) {
      const std::int32_t v = LightTurn(base + g);
      take_new[g] = v < 256 ? 0u : 0xFFFFFFFFu;
      light[g] = Grey(static_cast<std::uint32_t>(v < 256 ? v : 511 - v));
    }
    SurfaceView out(Canvas()), from(From()), to(To());
    if (!out.Ok() || !from.Ok() || !to.Ok()) return;
    const std::uint8_t* grey = grey_.data();
    for (std::int32_t y = 0; y < H(); ++y, grey += W()) {
      std::uint32_t* d = Row32(out, y);
      const std::uint32_t *f = Row32(from, y), *t = Row32(to, y);
      for (std::int32_t x = 0; x < W(); ++x) {
        const std::uint32_t pixel = f[x] ^ ((f[x] ^ t[x]) & take_new[grey[x]]);
        d[x] = kWhite ? AddBytesSaturating(pixel, light[grey[x]]) : SubBytesSaturating(pixel, light[grey[x]]);
      }
    }
  }

 private:
  std::vector<std::uint8_t> grey_;
};

class TWipeShadowWhite final : public TWipeShadowLight<true> {
  using TWipeShadowLight::TWipeShadowLight;
};
class TWipeShadowBlack final : public TWipeShadowLight<false> {
  using TWipeShadowLight::TWipeShadowLight;
};

}  // namespace

std::vector<std::uint8_t> LoadGreyPlane(const std::string& name, std::int32_t width, std::int32_t height,
                                        bool invert) {
  std::vector<std::uint8_t> plane(static_cast<std::size_t>(std::max(width, 0)) * static_cast<std::size_t>(std::max(height, 0)),
                                  255);
  if (name.empty()) return plane;
  TDIBX picture;
  bool loaded = false;
  if (const MaskPictureLoader& loader = GetMaskPictureLoader()) {
    try {
      loaded = loader(name, picture) && !picture.IsEmpty();
    } catch (const KestError&) {
      loaded = false;
    }
  }
  if (!loaded) {
    WipeNotice(FillMessage(Message(RenderMessage::MaskPictureMissing), {name}));
    return plane;
  }
  TDIBX grey_source(picture.Width(), picture.Height(), 32);
  grey_source.Draw(0, 0, picture, picture.Bounds());
  SurfaceView view(grey_source);
  if (!view.Ok()) return plane;
  std::vector<std::uint8_t> tile(static_cast<std::size_t>(grey_source.Width()) * static_cast<std::size_t>(grey_source.Height()));
  for (std::int32_t y = 0; y < grey_source.Height(); ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(view.At(0, y));
    for (std::int32_t x = 0; x < grey_source.Width(); ++x) {
      std::uint32_t p = row[x];
      if (invert) p ^= 0xFFFFFFu;
      const std::uint32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
      tile[static_cast<std::size_t>(y) * static_cast<std::size_t>(grey_source.Width()) + static_cast<std::size_t>(x)] =
          static_cast<std::uint8_t>((77 * r + 151 * g + 28 * b) >> 8);
    }
  }
  for (std::int32_t y = 0; y < height; ++y)
    for (std::int32_t x = 0; x < width; ++x)
      plane[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] =
          tile[static_cast<std::size_t>(y % grey_source.Height()) * static_cast<std::size_t>(grey_source.Width()) +
               static_cast<std::size_t>(x % grey_source.Width())];
  return plane;
}

KEST_WIPE_MAKER(TWipeClockhand)
KEST_WIPE_MAKER(TWipeFan)
KEST_WIPE_MAKER(TWipeWFan)
KEST_WIPE_MAKER(TWipeCircle)
KEST_WIPE_MAKER(TWipeBlockCoil)
KEST_WIPE_MAKER(TWipeBlockRandom)
KEST_WIPE_MAKER(TWipeShadow)
KEST_WIPE_MAKER(TWipeShadowWhite)
KEST_WIPE_MAKER(TWipeShadowBlack)

}  // namespace kest
