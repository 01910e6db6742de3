#include "images/layered_loader.h"

#include "render/wipes/wipe.h"
#include "vfs/file_manager.h"

namespace kest {

DecodedImage FrameToDecodedImage(const TZelkFrame& frame) {
  const ZelkPicture& picture = frame.picture;
  DecodedImage out;
  out.width = picture.Width();
  out.height = picture.Height();
  const std::size_t count = static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height);
  out.pixels.resize(count);
  const bool indexed = picture.BitCount() <= 8;
  if (indexed) {
    out.indexes.resize(count);
    out.palette = picture.Palette();
  }
  for (std::int32_t y = 0; y < out.height; ++y)
    for (std::int32_t x = 0; x < out.width; ++x) {
      const std::size_t i = static_cast<std::size_t>(y) * static_cast<std::size_t>(out.width) + static_cast<std::size_t>(x);
      const std::uint32_t v = picture.Get(x, y);
      out.pixels[i] = picture.ToRgb(v);
      if (indexed) out.indexes[i] = static_cast<std::uint8_t>(v);
    }
  if (frame.HasMask()) {
    out.mask.resize(count);
    for (std::int32_t y = 0; y < out.height; ++y)
      std::copy_n(frame.mask.Row(y), out.width, out.mask.begin() + static_cast<std::ptrdiff_t>(y) * out.width);
  }
  out.key = frame.KeyColorRGB < 0 ? -1 : static_cast<std::int64_t>(SwapRedBlue(static_cast<std::uint32_t>(frame.KeyColorRGB)));
  out.delay_ms = frame.Delay;
  return out;
}

void RegisterLayeredImageLoader() {
  SetLayeredImageLoader([](ByteSpan data, std::int32_t identification, const std::string& source) {
    TZelkFrameList list(identification);
    list.LoadFromStream(data, source, {.first_frame_only = true});
    if (list.frames.empty()) return DecodedImage{};
    return FrameToDecodedImage(*list.frames.front());
  });
}

void RegisterMaskPictureLoader(TVrFileManager& files, std::int32_t image_seed) {
  SetMaskPictureLoader([&files, image_seed](const std::string& name, TCustomDIBX& picture) {
    if (!files.Exists(name)) return false;
    TZelkFrameList list(image_seed);
    list.LoadFromBytes(files.ReadFile(name), name, {.first_frame_only = true, .finish = true});
    if (list.frames.empty()) return false;
    picture.SetSize(1, 1, 32);
    CopyDecodedImage(FrameToDecodedImage(*list.frames.front()), picture);
    return true;
  });
}

}  // namespace kest
