// The transitions' shared machinery: parameters, the step protocol, the pictures' 32-bit
// copies, and the mask composition.

#include "render/wipes/wipe.h"

#include <algorithm>
#include <cstring>

#include "render/row_engine.h"
#include "render/row_kernels.h"

namespace kest {

namespace {

bool NeedsCopy(TCustomDIBX& picture, std::int32_t width, std::int32_t height) {
  return picture.BitCount() != 32 || picture.Width() != width || picture.Height() != height;
}

// The picture drawn over the common area of a black 32-bit surface of the given size.
void CopyOver(TDIBX& copy, TCustomDIBX& picture, std::int32_t width, std::int32_t height) {
  if (copy.Width() != width || copy.Height() != height || copy.BitCount() != 32) copy.SetSize(width, height, 32);
  copy.ResetClip();
  copy.Fill(0);
  copy.Draw(0, 0, picture, picture.Bounds());
}

}  // namespace

TCustomWipe::TCustomWipe(TCustomDIBX& destination, TCustomDIBX& to, TCustomDIBX& from)
    : destination_(destination), to_(to), from_(from), from_view_(&from), to_view_(&to), canvas_(&destination) {}

TCustomWipe::~TCustomWipe() = default;

std::int32_t TCustomWipe::GetParam(int index) const { return index == 0 || index == 1 ? params_[index] : 0; }

void TCustomWipe::SetParam(int index, std::int32_t value) {
  if (index == 0 || index == 1) params_[index] = value;
}

void TCustomWipe::Prepare() {
  prepared_ = true;
  RefreshPictures();
}

void TCustomWipe::SetPosition(std::int32_t position) { position_ = std::clamp(position, 0, std::max(duration_, 0)); }

std::int64_t TCustomWipe::Progress(std::int64_t range) const {
  return duration_ > 0 ? range * position_ / duration_ : range;
}

void TCustomWipe::RefreshPictures() {
  width_ = destination_.Width();
  height_ = destination_.Height();
  destination_rect_ = {0, 0, width_, height_};
  from_view_ = &from_;
  to_view_ = &to_;
  canvas_ = &destination_;
  if (NeedsCopy(from_, width_, height_)) {
    CopyOver(from_copy_, from_, width_, height_);
    from_view_ = &from_copy_;
  }
  if (NeedsCopy(to_, width_, height_)) {
    CopyOver(to_copy_, to_, width_, height_);
    to_view_ = &to_copy_;
  }
  if (destination_.BitCount() != 32) {
    if (canvas_copy_.Width() != width_ || canvas_copy_.Height() != height_) canvas_copy_.SetSize(width_, height_, 32);
    canvas_ = &canvas_copy_;
  }
}

bool TCustomWipe::Step() {
  drew_ = false;
  if (duration_ <= 0 || position_ >= duration_) return true;
  if (!prepared_) Prepare();
  RefreshPictures();
  if (width_ <= 0 || height_ <= 0) return false;
  position_ = std::max(position_, 0);
  destination_.ResetClip();
  destination_.AddClipRect(destination_rect_);
  canvas_->ResetClip();
  drew_ = true;
  DrawStep();
  if (drew_ && canvas_ != &destination_) destination_.Draw(0, 0, *canvas_, canvas_->Bounds());
  return false;
}

// ---- mask kinds

std::uint8_t RampValue(std::int64_t progress, std::int64_t delay, std::int64_t ramp) {
  if (progress < delay) return 0;
  return static_cast<std::uint8_t>(std::min<std::int64_t>(255, (progress - delay) * 255 / std::max<std::int64_t>(ramp, 1)));
}

void TWipeMask::SetParam(int index, std::int32_t value) {
  if (index == 0) value = std::max(value, 2);
  if (index == 1) value = std::max(value, 1);
  TCustomWipe::SetParam(index, value);
}

void TWipeMask::Prepare() {
  TCustomWipe::Prepare();
  mask_rows_ = std::max(1, MaskHeight());
  mask_.assign(static_cast<std::size_t>(std::max(W(), 0)) * static_cast<std::size_t>(mask_rows_), 0);
  last_progress_ = -1;
}

std::uint8_t TWipeMask::MaskAt(std::int32_t x, std::int32_t y) const {
  if (x < 0 || x >= W() || y < 0 || mask_rows_ <= 0 || mask_.empty()) return 0;
  return mask_[static_cast<std::size_t>(y % mask_rows_) * static_cast<std::size_t>(W()) + static_cast<std::size_t>(x)];
}

void TWipeMask::ClearMask(std::uint8_t value) { std::fill(mask_.begin(), mask_.end(), value); }

bool TWipeMask::TakeProgress(std::int64_t progress) {
  if (progress == last_progress_) return false;
  last_progress_ = progress;
  return true;
}

void TWipeMask::DrawStep() {
  if (mask_.size() != static_cast<std::size_t>(W()) * static_cast<std::size_t>(mask_rows_)) Prepare();
  if (!BuildMask()) {
    SetDrew(false);
    return;
  }
  SurfaceView out(Canvas()), from(From()), to(To());
  if (!out.Ok() || !from.Ok() || !to.Ok()) return;
  const RowKernels& kernels = ActiveKernels();
  for (std::int32_t y = 0; y < H(); ++y) {
    kernels.compose(reinterpret_cast<std::uint32_t*>(out.At(0, y)), reinterpret_cast<const std::uint32_t*>(from.At(0, y)),
                    reinterpret_cast<const std::uint32_t*>(to.At(0, y)), MaskRow(y % mask_rows_), W());
  }
}

// ---- what the player plugs in

namespace {

struct WipeEnvironment {
  MaskPictureLoader load_mask;
  std::function<void(const std::string&)> notice;
  std::uint32_t seed = 0;
};

WipeEnvironment& Environment() {
  static WipeEnvironment environment;
  return environment;
}

}  // namespace

void SetMaskPictureLoader(MaskPictureLoader loader) { Environment().load_mask = std::move(loader); }
const MaskPictureLoader& GetMaskPictureLoader() { return Environment().load_mask; }
void SetWipeNotice(std::function<void(const std::string&)> notice) { Environment().notice = std::move(notice); }
void WipeNotice(const std::string& text) {
  if (Environment().notice) Environment().notice(text);
}
void SetWipeRandomSeed(std::uint32_t seed) { Environment().seed = seed; }
std::uint32_t WipeRandomSeed() { return Environment().seed; }

}  // namespace kest
