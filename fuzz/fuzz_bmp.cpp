// Feeds the Windows bitmap decoder arbitrary bytes: any error must be a FormatError, and no input
// may crash it, overflow, or allocate beyond what the data can hold.

#include "core/errors.h"
#include "fuzz_target.h"
#include "render/dibx.h"
#include "render/image_codec.h"
#include "support/image_writers.h"

std::vector<kest::Bytes> KestFuzzSeeds() {
  std::vector<kest::Bytes> seeds;
  for (const int bits : {8, 16, 32}) {
    kest::TDIBX surface(7, 3, bits);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 7; ++x) surface.SetPixel(x, y, static_cast<std::uint32_t>(x * 37 + y * 101));
    seeds.push_back(kest::EncodeBmp24(surface));
  }
  seeds.push_back({'B', 'M'});
  // Run-length coded rows (runs, literal groups, end of line, delta, end of bitmap), 5-5-5,
  // bit fields in a V3 and a V4 header, 32-bit alpha in V3 and V5, and an OS/2 header.
  using kest::testing::DibSpec;
  DibSpec rle8;
  rle8.width = 6;
  rle8.height = 4;
  rle8.bit_count = 8;
  rle8.compression = 1;
  rle8.palette = {0, 0x112233, 0x445566, 0x778899};
  rle8.pixels = {3, 1, 0, 3, 2, 3, 1, 0, 0, 0, 8, 2, 0, 0, 0, 2, 3, 1, 2, 3, 0, 1};
  seeds.push_back(kest::testing::WriteBmp(rle8));
  DibSpec rle4 = rle8;
  rle4.width = 5;
  rle4.height = 2;
  rle4.bit_count = 4;
  rle4.compression = 2;
  rle4.pixels = {5, 0x12, 0, 0, 0, 3, 0x34, 0x50, 4, 0x67, 0, 1};
  seeds.push_back(kest::testing::WriteBmp(rle4));
  for (const std::uint32_t header : {40u, 108u}) {
    DibSpec fields;
    fields.header_size = header;
    fields.width = 3;
    fields.height = 2;
    fields.bit_count = 16;
    fields.compression = 3;
    fields.masks = {0xF800, 0x07E0, 0x001F, 0};
    fields.pixels = {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0, 0, 0x10, 0x84, 0xFF, 0xFF, 0x00, 0x00, 0, 0};
    seeds.push_back(kest::testing::WriteBmp(fields));
    fields.compression = 0;  // 5-5-5
    seeds.push_back(kest::testing::WriteBmp(fields));
  }
  for (const std::uint32_t header : {40u, 124u}) {
    DibSpec alpha;
    alpha.header_size = header;
    alpha.width = 2;
    alpha.height = -2;
    alpha.bit_count = 32;
    alpha.compression = header == 40 ? 0 : 3;
    alpha.masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
    alpha.pixels = {1, 2, 3, 0, 4, 5, 6, 128, 7, 8, 9, 255, 10, 11, 12, 64};
    seeds.push_back(kest::testing::WriteBmp(alpha));
  }
  DibSpec os2;
  os2.header_size = 12;
  os2.width = 3;
  os2.height = 2;
  os2.bit_count = 8;
  os2.palette = {0, 0xABCDEF, 0x123456};
  os2.pixels = {1, 2, 0, 0, 2, 1, 1, 0};
  seeds.push_back(kest::testing::WriteBmp(os2));
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
