// Windows icons, cursors and animated cursors.
//
// An icon or cursor file: reserved 0, type (1 icon, 2 cursor), entry count, then 16 bytes an
// entry (width, height with 0 meaning 256, colour count, reserved, then for icons planes and
// bit count, for cursors the hot spot's x and y, the entry's size and offset). An entry is a
// PNG picture, or a DIB whose height covers the colours and the AND mask after them.
//
// An animated cursor is a RIFF file of form "ACON": "anih" (header size, frame count, step
// count, width, height, bit count, planes, default rate in 1/60 s, flags: 1 = frames are icon
// files, 2 = a sequence is present), optional "rate" and "seq " (one 32-bit value per step),
// and a "LIST" of type "fram" holding one "icon" chunk per frame.

#include <png.h>

#include <algorithm>

#include "core/errors.h"
#include "render/codec_support.h"

namespace kest {

namespace {

constexpr std::uint16_t kIconType = 1;
constexpr std::uint16_t kCursorType = 2;
constexpr std::size_t kEntrySize = 16;
// The most steps an animated cursor may have; with kMaxImagePixels it bounds the frames kept.
constexpr std::uint32_t kMaxAnimationSteps = 4096;

bool IsPng(ByteSpan bytes) { return bytes.size() >= 8 && png_sig_cmp(bytes.data(), 0, 8) == 0; }

struct IconEntry {
  std::uint32_t width;
  std::uint32_t height;
  std::uint16_t planes_or_x;
  std::uint16_t bits_or_y;
  std::uint32_t size;
  std::uint32_t offset;
};

std::uint32_t FourCc(const char* text) {
  return static_cast<std::uint32_t>(text[0]) | (static_cast<std::uint32_t>(text[1]) << 8) |
         (static_cast<std::uint32_t>(text[2]) << 16) | (static_cast<std::uint32_t>(text[3]) << 24);
}

// `frame` on a canvas of width x height at (0, 0): cut, or padded with transparent pixels.
DecodedImage FitTo(const DecodedImage& frame, std::int32_t width, std::int32_t height) {
  if (frame.width == width && frame.height == height) return frame;
  DecodedImage out;
  out.width = width;
  out.height = height;
  out.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
  out.mask.assign(out.pixels.size(), 0);
  out.hot_spot_x = frame.hot_spot_x;
  out.hot_spot_y = frame.hot_spot_y;
  for (std::int32_t y = 0; y < std::min(height, frame.height); ++y)
    for (std::int32_t x = 0; x < std::min(width, frame.width); ++x) {
      const std::size_t from = static_cast<std::size_t>(y) * static_cast<std::size_t>(frame.width) + static_cast<std::size_t>(x);
      const std::size_t to = static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x);
      out.pixels[to] = frame.pixels[from];
      const bool clear = frame.mask.empty() ? frame.key >= 0 && frame.pixels[from] == static_cast<std::uint32_t>(frame.key)
                                            : frame.mask[from] == 0;
      out.mask[to] = frame.mask.empty() ? (clear ? 0 : 255) : frame.mask[from];
    }
  return out;
}

}  // namespace

DecodedImage DecodeIcon(ByteSpan data, const std::string& source) {
  ByteReader in(data, source);
  if (in.U16() != 0) in.Fail("icon file's first field is not 0");
  const std::uint16_t type = in.U16();
  if (type != kIconType && type != kCursorType) in.Fail("icon file type " + std::to_string(type) + " is not 1 or 2");
  const std::size_t count = in.Count(in.U16(), kEntrySize, "icon entries");
  if (count == 0) in.Fail("icon file has no entries");

  // The largest entry; among icons of one size, the deepest.
  std::size_t best = 0;
  IconEntry chosen{};
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t at = in.Position();
    IconEntry e{};
    e.width = in.U8();
    e.height = in.U8();
    in.Skip(2);
    e.planes_or_x = in.U16();
    e.bits_or_y = in.U16();
    e.size = in.U32();
    e.offset = in.U32();
    if (e.width == 0) e.width = 256;
    if (e.height == 0) e.height = 256;
    if (e.offset > data.size() || e.size > data.size() - e.offset || e.size == 0) {
      in.Seek(at);
      in.Fail("icon entry " + std::to_string(i) + " of " + std::to_string(e.size) + " bytes at " +
              std::to_string(e.offset) + " lies outside the file of " + std::to_string(data.size()) + " bytes");
    }
    const auto area = [](const IconEntry& x) { return std::uint64_t{x.width} * x.height; };
    const bool larger = i == 0 || area(e) > area(chosen) ||
                        (area(e) == area(chosen) && type == kIconType && e.bits_or_y > chosen.bits_or_y);
    if (larger) best = i, chosen = e;
  }

  const ByteSpan entry = data.subspan(chosen.offset, chosen.size);
  const std::string entry_source = source + " (entry " + std::to_string(best) + ")";
  DecodedImage image;
  if (IsPng(entry)) {
    image = DecodePng(entry, entry_source);
  } else {
    ByteReader dib(entry, entry_source);
    DibOptions options;
    options.icon = true;
    image = DecodeDib(dib, options);
  }
  if (type == kCursorType) {
    image.hot_spot_x = std::min<std::int32_t>(chosen.planes_or_x, image.width - 1);
    image.hot_spot_y = std::min<std::int32_t>(chosen.bits_or_y, image.height - 1);
  }
  return image;
}

