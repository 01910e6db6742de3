// Feeds the TGA decoder arbitrary bytes: any error must be a FormatError, and no input may crash
// it or allocate more pixels than its data can hold.

#include "core/errors.h"
#include "fuzz_target.h"
#include "render/image_codec.h"
#include "support/image_writers.h"

std::vector<kest::Bytes> KestFuzzSeeds() {
  using kest::testing::TgaSpec;
  std::vector<kest::Bytes> seeds;
  struct Form {
    std::uint8_t type, depth, descriptor;
  };
  for (const Form f : {Form{1, 8, 0}, Form{2, 15, 0x20}, Form{2, 16, 0x21}, Form{2, 24, 0x10}, Form{2, 32, 0x28},
                       Form{3, 8, 0}, Form{3, 16, 0x28}, Form{9, 8, 0x20}, Form{10, 16, 0x01}, Form{10, 24, 0x30},
                       Form{10, 32, 0x08}, Form{11, 8, 0}, Form{11, 16, 0x28}}) {
    TgaSpec spec;
    spec.type = f.type;
    spec.depth = f.depth;
    spec.descriptor = f.descriptor;
    spec.width = 5;
    spec.height = 3;
    spec.id = "seed";
    const std::size_t bytes = (f.depth + 7u) / 8u;
    for (std::size_t i = 0; i < 15 * bytes; ++i) spec.pixels.push_back(static_cast<std::uint8_t>(i < 12 ? 7 : i * 29));
    if (f.type == 1 || f.type == 9)
      for (std::size_t i = 0; i < 256 * 3; ++i) spec.map.push_back(static_cast<std::uint8_t>(i * 5));
    seeds.push_back(kest::testing::WriteTga(spec));
  }
  return seeds;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    kest::DecodeTga(kest::ByteSpan(data, size), "fuzz.tga");
  } catch (const kest::FormatError&) {
  }
  return 0;
}
