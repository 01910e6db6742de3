// Feeds the GIF decoder arbitrary bytes: any error must be a FormatError, and no input may crash
// it, hang, or allocate beyond the frame and pixel caps.

#include "core/errors.h"
#include "fuzz_target.h"
#include "render/image_codec.h"
#include "support/image_writers.h"

std::vector<kest::Bytes> KestFuzzSeeds() {
  using kest::testing::GifFrameSpec;
  const std::vector<std::uint32_t> palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
  std::vector<GifFrameSpec> animation(4);
  animation[0] = {0, 0, 4, 4, false, 1, -1, 10, std::vector<std::uint8_t>(16, 1)};
  animation[1] = {1, 1, 2, 2, false, 2, 3, 20, {2, 2, 2, 3}};
  animation[2] = {0, 0, 1, 1, false, 3, -1, 30, {3}, {0x123456, 0x654321}};
  animation[3] = {3, 3, 1, 1, false, 1, -1, 0, {2}};
  std::vector<std::uint8_t> rows;
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 3; ++x) rows.push_back(static_cast<std::uint8_t>((x + y) % 4));
  const GifFrameSpec interlaced{0, 0, 3, 10, true, 0, 0, 5, rows};
  return {kest::testing::WriteGif(4, 4, palette, animation), kest::testing::WriteGif(3, 10, palette, {interlaced}),
          kest::testing::WriteGif(2, 1, {}, {GifFrameSpec{1, 0, 1, 1, false, 0, -1, 0, {1}, {0, 0xFFFFFF}, false}})};
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    kest::DecodeGif(kest::ByteSpan(data, size), "fuzz.gif");
  } catch (const kest::FormatError&) {
  }
  return 0;
}
