#include "image_tool.h"

#include <png.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>

#include "core/cp932.h"
#include "json_text.h"
#include "core/errors.h"
#include "render/image_codec.h"

namespace kest::tool {

namespace {

std::string Bool(bool b) { return b ? "true" : "false"; }

std::string RectsJson(const std::vector<Rect>& rects) {
  std::string out = "[";
  for (std::size_t i = 0; i < rects.size(); ++i) {
    const Rect& r = rects[i];
    out += (i ? ", " : "") + std::string("[") + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " +
           std::to_string(r.right) + ", " + std::to_string(r.bottom) + "]";
  }
  return out + "]";
}

const char* KindName(ZelkBlockInfo::Kind kind) {
  switch (kind) {
    case ZelkBlockInfo::Kind::Zlib: return "zlib";
    case ZelkBlockInfo::Kind::Raw: return "raw";
    default: return "jpeg";
  }
}

std::string BlockJson(const std::optional<ZelkBlockInfo>& block) {
  if (!block) return "null";
  std::string out = "{\"kind\": \"" + std::string(KindName(block->kind)) + "\", \"size\": " + std::to_string(block->size) +
                    ", \"tiles\": ";
  if (block->tiled)
    out += "{\"literal\": " + std::to_string(block->literal_tiles) + ", \"same_layer\": " +
           std::to_string(block->same_layer_tiles) + ", \"other_layer\": " + std::to_string(block->other_layer_tiles) + "}";
  else
    out += "null";
  return out + "}";
}

std::string BlockText(const std::optional<ZelkBlockInfo>& block) {
  if (!block) return "none";
  std::string out = std::string(KindName(block->kind)) + " " + std::to_string(block->size) + " bytes";
  if (block->tiled)
    out += " (tiles: " + std::to_string(block->literal_tiles) + " literal, " + std::to_string(block->same_layer_tiles) +
           " same layer, " + std::to_string(block->other_layer_tiles) + " other layer)";
  return out;
}

std::string Hex(std::int32_t value) {
  if (value == -1) return "-1";
  char text[16];
  std::snprintf(text, sizeof text, "0x%06X", static_cast<unsigned>(value));
  return text;
}

struct PngImage {
  png_image image;
  PngImage() {
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
  }
  ~PngImage() { png_image_free(&image); }
  PngImage(const PngImage&) = delete;
  PngImage& operator=(const PngImage&) = delete;
};

RgbaPicture FromDecoded(const DecodedImage& image) {
  RgbaPicture out{image.width, image.height, {}};
  out.rgba.resize(static_cast<std::size_t>(image.width) * image.height * 4);
  for (std::size_t i = 0; i < image.pixels.size(); ++i) {
    const std::uint32_t p = image.pixels[i];
    out.rgba[i * 4] = static_cast<std::uint8_t>(p >> 16);
    out.rgba[i * 4 + 1] = static_cast<std::uint8_t>(p >> 8);
    out.rgba[i * 4 + 2] = static_cast<std::uint8_t>(p);
    out.rgba[i * 4 + 3] = !image.mask.empty() ? image.mask[i]
                          : image.key >= 0 && (p & 0xFFFFFF) == static_cast<std::uint32_t>(image.key) ? 0 : 255;
  }
  return out;
}

}  // namespace

std::string DescribeLayeredImage(ByteSpan file, const std::string& name, bool json) {
  ZelkFileInfo info;
  TZelkFrameList list;
  list.LoadFromStream(file, name, {.info = &info});
  const ZelkHeader& h = info.header;
  const bool full = info.version >= 103;
  std::string out;
  if (json) {
    out += "{\"signature\": ";
    char signature[16];
    std::snprintf(signature, sizeof signature, "Zelk%03d", info.version);
    out += info.has_signature ? JsonString(signature) : "null";
    out += ", \"version\": " + std::to_string(info.version) + ", \"header\": {";
    std::vector<std::string> fields;
    if (full) {
      fields.push_back("\"size\": " + std::to_string(h.header_size));
      fields.push_back("\"width\": " + std::to_string(h.width));
      fields.push_back("\"height\": " + std::to_string(h.height));
      fields.push_back("\"bit_count\": " + std::to_string(h.bit_count));
    }
    fields.push_back("\"frame_count\": " + std::to_string(h.frame_count));
    if (full) {
      fields.push_back("\"scrambled\": " + Bool(h.scrambled));
      fields.push_back("\"compression\": " + std::to_string(static_cast<int>(h.compression)));
    }
    if (full || info.version == 102) fields.push_back("\"background\": " + std::to_string(h.background));
    if (full) {
      fields.push_back("\"tile_width\": " + std::to_string(h.tile_width));
      fields.push_back("\"tile_height\": " + std::to_string(h.tile_height));
      if (info.version >= 105) fields.push_back("\"first_layer_opaque\": " + Bool(h.first_layer_opaque));
      fields.push_back("\"jpeg_quality\": " + std::to_string(h.jpeg_quality));
    }
    for (std::size_t i = 0; i < fields.size(); ++i) out += (i ? ", " : "") + fields[i];
    out += "}, \"frames\": [";
    for (std::size_t f = 0; f < info.frames.size(); ++f) {
      const ZelkFrameInfo& frame = info.frames[f];
      out += f ? ", " : "";
      out += "{\"name\": " + JsonString(frame.name) + ", \"width\": " + std::to_string(frame.width) +
             ", \"height\": " + std::to_string(frame.height) + ", \"bit_count\": " + std::to_string(frame.bit_count) +
             ", \"key\": " + std::to_string(frame.key) + ", \"delay\": " + std::to_string(frame.delay) + ", \"palette\": [";
      for (std::size_t i = 0; i < frame.palette.size(); ++i) out += (i ? ", " : "") + std::to_string(frame.palette[i]);
      out += "], \"layers\": [";
      for (std::size_t l = 0; l < frame.layers.size(); ++l) {
        const ZelkLayerInfo& layer = frame.layers[l];
        out += l ? ", " : "";
        out += "{\"visible\": " + Bool(layer.visible) + ", \"key\": " + std::to_string(layer.key) +
               ", \"opacity\": " + std::to_string(layer.opacity) + ", \"use_mask\": " + Bool(layer.use_mask) +
               ", \"name\": " + JsonString(layer.name) + ", \"picture\": " + BlockJson(layer.picture) +
               ", \"mask\": " + BlockJson(layer.mask) + "}";
      }
      out += "], \"regions\": " + RectsJson(frame.regions) + ", \"second_rects\": " + RectsJson(frame.second_rects) + "}";
    }
    return out + "]}\n";
  }
  out += info.has_signature ? "signature Zelk, version " + std::to_string(info.version) + "\n"
                            : "no signature (version 0)\n";
  if (full) {
    out += "header " + std::to_string(h.header_size) + " bytes: " + std::to_string(h.width) + " x " +
           std::to_string(h.height) + ", " + std::to_string(h.bit_count) + " bits, " + std::to_string(h.frame_count) +
           " frames, compression " + std::to_string(static_cast<int>(h.compression)) +
           (h.scrambled ? ", scrambled" : "") + ", background " + Hex(h.background) + ", tiles " +
           std::to_string(h.tile_width) + " x " + std::to_string(h.tile_height) +
           (info.version >= 105 ? std::string(", first layer opaque ") + (h.first_layer_opaque ? "yes" : "no") : "") +
           ", JPEG quality " + std::to_string(h.jpeg_quality) + "\n";
  } else {
    out += "header: " + std::to_string(h.frame_count) + " frames" +
           (info.version == 102 ? ", background " + Hex(h.background) : "") + "\n";
  }
  for (std::size_t f = 0; f < info.frames.size(); ++f) {
    const ZelkFrameInfo& frame = info.frames[f];
    out += "frame " + std::to_string(f + 1) + " \"" + cp932::ToUtf8Lenient(frame.name) + "\": " +
           std::to_string(frame.width) + " x " + std::to_string(frame.height) + ", " + std::to_string(frame.bit_count) +
           " bits, key " + Hex(frame.key) + ", delay " + std::to_string(frame.delay) + ", " +
           std::to_string(frame.layers.size()) + " layers\n";
    for (std::size_t l = 0; l < frame.layers.size(); ++l) {
      const ZelkLayerInfo& layer = frame.layers[l];
      out += "  layer " + std::to_string(l) + " \"" + cp932::ToUtf8Lenient(layer.name) + "\": " +
             (layer.visible ? "visible" : "hidden") + ", key " + Hex(layer.key) + ", opacity " +
             std::to_string(layer.opacity) + (layer.use_mask ? ", uses its mask" : "") + "; picture " +
             BlockText(layer.picture) + "; mask " + BlockText(layer.mask) + "\n";
    }
    for (const Rect& r : frame.regions)
      out += "  region (" + std::to_string(r.left) + ", " + std::to_string(r.top) + ")-(" + std::to_string(r.right) +
             ", " + std::to_string(r.bottom) + ")\n";
    for (const Rect& r : frame.second_rects)
      out += "  second rectangle (" + std::to_string(r.left) + ", " + std::to_string(r.top) + ")-(" +
             std::to_string(r.right) + ", " + std::to_string(r.bottom) + ")\n";
  }
  return out;
}

std::vector<RgbaPicture> FramesAsRgba(ByteSpan file, const std::string& name, std::int32_t identification) {
  const std::string ext = LowerExtension(name);
  if (ext == ".png") return {DecodeRgbaPng(file, name)};
  if (ext == ".bmp" || ext == ".dib") return {FromDecoded(DecodeBmp(file, name))};
  TZelkFrameList list(identification);
  list.LoadFromStream(file, name);
  std::vector<RgbaPicture> out;
  for (const auto& frame : list.frames) {
    const ZelkPicture& picture = frame->picture;
    RgbaPicture rgba{picture.Width(), picture.Height(), {}};
    rgba.rgba.resize(static_cast<std::size_t>(rgba.width) * rgba.height * 4);
    for (std::int32_t y = 0; y < rgba.height; ++y)
      for (std::int32_t x = 0; x < rgba.width; ++x) {
        const std::uint32_t v = picture.Get(x, y);
        const std::uint32_t rgb = picture.ToRgb(v);
        std::uint8_t* p = rgba.rgba.data() + (static_cast<std::size_t>(y) * rgba.width + x) * 4;
        p[0] = static_cast<std::uint8_t>(rgb >> 16);
        p[1] = static_cast<std::uint8_t>(rgb >> 8);
        p[2] = static_cast<std::uint8_t>(rgb);
        p[3] = frame->HasMask() ? frame->mask.Row(y)[x]
               : frame->KeyColor != -1 && v == static_cast<std::uint32_t>(frame->KeyColor) ? 0 : 255;
      }
    out.push_back(std::move(rgba));
  }
  return out;
}

Bytes EncodeRgbaPng(const RgbaPicture& picture) {
  PngImage png;
  png.image.width = static_cast<png_uint_32>(picture.width);
  png.image.height = static_cast<png_uint_32>(picture.height);
  png.image.format = PNG_FORMAT_RGBA;
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&png.image, nullptr, &size, 0, picture.rgba.data(), 0, nullptr))
    throw KestError(std::string("PNG encoding: ") + png.image.message);
  Bytes out(size);
  if (!png_image_write_to_memory(&png.image, out.data(), &size, 0, picture.rgba.data(), 0, nullptr))
    throw KestError(std::string("PNG encoding: ") + png.image.message);
  out.resize(size);
  return out;
}

