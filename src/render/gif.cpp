// GIF pictures through giflib's record interface. The whole-file reader (DGifSlurp) would size
// every frame's raster from the file before anything could check it, so the records are read
// one by one here and each frame is checked against the screen and the caps first.
//
// Frames are composed the way animated GIFs show: each frame's pixels (all but its transparent
// index) are drawn over the screen as the previous frames left it; the result is the frame's
// picture; then its disposal applies: 0 and 1 keep the screen, 2 clears the frame's rectangle
// to transparent, 3 restores the screen to what it was before the frame.

#include <gif_lib.h>

#include <cstring>
#include <memory>

#include "core/errors.h"
#include "render/codec_support.h"

namespace kest {

namespace {

// The most frames one picture may have; with kMaxImagePixels it bounds what giflib keeps.
constexpr std::size_t kMaxGifFrames = 4096;

struct GifSource {
  ByteSpan data;
  std::size_t position = 0;
};

int ReadFromMemory(GifFileType* gif, GifByteType* out, int length) {
  GifSource* source = static_cast<GifSource*>(gif->UserData);
  const std::size_t wanted = length > 0 ? static_cast<std::size_t>(length) : 0;
  const std::size_t n = std::min(wanted, source->data.size() - source->position);
  if (n > 0) std::memcpy(out, source->data.data() + source->position, n);
  source->position += n;
  return static_cast<int>(n);
}

struct GifCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};

// The screen as the frames so far have left it: colours and coverage.
struct Screen {
  std::size_t width = 0;
  std::size_t height = 0;
  std::vector<std::uint32_t> pixels;
  std::vector<std::uint8_t> alpha;
};

// giflib's text for an error code; it has none for some codes (0 among them).
std::string GifErrorText(int error) {
  const char* text = GifErrorString(error);
  return text != nullptr ? text : "error " + std::to_string(error);
}

[[noreturn]] void Fail(const std::string& source, const GifSource& input, const std::string& what, int error) {
  throw FormatError(source, input.position, "GIF " + what + ": " + GifErrorText(error));
}

// The rows of an interlaced frame come in four passes: every 8th row from 0, every 8th from 4,
// every 4th from 2, every 2nd from 1.
std::vector<std::size_t> RowOrder(std::size_t height, bool interlaced) {
  std::vector<std::size_t> order;
  order.reserve(height);
  if (!interlaced) {
    for (std::size_t y = 0; y < height; ++y) order.push_back(y);
    return order;
  }
  constexpr std::size_t kStart[] = {0, 4, 2, 1};
  constexpr std::size_t kStep[] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass)
    for (std::size_t y = kStart[pass]; y < height; y += kStep[pass]) order.push_back(y);
  return order;
}

}  // namespace

