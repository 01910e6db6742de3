// Feeds the layered image reader arbitrary bytes, then finishes, trims, writes and reads back
// what it read: any error must be a FormatError, and the round trip must give the same frames.

#include <cstdlib>

#include "core/errors.h"
#include "fuzz_target.h"
#include "images/zelk.h"
#include "images/zelk_fixture.h"

namespace {

constexpr std::int32_t kCode = 12341;

kest::ZelkPicture Noise(std::int32_t w, std::int32_t h, int bits, std::uint32_t seed) {
  std::vector<std::uint32_t> palette;
  if (bits <= 8)
    for (std::uint32_t i = 0; i < (1u << bits); ++i) palette.push_back(i * 0x010203u);
  const std::uint32_t mask = bits >= 24 ? 0xFFFFFFu : bits == 16 ? 0xFFFFu : (1u << bits) - 1;
  return kest::MakeZelkPicture(w, h, bits, [&](std::int32_t x, std::int32_t y) {
    return ((static_cast<std::uint32_t>(x) * 7 + static_cast<std::uint32_t>(y) * 13 + seed) * 2654435761u >> 8) & mask;
  }, palette);
}

kest::Bytes Seed(int version, int bits, kest::ZelkCompression kind, bool scrambled, std::int32_t tile) {
  kest::ZelkFileSpec spec;
  spec.version = version;
  spec.identification = kCode;
  spec.scrambled = scrambled;
  spec.compression = kind;
  spec.tile_width = tile;
  spec.tile_height = tile;
  spec.first_layer_opaque = true;
  for (int f = 0; f < 2; ++f) {
    const kest::ZelkPicture picture = Noise(9, 7, bits, static_cast<std::uint32_t>(f));
    kest::ZelkFrameSpec frame;
    frame.width = 9;
    frame.height = 7;
    frame.bit_count = bits;
    frame.palette = picture.Palette();
    frame.key = 1;
    frame.regions = {{1, 1, 4, 4}};
    kest::ZelkLayerSpec base;
    base.picture = picture;
    base.mask = Noise(9, 7, 8, 3);
    base.mask.Palette().clear();
    base.use_mask = true;
    kest::ZelkLayerSpec over;
    over.picture = Noise(9, 7, bits, 5);
    over.opacity = 100;
    over.key = 2;
    if (tile > 0) {
      base.picture_tiles = {kest::kLiteralTile, kest::kLiteralTile, kest::kLiteralTile, {-2, 0}};
      over.picture_tiles = {{f, 0}};
    }
    frame.layers = {base, over};
    spec.frames.push_back(frame);
  }
  return kest::WriteZelkFile(spec);
}

}  // namespace

std::vector<kest::Bytes> KestFuzzSeeds() {
  using kest::ZelkCompression;
  return {Seed(106, 32, ZelkCompression::Zlib, false, 0),  Seed(106, 24, ZelkCompression::None, true, 3),
          Seed(106, 8, ZelkCompression::Zlib, true, 2),    Seed(106, 4, ZelkCompression::None, false, 3),
          Seed(105, 1, ZelkCompression::None, false, 0),   Seed(104, 16, ZelkCompression::Zlib, false, 2),
          Seed(106, 24, ZelkCompression::Jpeg, false, 0),  Seed(102, 8, ZelkCompression::Zlib, false, 0),
          Seed(100, 32, ZelkCompression::Zlib, false, 0),  Seed(0, 24, ZelkCompression::Zlib, false, 0)};
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const kest::ByteSpan input(data, size);
  try {
    kest::TZelkFrameList first(kCode);
    first.LoadFromStream(input, "fuzz.zel", {.first_frame_only = true});
    kest::TZelkFrameList list(kCode);
    list.LoadFromStream(input, "fuzz.zel");
    list.target_bit_count = 32;
    for (auto& frame : list.frames) {
      list.Finish(*frame);
      kest::TZelkFrameList::Trim(*frame);
    }
    const kest::Bytes written = list.Write();
    kest::TZelkFrameList back(kCode);
    back.LoadFromStream(written, "written.zel");
    if (back.frames.size() != list.frames.size()) std::abort();
    for (std::size_t i = 0; i < list.frames.size(); ++i)
      if (back.frames[i]->picture != list.frames[i]->picture || back.frames[i]->mask != list.frames[i]->mask)
        std::abort();
  } catch (const kest::FormatError&) {
  }
  return 0;
}
