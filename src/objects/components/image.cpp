#include "objects/components/image.h"

#include <algorithm>

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "objects/property_table.h"

namespace kest {

TKestImage::TKestImage(TKestBaseList& owner) : TKestCustomImage(owner, LT_NONE) {}

TKestImage::~TKestImage() = default;

void TKestImage::SetSource(const std::string& source) {
  Invalidate();
  list_.Clear();
  frame_ = -1;
  source_ = source;
  if (SourceKindOf(source) == SourceKind::Picture) list_.Load(Owner(), Id(), source, true);
  if (list_.Count() > 0) frame_ = 0;
  SizeFromPicture();
  Invalidate();
}

void TKestImage::ShowFrame(std::int32_t index) {
  Invalidate();
  frame_ = index;
  SizeFromPicture();
  Invalidate();
}

TCustomDIBX* TKestImage::ShownFrame() const {
  if (SurfacesReleased() || !list_.Valid(frame_)) return nullptr;
  // Below 255 the copy has 255 - Brightness subtracted.
  auto& list = const_cast<TKestImageList&>(list_);
  return list.At(frame_).Shown(brightness_ >= 255 ? 0 : brightness_ - 255);
}

TCustomDIBX* TKestImage::ShownFrameMask() const {
  if (SurfacesReleased() || !list_.Valid(frame_)) return nullptr;
  return const_cast<TKestImageList&>(list_).At(frame_).Mask();
}

void TKestImage::SetBrightness(std::int32_t brightness) {
  brightness = std::clamp(brightness, 0, 255);
  if (brightness == brightness_) return;
  Invalidate();
  brightness_ = brightness;
  Invalidate();
}

void TKestImage::ReleaseSurfaces() {
  TKestCustomImage::ReleaseSurfaces();
  list_.ReleaseCopies();
}

void TKestImage::RestoreSurfaces() {
  TKestCustomImage::RestoreSurfaces();
  const std::int32_t frame = frame_;
  SetSource(source_);
  ShowFrame(frame);
}

std::optional<PropValue> TKestImage::ReadProperty(std::uint8_t id) const {
  switch (id) {
    case PR_SOURCE: return source_;
    case PR_BRIGHTNESS: return brightness_;
    default: return TKestCustomImage::ReadProperty(id);
  }
}

void TKestImage::WriteProperty(std::uint8_t id, const PropValue& value) {
  switch (id) {
    case PR_SOURCE: SetSource(AsStr(value)); return;
    case PR_BRIGHTNESS: SetBrightness(AsInt(value)); return;
    default: TKestCustomImage::WriteProperty(id, value); return;
  }
}

void TKestImage::SaveToStream(ByteWriter& out, std::int32_t version) const {
  TKestCustomImage::SaveToStream(out, version);
  out.LString(source_);
  out.I32(brightness_);
}

void TKestImage::LoadFromStream(ByteReader& in, std::int32_t version, int depth) {
  TKestCustomImage::LoadFromStream(in, version, depth);
  const std::string source = in.LString();
  const std::int32_t brightness = in.I32();
  SetSource(source);
  SetBrightness(brightness);
  AdoptLoadedSize();
}

}  // namespace kest