RgbaPicture DecodeRgbaPng(ByteSpan file, const std::string& name) {
  PngImage png;
  if (!png_image_begin_read_from_memory(&png.image, file.data(), file.size()))
    throw FormatError(name, 0, std::string("PNG header: ") + png.image.message);
  if (png.image.width == 0 || png.image.height == 0 || png.image.width > static_cast<png_uint_32>(kMaxZelkSide) ||
      png.image.height > static_cast<png_uint_32>(kMaxZelkSide) ||
      static_cast<std::int64_t>(png.image.width) * png.image.height > kMaxZelkPixels)
    throw FormatError(name, 16, "PNG size " + std::to_string(png.image.width) + " x " +
                                    std::to_string(png.image.height) + " is out of range");
  png.image.format = PNG_FORMAT_RGBA;
  RgbaPicture out{static_cast<std::int32_t>(png.image.width), static_cast<std::int32_t>(png.image.height), {}};
  out.rgba.resize(PNG_IMAGE_SIZE(png.image));
  if (!png_image_finish_read(&png.image, nullptr, out.rgba.data(), 0, nullptr))
    throw FormatError(name, 0, std::string("PNG data: ") + png.image.message);
  return out;
}

Bytes LayeredImageFromRgba(const std::vector<RgbaPicture>& pictures, const FromPngOptions& options) {
  TZelkFrameList list(options.identification);
  for (const RgbaPicture& picture : pictures) {
    auto frame = std::make_unique<TZelkFrame>();
    frame->picture.Resize(picture.width, picture.height, 24);
    ZelkPicture mask;
    mask.Resize(picture.width, picture.height, 8, false);
    bool opaque = true;
    for (std::int32_t y = 0; y < picture.height; ++y)
      for (std::int32_t x = 0; x < picture.width; ++x) {
        const std::uint8_t* p = picture.rgba.data() + (static_cast<std::size_t>(y) * picture.width + x) * 4;
        frame->picture.Set(x, y, (static_cast<std::uint32_t>(p[0]) << 16) | (p[1] << 8) | p[2]);
        mask.Row(y)[x] = p[3];
        opaque = opaque && p[3] == 255;
      }
    if (!opaque) frame->mask = std::move(mask);
    list.frames.push_back(std::move(frame));
  }
  return list.Write({.compression = options.compression,
                     .jpeg_quality = static_cast<std::uint8_t>(std::clamp(options.quality, 1, 100))});
}

}  // namespace kest::tool
