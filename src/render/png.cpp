// PNG pictures through libpng's progressive-free reading interface.
//
// libpng reports errors by calling its error function, which must not return. Ours leaves by
// longjmp, and the only frames it crosses are libpng's own and the two C-style steps below
// (ReadPngHeader, ReadPngRows), which hold no C++ objects; the step then returns a failure and
// the C++ caller throws FormatError. Everything that owns memory lives above those steps.

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <memory>

#include "core/errors.h"
#include "render/codec_support.h"

namespace kest {

namespace {

// Deflate expands by at most about 1032 to 1; a picture whose stored rows would need more than
// that from the bytes given cannot be genuine, and is refused before its memory is allocated.
constexpr std::uint64_t kMaxInflateRatio = 1100;
// The most memory libpng may give one ancillary chunk, and the most such chunks it keeps.
constexpr png_alloc_size_t kMaxChunkBytes = 8u << 20;
constexpr png_uint_32 kMaxCachedChunks = 1000;

// Plain data only: this is what the C-style steps and libpng's callbacks touch.
struct PngSource {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t position;
  char message[200];
};

struct PngHeader {
  png_uint_32 width;
  png_uint_32 height;
  int bit_depth;
  int colour_type;
  int interlace;
  std::size_t stored_row_bytes;
  // Single-colour transparency from tRNS, as it is stored.
  int has_trns;
  png_color_16 trns_colour;
  int palette_size;
  png_color palette[256];
  int trns_count;
  png_byte trns_alpha[256];
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t length) {
  PngSource* source = static_cast<PngSource*>(png_get_io_ptr(png));
  if (length > source->size - source->position) png_error(png, "the data ends inside a chunk");
  std::memcpy(out, source->data + source->position, length);
  source->position += length;
}

void OnError(png_structp png, png_const_charp message) {
  PngSource* source = static_cast<PngSource*>(png_get_error_ptr(png));
  std::strncpy(source->message, message != nullptr ? message : "unknown error", sizeof source->message - 1);
  source->message[sizeof source->message - 1] = '\0';
  png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

// Reads the chunks up to the pixels and sets the transforms to 8-bit RGBA. Returns 0 on error.
int ReadPngHeader(png_structp png, png_infop info, PngHeader* header) {
  if (setjmp(png_jmpbuf(png)) != 0) return 0;
  png_set_user_limits(png, static_cast<png_uint_32>(kMaxImageSide), static_cast<png_uint_32>(kMaxImageSide));
  png_set_chunk_malloc_max(png, kMaxChunkBytes);
  png_set_chunk_cache_max(png, kMaxCachedChunks);
  png_read_info(png, info);
  png_get_IHDR(png, info, &header->width, &header->height, &header->bit_depth, &header->colour_type,
               &header->interlace, nullptr, nullptr);
  header->stored_row_bytes = png_get_rowbytes(png, info);
  header->has_trns = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
  if (header->colour_type == PNG_COLOR_TYPE_PALETTE) {
    png_colorp palette = nullptr;
    if (png_get_PLTE(png, info, &palette, &header->palette_size) != 0 && header->palette_size <= 256)
      std::memcpy(header->palette, palette, sizeof(png_color) * static_cast<std::size_t>(header->palette_size));
    else
      header->palette_size = 0;
  }
  if (header->has_trns) {
    png_bytep alpha = nullptr;
    png_color_16p colour = nullptr;
    png_get_tRNS(png, info, &alpha, &header->trns_count, &colour);
    if (colour != nullptr) header->trns_colour = *colour;
    if (alpha != nullptr && header->trns_count > 0 && header->trns_count <= 256)
      std::memcpy(header->trns_alpha, alpha, static_cast<std::size_t>(header->trns_count));
    else
      header->trns_count = 0;
  }
  // Stored samples: no gamma, no colour profile. Everything becomes R, G, B, A at 8 bits.
  png_set_expand(png);
  png_set_scale_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != static_cast<std::size_t>(header->width) * 4)
    png_error(png, "unexpected row layout after the transforms");
  return 1;
}

// Reads every row (all passes of an interlaced picture). Returns 0 on error.
int ReadPngRows(png_structp png, png_bytepp rows) {
  if (setjmp(png_jmpbuf(png)) != 0) return 0;
  png_read_image(png, rows);
  return 1;
}

class PngReadStruct {
 public:
  explicit PngReadStruct(PngSource* source) {
    png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, source, OnError, OnWarning);
    if (png_ != nullptr) info_ = png_create_info_struct(png_);
    if (png_ != nullptr) png_set_read_fn(png_, source, ReadFromMemory);
  }
  ~PngReadStruct() { png_destroy_read_struct(&png_, info_ != nullptr ? &info_ : nullptr, nullptr); }
  PngReadStruct(const PngReadStruct&) = delete;
  PngReadStruct& operator=(const PngReadStruct&) = delete;
  bool Ok() const { return png_ != nullptr && info_ != nullptr; }
  png_structp Png() const { return png_; }
  png_infop Info() const { return info_; }

