// Feeds the icon, cursor and animated-cursor decoders arbitrary bytes (RIFF data goes to the
// animated-cursor reader, the rest to the icon reader): any error must be a FormatError, and no
// input may crash them or read outside an entry.

#include <cstring>

#include "core/errors.h"
#include "fuzz_target.h"
#include "render/image_codec.h"
#include "support/image_writers.h"

std::vector<kest::Bytes> KestFuzzSeeds() {
  using namespace kest::testing;
  std::vector<std::uint32_t> pixels(16);
  for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint32_t>(i * 0x0F0E0D);
  std::vector<std::uint8_t> clear(16, 0), alpha(16, 0);
  for (std::size_t i = 0; i < 16; ++i) clear[i] = i % 5 == 0, alpha[i] = static_cast<std::uint8_t>(i * 16);
  const kest::Bytes and_masked = IconDib32(4, 4, pixels, {}, clear);
  const kest::Bytes with_alpha = IconDib32(4, 4, pixels, alpha, clear);
  DibSpec indexed;
  indexed.width = 2;
  indexed.height = 4;
  indexed.bit_count = 4;
  for (std::uint32_t i = 0; i < 16; ++i) indexed.palette.push_back(i * 0x111111);
  indexed.pixels = {0x12, 0, 0, 0, 0x34, 0, 0, 0, 0x40, 0, 0, 0, 0x80, 0, 0, 0};
  PngSpec png;
  png.width = 3;
  png.colour_type = 6;
  png.samples = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  const kest::Bytes icon = WriteIcon(1, {{4, 4, 1, 32, and_masked}, {2, 2, 1, 4, WriteDib(indexed)}});
  const kest::Bytes cursor = WriteIcon(2, {{4, 4, 1, 2, with_alpha}});
  return {icon, cursor, WriteIcon(1, {{0, 0, 1, 32, WritePng(png)}}),
          WriteAni({cursor, WriteIcon(2, {{4, 4, 0, 0, and_masked}})}, 6, {3, 9, 12}, {1, 0, 1})};
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const kest::ByteSpan bytes(data, size);
  try {
    if (size >= 4 && std::memcmp(data, "RIFF", 4) == 0)
      kest::DecodeAnimatedCursor(bytes, "fuzz.ani");
    else
      kest::DecodeIcon(bytes, "fuzz.ico");
  } catch (const kest::FormatError&) {
  }
  return 0;
}
