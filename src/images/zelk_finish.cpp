// After reading: key masks, finishing, trimming, copying into surfaces, and the loading of the
// other picture formats into a frame list.

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <iterator>

#include "core/errors.h"
#include "images/zelk.h"
#include "render/image_codec.h"
#include "render/row_kernels.h"
#include "render/surface.h"

namespace kest {

namespace {

void MakeKeyMask(TZelkFrame& frame) {
  const ZelkPicture& picture = frame.picture;
  frame.mask.Resize(picture.Width(), picture.Height(), 8, false);
  const std::uint32_t key = static_cast<std::uint32_t>(frame.KeyColor);
  for (std::int32_t y = 0; y < picture.Height(); ++y) {
    std::uint8_t* row = frame.mask.Row(y);
    for (std::int32_t x = 0; x < picture.Width(); ++x) row[x] = picture.Get(x, y) == key ? 0 : 255;
  }
}

// Converts the picture to `bits` (15, 16, 24 or 32); the key becomes the converted value of the
// first pixel (in row order) that had it, or -1 when no pixel has it.
void Convert(TZelkFrame& frame, int bits) {
  const ZelkPicture& from = frame.picture;
  ZelkPicture to;
  to.Resize(from.Width(), from.Height(), bits);
  bool key_found = false;
  std::uint32_t new_key = 0;
  const std::uint32_t key = static_cast<std::uint32_t>(frame.KeyColor);
  for (std::int32_t y = 0; y < from.Height(); ++y)
    for (std::int32_t x = 0; x < from.Width(); ++x) {
      const std::uint32_t v = from.Get(x, y);
      const std::uint32_t converted = to.FromRgb(from.ToRgb(v));
      to.Set(x, y, converted);
      if (frame.KeyColor != -1 && !key_found && v == key) {
        key_found = true;
        new_key = converted;
      }
    }
  frame.picture = std::move(to);
  frame.KeyColor = key_found ? static_cast<std::int32_t>(new_key) : -1;
  frame.UpdateKeyColorRgb();
}

std::unique_ptr<TZelkFrame> FrameFromDecoded(const DecodedImage& image, std::size_t number) {
  auto frame = std::make_unique<TZelkFrame>();
  frame->name = "Frame" + std::to_string(number);
  frame->picture.Resize(image.width, image.height, 24);
  for (std::int32_t y = 0; y < image.height; ++y)
    for (std::int32_t x = 0; x < image.width; ++x)
      frame->picture.Set(x, y, image.pixels[static_cast<std::size_t>(y) * image.width + x] & 0x00FFFFFF);
  if (!image.mask.empty()) {
    frame->mask.Resize(image.width, image.height, 8, false);
    for (std::int32_t y = 0; y < image.height; ++y)
      std::memcpy(frame->mask.Row(y), image.mask.data() + static_cast<std::size_t>(y) * image.width,
                  static_cast<std::size_t>(image.width));
  }
  frame->KeyColor = image.key < 0 ? -1 : static_cast<std::int32_t>(image.key & 0x00FFFFFF);
  frame->Delay = image.delay_ms;
  frame->UpdateKeyColorRgb();
  return frame;
}

}  // namespace

void TZelkFrameList::MakeMasks() {
  for (auto& frame : frames)
    if (!frame->HasMask() && frame->KeyColor != -1) MakeKeyMask(*frame);
}

void TZelkFrameList::Finish(TZelkFrame& frame) const {
  if (!frame.HasMask() && frame.KeyColor != -1) MakeKeyMask(frame);
  const int target = target_bit_count;
  if (target == 15 || target == 16 || target == 24 || target == 32) {
    if (frame.picture.BitCount() != target) Convert(frame, target);
  } else if (frame.picture.BitCount() <= 8) {
    Convert(frame, 24);
  }
}

Rect TZelkFrameList::Trim(TZelkFrame& frame) {
  ZelkPicture& picture = frame.picture;
  const Rect whole = picture.Bounds();
  if (!frame.HasMask() && frame.KeyColor == -1) return whole;
  const std::uint32_t key = static_cast<std::uint32_t>(frame.KeyColor);
  auto visible = [&](std::int32_t x, std::int32_t y) {
    return frame.HasMask() ? frame.mask.Row(y)[x] != 0 : picture.Get(x, y) != key;
  };
  auto column_visible = [&](std::int32_t x) {
    for (std::int32_t y = 0; y < picture.Height(); ++y)
      if (visible(x, y)) return true;
    return false;
  };
  Rect box = {0, 0, 1, 1};
  std::int32_t left = 0;
  while (left < picture.Width() && !column_visible(left)) ++left;
  if (left < picture.Width()) {
    std::int32_t right = picture.Width();
    while (!column_visible(right - 1)) --right;
    auto row_visible = [&](std::int32_t y) {
      for (std::int32_t x = left; x < right; ++x)
        if (visible(x, y)) return true;
      return false;
    };
    std::int32_t top = 0;
    while (!row_visible(top)) ++top;
    std::int32_t bottom = picture.Height();
    while (!row_visible(bottom - 1)) --bottom;
    box = {left, top, right, bottom};
  }
  if (box == whole) return whole;
  picture = picture.Crop(box);
  if (frame.HasMask()) frame.mask = frame.mask.Crop(box);
  // Regions keep the parts inside the box, in the cropped picture's coordinates.
  std::vector<Rect> kept;
  for (const Rect& r : frame.RegionRects) {
    const Rect inside = Intersect(r, box);
    if (!inside.IsEmpty()) kept.push_back(Offset(inside, -box.left, -box.top));
  }
  frame.RegionRects = std::move(kept);
  return box;
}

void TZelkFrameList::CopyToSurface(const TZelkFrame& frame, TCustomDIBX& surface) {
  const ZelkPicture& picture = frame.picture;
  // A 32-bit surface of the frame's size has no padding: every byte is written below, so it is
  // not cleared first.
  if (surface.Width() != picture.Width() || surface.Height() != picture.Height() || surface.BitCount() != 32)
    surface.SetSize(picture.Width(), picture.Height(), surface.BitCount());
  surface.region_rects = frame.RegionRects;
  surface.second_rects = frame.SecondRects;
  const int bits = surface.BitCount();
  const PixelFormat& format = surface.Format();
  std::uint8_t* const first_row = picture.Height() > 0 ? surface.PixelAddress(0, 0) : nullptr;
  if (!first_row) return;
  const std::ptrdiff_t pitch = surface.Pitch();
  const RowKernels& kernels = ActiveKernels();
  for (std::int32_t y = 0; y < picture.Height(); ++y) {
    std::uint8_t* out = first_row + y * pitch;
    if (bits == 32 && picture.BitCount() == 32) {
      // Decoded and composed 32-bit pixels have their fourth byte cleared already; the wide
      // copy keeps it so.
      kernels.copy_and(reinterpret_cast<std::uint32_t*>(out), picture.Row(y), static_cast<std::size_t>(picture.Width()),
                       0x00FFFFFF);
      continue;
    }
    if (bits == 32 && picture.BitCount() == 24) {
      const std::uint8_t* in = picture.Row(y);
      for (std::int32_t x = 0; x < picture.Width(); ++x, in += 3, out += 4) {
        out[0] = in[0];
        out[1] = in[1];
        out[2] = in[2];
        out[3] = 0;
      }
      continue;
    }
    for (std::int32_t x = 0; x < picture.Width(); ++x) {
      const std::uint32_t v = picture.Get(x, y);
      std::uint32_t native;
      if (bits == 8)
        native = picture.BitCount() <= 8 ? v : picture.ToRgb(v) & 0xFF;
      else
        native = static_cast<std::uint32_t>(ColorToNative(bits, static_cast<std::int32_t>(SwapRedBlue(picture.ToRgb(v)))));
      format.Store(out + static_cast<std::size_t>(x) * format.bytes_per_pixel, native);
    }
  }
  surface.Unlock();
}

void TZelkFrameList::CopyMask(const TZelkFrame& frame, TCustomDIBX& surface) {
  if (!frame.HasMask()) return;
  surface.SetSize(frame.mask.Width(), frame.mask.Height(), 8);
  for (std::int32_t y = 0; y < frame.mask.Height(); ++y) {
    std::uint8_t* out = surface.PixelAddress(0, y);
    if (!out) return;
    std::memcpy(out, frame.mask.Row(y), static_cast<std::size_t>(frame.mask.Width()));
  }
  surface.Unlock();
}

void TZelkFrameList::LoadFromBytes(ByteSpan data, const std::string& file_name, const ZelkLoadOptions& options) {
  frames.clear();
  const std::string ext = LowerExtension(file_name);
  if (ext == ".zel") {
    LoadFromStream(data, file_name, options);
    return;
  }
  if (!HasPictureExtension(file_name)) return;
  const DecodedImage image = DecodeImageByName(data, file_name);
  frames.push_back(FrameFromDecoded(image, 1));
  if (!options.first_frame_only)
    for (const DecodedImage& next : image.next_frames) frames.push_back(FrameFromDecoded(next, frames.size() + 1));
  version_ = 0;
  if (options.finish)
    for (auto& frame : frames) Finish(*frame);
}

void TZelkFrameList::LoadFromFile(const std::string& path, const ZelkLoadOptions& options) {
  frames.clear();
  std::ifstream file(path, std::ios::binary);
  if (!file) throw KestError(path + ": the file cannot be opened");
  const Bytes data((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  LoadFromBytes(data, path, options);
}

}  // namespace kest
