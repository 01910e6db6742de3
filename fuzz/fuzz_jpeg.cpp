// Feeds the JPEG decoder arbitrary bytes: any error must be a FormatError; libjpeg's error exit
// must never end the process.

#include "core/errors.h"
#include "fuzz_target.h"
#include "render/image_codec.h"

std::vector<kest::Bytes> KestFuzzSeeds() {
  std::vector<kest::Bytes> seeds;
  for (int quality : {10, 70, 100}) {
    std::vector<std::uint32_t> pixels(17 * 9);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint32_t>(i * 0x030507u) & 0xFFFFFF;
    seeds.push_back(kest::EncodeJpeg(17, 9, pixels, quality));
  }
  return seeds;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    kest::DecodeJpeg(kest::ByteSpan(data, size), "fuzz.jpg");
  } catch (const kest::FormatError&) {
  }
  return 0;
}
