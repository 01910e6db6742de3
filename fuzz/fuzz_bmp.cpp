// Feeds the Windows bitmap decoder arbitrary bytes: any error must be a FormatError, and no input
// may crash it, overflow, or allocate beyond what the data can hold.

#include "core/errors.h"
#include "fuzz_target.h"
#include "render/dibx.h"
#include "render/image_codec.h"

std::vector<kest::Bytes> KestFuzzSeeds() {
  std::vector<kest::Bytes> seeds;
  for (const int bits : {8, 16, 32}) {
    kest::TDIBX surface(7, 3, bits);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 7; ++x) surface.SetPixel(x, y, static_cast<std::uint32_t>(x * 37 + y * 101));
    seeds.push_back(kest::EncodeBmp24(surface));
  }
  seeds.push_back({'B', 'M'});
  return seeds;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    kest::TDIBX surface(1, 1, 32);
    surface.LoadFromStream(kest::ByteSpan(data, size), 0, "fuzz.bmp");
  } catch (const kest::FormatError&) {
  } catch (const kest::KestError&) {
    // Layered images have no loader in this program.
  }
  return 0;
}