DecodedImage DecodeGif(ByteSpan data, const std::string& source) {
  GifSource input{data};
  int error = 0;
  std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&input, ReadFromMemory, &error));
  if (!gif) throw FormatError(source, input.position, "GIF header: " + GifErrorText(error));
  CheckImageSize(source, 6, gif->SWidth, gif->SHeight, "GIF screen size");

  Screen screen;
  screen.width = static_cast<std::size_t>(gif->SWidth);
  screen.height = static_cast<std::size_t>(gif->SHeight);
  const std::size_t screen_pixels = screen.width * screen.height;
  screen.pixels.assign(screen_pixels, 0);
  screen.alpha.assign(screen_pixels, 0);

  std::vector<DecodedImage> frames;
  GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
  for (;;) {
    GifRecordType type = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR) {
      // A file that ends between records (no trailer) still holds its whole frames.
      if (input.position >= data.size() && !frames.empty()) break;
      Fail(source, input, "record", gif->Error);
    }
    if (type == TERMINATE_RECORD_TYPE) break;
    if (type == EXTENSION_RECORD_TYPE) {
      int code = 0;
      GifByteType* block = nullptr;
      if (DGifGetExtension(gif.get(), &code, &block) == GIF_ERROR) Fail(source, input, "extension", gif->Error);
      if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr && block[0] >= 4)
        DGifExtensionToGCB(block[0], block + 1, &control);
      while (block != nullptr)
        if (DGifGetExtensionNext(gif.get(), &block) == GIF_ERROR) Fail(source, input, "extension", gif->Error);
      continue;
    }
    if (type != IMAGE_DESC_RECORD_TYPE) continue;

    const std::size_t desc_at = input.position;
    if (DGifGetImageDesc(gif.get()) == GIF_ERROR) Fail(source, input, "frame header", gif->Error);
    const GifImageDesc& desc = gif->Image;
    if (desc.Width < 1 || desc.Height < 1 || desc.Left < 0 || desc.Top < 0 ||
        static_cast<std::size_t>(desc.Left) + static_cast<std::size_t>(desc.Width) > screen.width ||
        static_cast<std::size_t>(desc.Top) + static_cast<std::size_t>(desc.Height) > screen.height)
      throw FormatError(source, desc_at,
                        "GIF frame " + std::to_string(desc.Width) + " x " + std::to_string(desc.Height) + " at (" +
                            std::to_string(desc.Left) + ", " + std::to_string(desc.Top) +
                            ") does not lie inside the screen of " + std::to_string(screen.width) + " x " +
                            std::to_string(screen.height));
    if (frames.size() + 1 > kMaxGifFrames ||
        static_cast<std::int64_t>((frames.size() + 1) * screen_pixels) > kMaxImagePixels)
      throw FormatError(source, desc_at,
                        "GIF frame " + std::to_string(frames.size() + 1) + " goes past the cap of " +
                            std::to_string(kMaxGifFrames) + " frames or " + std::to_string(kMaxImagePixels) +
                            " pixels in all");

    const std::size_t fw = static_cast<std::size_t>(desc.Width), fh = static_cast<std::size_t>(desc.Height);
    std::vector<GifPixelType> raster(fw * fh);
    for (const std::size_t y : RowOrder(fh, desc.Interlace))
      if (DGifGetLine(gif.get(), raster.data() + y * fw, desc.Width) == GIF_ERROR)
        Fail(source, input, "frame data", gif->Error);

    const ColorMapObject* map = desc.ColorMap != nullptr ? desc.ColorMap : gif->SColorMap;
    const std::vector<std::uint32_t> previous = control.DisposalMode == DISPOSE_PREVIOUS ? screen.pixels
                                                                                         : std::vector<std::uint32_t>();
    const std::vector<std::uint8_t> previous_alpha =
        control.DisposalMode == DISPOSE_PREVIOUS ? screen.alpha : std::vector<std::uint8_t>();
    for (std::size_t y = 0; y < fh; ++y) {
      for (std::size_t x = 0; x < fw; ++x) {
        const int index = raster[y * fw + x];
        if (index == control.TransparentColor) continue;
        std::uint32_t rgb = 0;
        if (map != nullptr && index < map->ColorCount) {
          const GifColorType& c = map->Colors[index];
          rgb = (std::uint32_t{c.Red} << 16) | (std::uint32_t{c.Green} << 8) | c.Blue;
        }
        const std::size_t at = (static_cast<std::size_t>(desc.Top) + y) * screen.width +
                               static_cast<std::size_t>(desc.Left) + x;
        screen.pixels[at] = rgb;
        screen.alpha[at] = 255;
      }
    }

    DecodedImage frame;
    frame.width = gif->SWidth;
    frame.height = gif->SHeight;
    frame.pixels = screen.pixels;
    frame.delay_ms = control.DelayTime * 10;  // hundredths of a second
    SetMaskFromAlpha(frame, screen.alpha, AllZeroAlpha::Transparent);
    frames.push_back(std::move(frame));

    if (control.DisposalMode == DISPOSE_BACKGROUND) {
      for (std::size_t y = 0; y < fh; ++y) {
        const std::size_t at = (static_cast<std::size_t>(desc.Top) + y) * screen.width + static_cast<std::size_t>(desc.Left);
        std::fill_n(screen.pixels.begin() + static_cast<std::ptrdiff_t>(at), fw, 0u);
        std::fill_n(screen.alpha.begin() + static_cast<std::ptrdiff_t>(at), fw, std::uint8_t{0});
      }
    } else if (control.DisposalMode == DISPOSE_PREVIOUS) {
      screen.pixels = previous;
      screen.alpha = previous_alpha;
    }
    // A graphic control extension applies to the one frame that follows it.
    control = GraphicsControlBlock{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
  }
  if (frames.empty()) throw FormatError(source, input.position, "GIF picture has no frames");
  DecodedImage image = std::move(frames.front());
  for (std::size_t i = 1; i < frames.size(); ++i) image.next_frames.push_back(std::move(frames[i]));
  return image;
}

}  // namespace kest
