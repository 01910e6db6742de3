// The demo gallery's pictures and the transitions' mask picture.

#include "demo_files.h"
#include "gallery_pictures.h"
#include "images/zelk.h"
#include "images/zelk_fixture.h"
#include "vfs/atomic_file.h"

namespace kest::demo {

namespace {

template <typename Fill>
ZelkPicture Picture(const Place& place, int bits, Fill fill) {
  return MakeZelkPicture(place.width, place.height, bits, fill);
}

}  // namespace

void WriteGalleryFiles(const std::filesystem::path& folder, std::int32_t seed) {
  // The background, scrambled by the project's code (so stored raw).
  TZelkFrameList background(seed);
  background.frames.push_back(Frame(Picture(kBackgroundPlace, 32, BackgroundPixel)));
  WriteFileAtomically((folder / "bg.zel").string(), background.Write());

  TZelkFrameList keyed;
  keyed.frames.push_back(Frame(Picture(kKeyedPlace, 24, KeyedPixel), kKeyColour));
  WriteFileAtomically((folder / "key.zel").string(), keyed.Write());

  TZelkFrameList soft;
  auto frame = Frame(Picture(kSoftPlace, 24, SoftPixel));
  frame->mask = MakeZelkPicture(80, 80, 8, SoftMask);
  frame->mask.Palette().clear();
  soft.frames.push_back(std::move(frame));
  WriteFileAtomically((folder / "soft.zel").string(), soft.Write());

  TZelkFrameList photo;
  photo.frames.push_back(Frame(Picture(kPhotoPlace, 24, PhotoPixel)));
  WriteFileAtomically((folder / "photo.zel").string(),
                      photo.Write({.compression = ZelkCompression::Jpeg, .jpeg_quality = 90}));

  TZelkFrameList wipe_mask;
  wipe_mask.frames.push_back(Frame(MakeZelkPicture(640, 480, 24, WipeMaskPixel)));
  WriteFileAtomically((folder / "wipe_mask.zel").string(), wipe_mask.Write());

  // Two layers in 16 x 16 tiles: the checkerboard's first two tiles are literal, every other
  // tile refers to the earlier one of its colour; the band's tiles are literal.
  ZelkFileSpec layered;
  layered.compression = ZelkCompression::Zlib;
  layered.tile_width = 16;
  layered.tile_height = 16;
  ZelkFrameSpec spec;
  spec.width = kLayeredPlace.width;
  spec.height = kLayeredPlace.height;
  spec.bit_count = 32;
  ZelkLayerSpec checker;
  checker.name = "Checker";
  checker.picture = Picture(kLayeredPlace, 32, CheckerPixel);
  const std::int32_t across = spec.width / 16, down = spec.height / 16;
  for (std::int32_t t = 0; t < across * down; ++t) {
    const std::int32_t col = t % across, row = t / across;
    if (t == 0 || t == 1)
      checker.picture_tiles.push_back(kLiteralTile);
    else
      checker.picture_tiles.push_back({-2, (col + row) % 2});
  }
  ZelkLayerSpec band;
  band.name = "Band";
  band.picture = Picture(kLayeredPlace, 32, BandPixel);
  band.opacity = 128;
  band.key = 0;
  spec.layers = {checker, band};
  layered.frames = {spec};
  WriteFileAtomically((folder / "layers.zel").string(), WriteZelkFile(layered));
}

}  // namespace kest::demo