 private:
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
};

// True when the file's transparency is one fully transparent colour: a grey or RGB tRNS
// colour, or one palette entry at alpha 0 whose colour no other entry has, the others at 255.
bool TransparencyIsOneColour(const PngHeader& header) {
  if (!header.has_trns) return false;
  if (header.colour_type == PNG_COLOR_TYPE_GRAY || header.colour_type == PNG_COLOR_TYPE_RGB) return true;
  if (header.colour_type != PNG_COLOR_TYPE_PALETTE) return false;
  int clear = -1;
  for (int i = 0; i < header.trns_count && i < header.palette_size; ++i) {
    if (header.trns_alpha[i] == 255) continue;
    if (header.trns_alpha[i] != 0 || clear >= 0) return false;
    clear = i;
  }
  if (clear < 0) return false;
  const png_color c = header.palette[clear];
  for (int i = 0; i < header.palette_size; ++i)
    if (i != clear && header.palette[i].red == c.red && header.palette[i].green == c.green &&
        header.palette[i].blue == c.blue)
      return false;
  return true;
}

}  // namespace

DecodedImage DecodePng(ByteSpan data, const std::string& source) {
  if (data.size() < 8 || png_sig_cmp(data.data(), 0, 8) != 0) throw FormatError(source, 0, "not a PNG picture");
  PngSource input{data.data(), data.size(), 0, {}};
  PngReadStruct png(&input);
  if (!png.Ok()) throw FormatError(source, 0, "PNG: libpng could not start");
  auto header = std::make_unique<PngHeader>();
  std::memset(header.get(), 0, sizeof(PngHeader));
  if (ReadPngHeader(png.Png(), png.Info(), header.get()) == 0)
    throw FormatError(source, input.position, std::string("PNG header: ") + input.message);
  CheckImageSize(source, 16, header->width, header->height, "PNG size");
  const std::uint64_t stored = static_cast<std::uint64_t>(header->height) * (header->stored_row_bytes + 1);
  if (stored > static_cast<std::uint64_t>(data.size()) * kMaxInflateRatio + 65536)
    throw FormatError(source, 16, "PNG size " + std::to_string(header->width) + " x " +
                                      std::to_string(header->height) + " is more than its " +
                                      std::to_string(data.size()) + " bytes can hold");

  const std::size_t width = header->width, height = header->height;
  std::vector<std::uint8_t> rgba(width * height * 4);
  std::vector<png_bytep> rows(height);
  for (std::size_t y = 0; y < height; ++y) rows[y] = rgba.data() + y * width * 4;
  if (ReadPngRows(png.Png(), rows.data()) == 0)
    throw FormatError(source, input.position, std::string("PNG data: ") + input.message);

  DecodedImage out;
  out.width = static_cast<std::int32_t>(width);
  out.height = static_cast<std::int32_t>(height);
  out.pixels.resize(width * height);
  std::vector<std::uint8_t> alpha(width * height);
  bool binary = true;
  for (std::size_t i = 0; i < out.pixels.size(); ++i) {
    const std::uint8_t* p = rgba.data() + i * 4;
    out.pixels[i] = (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2];
    alpha[i] = p[3];
    binary = binary && (p[3] == 0 || p[3] == 255);
  }
  if (binary && TransparencyIsOneColour(*header)) {
    // The key is the colour of the transparent pixels, if it is one colour that no opaque pixel
    // shares (16-bit samples scaled to 8 can make two stored colours one).
    std::int64_t key = -1;
    bool single = true;
    for (std::size_t i = 0; i < alpha.size() && single; ++i)
      if (alpha[i] == 0) {
        if (key < 0) key = out.pixels[i];
        single = key == out.pixels[i];
      }
    for (std::size_t i = 0; i < alpha.size() && single && key >= 0; ++i)
      single = !(alpha[i] == 255 && out.pixels[i] == static_cast<std::uint32_t>(key));
    if (single) {
      out.key = key;
      return out;
    }
  }
  SetMaskFromAlpha(out, std::move(alpha), AllZeroAlpha::Transparent);
  return out;
}

}  // namespace kest
