// Writes the demo gallery's pictures (and the transitions' mask picture) into the compiled demo title: `make_gallery_pictures DIR`
// reads DIR/kest.kpb for the identification code that scrambles the background.

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

#include "gallery_pictures.h"
#include "images/zelk.h"
#include "images/zelk_fixture.h"
#include "scenario/project_file.h"
#include "vfs/atomic_file.h"

namespace {

using namespace kest;

std::unique_ptr<TZelkFrame> Frame(ZelkPicture picture, std::int32_t key = -1) {
  auto frame = std::make_unique<TZelkFrame>();
  frame->picture = std::move(picture);
  frame->KeyColor = key;
  frame->UpdateKeyColorRgb();
  return frame;
}

template <typename Fill>
ZelkPicture Picture(const demo::Place& place, int bits, Fill fill) {
  return MakeZelkPicture(place.width, place.height, bits, fill);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_gallery_pictures TITLE_FOLDER\n";
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  try {
    std::ifstream in(folder / "kest.kpb", std::ios::binary);
    const Bytes project_bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::int32_t seed = ReadProjectFile(project_bytes, "kest.kpb").ImageSeed;

    // The background, scrambled by the project's code (so stored raw).
    TZelkFrameList background(seed);
    background.frames.push_back(Frame(Picture(demo::kBackgroundPlace, 32, demo::BackgroundPixel)));
    WriteFileAtomically((folder / "bg.zel").string(), background.Write());

    TZelkFrameList keyed;
    keyed.frames.push_back(Frame(Picture(demo::kKeyedPlace, 24, demo::KeyedPixel), demo::kKeyColour));
    WriteFileAtomically((folder / "key.zel").string(), keyed.Write());

    TZelkFrameList soft;
    auto frame = Frame(Picture(demo::kSoftPlace, 24, demo::SoftPixel));
    frame->mask = MakeZelkPicture(80, 80, 8, demo::SoftMask);
    frame->mask.Palette().clear();
    soft.frames.push_back(std::move(frame));
    WriteFileAtomically((folder / "soft.zel").string(), soft.Write());

    TZelkFrameList photo;
    photo.frames.push_back(Frame(Picture(demo::kPhotoPlace, 24, demo::PhotoPixel)));
    WriteFileAtomically((folder / "photo.zel").string(),
                        photo.Write({.compression = ZelkCompression::Jpeg, .jpeg_quality = 90}));

    TZelkFrameList wipe_mask;
    wipe_mask.frames.push_back(Frame(MakeZelkPicture(640, 480, 24, demo::WipeMaskPixel)));
    WriteFileAtomically((folder / "wipe_mask.zel").string(), wipe_mask.Write());

    // Two layers in 16 x 16 tiles: the checkerboard's first two tiles are literal, every other
    // tile refers to the earlier one of its colour; the band's tiles are literal.
    ZelkFileSpec layered;
    layered.compression = ZelkCompression::Zlib;
    layered.tile_width = 16;
    layered.tile_height = 16;
    ZelkFrameSpec spec;
    spec.width = demo::kLayeredPlace.width;
    spec.height = demo::kLayeredPlace.height;
    spec.bit_count = 32;
    ZelkLayerSpec checker;
    checker.name = "Checker";
    checker.picture = Picture(demo::kLayeredPlace, 32, demo::CheckerPixel);
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
    band.picture = Picture(demo::kLayeredPlace, 32, demo::BandPixel);
    band.opacity = 128;
    band.key = 0;
    spec.layers = {checker, band};
    layered.frames = {spec};
    WriteFileAtomically((folder / "layers.zel").string(), WriteZelkFile(layered));
  } catch (const std::exception& error) {
    std::cerr << "make_gallery_pictures: " << error.what() << "\n";
    return 1;
  }
  return 0;
}