DecodedImage DecodeAnimatedCursor(ByteSpan data, const std::string& source) {
  ByteReader in(data, source);
  if (in.U32() != FourCc("RIFF")) in.Fail("not a RIFF file");
  const std::uint32_t riff_size = in.U32();
  if (in.U32() != FourCc("ACON")) in.Fail("RIFF form is not \"ACON\"");
  const std::size_t end = std::min<std::size_t>(data.size(), std::size_t{8} + riff_size);

  bool have_header = false;
  std::uint32_t frame_count = 0, step_count = 0, default_rate = 0, flags = 0;
  std::vector<std::uint32_t> rates, sequence;
  std::vector<ByteSpan> icons;
  std::vector<std::size_t> icon_offsets;
  while (in.Position() + 8 <= end) {
    const std::uint32_t id = in.U32();
    const std::uint32_t size = in.U32();
    const std::size_t body_at = in.Position();
    const ByteSpan body = in.Take(size);
    ByteReader chunk(body, source);
    if (id == FourCc("anih")) {
      if (size < 36) in.Fail("\"anih\" chunk of " + std::to_string(size) + " bytes is shorter than 36");
      chunk.Skip(4);
      frame_count = chunk.U32();
      step_count = chunk.U32();
      chunk.Skip(16);  // width, height, bit count, planes
      default_rate = chunk.U32();
      flags = chunk.U32();
      have_header = true;
    } else if (id == FourCc("rate") || id == FourCc("seq ")) {
      std::vector<std::uint32_t>& values = id == FourCc("rate") ? rates : sequence;
      values.resize(chunk.Count(size / 4, 4, "animation steps"));
      for (auto& v : values) v = chunk.U32();
    } else if (id == FourCc("LIST") && size >= 4 && chunk.U32() == FourCc("fram")) {
      while (chunk.Remaining() >= 8) {
        const std::uint32_t sub = chunk.U32();
        const std::uint32_t sub_size = chunk.U32();
        const std::size_t sub_at = body_at + chunk.Position();
        const ByteSpan sub_body = chunk.Take(sub_size);
        if (sub == FourCc("icon")) icons.push_back(sub_body), icon_offsets.push_back(sub_at);
        if ((sub_size & 1u) != 0 && chunk.Remaining() > 0) chunk.Skip(1);
      }
    }
    if ((size & 1u) != 0 && in.Position() < end) in.Skip(1);  // chunks are padded to even sizes
  }
  if (!have_header) in.Fail("animated cursor has no \"anih\" chunk");
  if ((flags & 1u) == 0) in.Fail("animated cursor frames that are not icon files are not supported");
  if (icons.empty() || frame_count == 0) in.Fail("animated cursor has no frames");
  if (icons.size() < frame_count) frame_count = static_cast<std::uint32_t>(icons.size());
  if (step_count == 0) step_count = frame_count;
  if ((flags & 2u) == 0) sequence.clear();
  if (step_count > kMaxAnimationSteps)
    in.Fail("animated cursor has " + std::to_string(step_count) + " steps, more than " +
            std::to_string(kMaxAnimationSteps));

  std::vector<DecodedImage> frames;
  std::int64_t decoded_pixels = 0;
  for (std::uint32_t i = 0; i < frame_count; ++i) {
    frames.push_back(DecodeIcon(icons[i], source + " (frame " + std::to_string(i) + " at " +
                                              std::to_string(icon_offsets[i]) + ")"));
    decoded_pixels += std::int64_t{frames.back().width} * frames.back().height;
    if (decoded_pixels > kMaxImagePixels)
      throw FormatError(source, icon_offsets[i],
                        "animated cursor frames up to " + std::to_string(i) + " have more than " +
                            std::to_string(kMaxImagePixels) + " pixels");
  }
  const std::int32_t width = frames.front().width, height = frames.front().height;
  if (static_cast<std::int64_t>(step_count) * width * height > kMaxImagePixels)
    in.Fail("animated cursor of " + std::to_string(step_count) + " steps at " + std::to_string(width) + " x " +
            std::to_string(height) + " has more than " + std::to_string(kMaxImagePixels) + " pixels");

  DecodedImage image;
  for (std::uint32_t step = 0; step < step_count; ++step) {
    const std::uint32_t index = step < sequence.size() ? sequence[step] : step % frame_count;
    if (index >= frame_count)
      in.Fail("animated cursor step " + std::to_string(step) + " names frame " + std::to_string(index) + " of " +
              std::to_string(frame_count));
    DecodedImage frame = FitTo(frames[index], width, height);
    const std::uint32_t jiffies = step < rates.size() ? rates[step] : default_rate;
    frame.delay_ms = static_cast<std::int32_t>(std::min<std::uint64_t>(std::uint64_t{jiffies} * 1000 / 60, INT32_MAX));
    if (step == 0)
      image = std::move(frame);
    else
      image.next_frames.push_back(std::move(frame));
  }
  return image;
}

}  // namespace kest
