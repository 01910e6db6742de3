// The demo animation scene's files: an animated sprite, a sky tile, a turning arrow, the radio
// and pop buttons' pictures, the dancer and its motion file, and the buttons' pointer.

#include "animation_pictures.h"
#include "demo_files.h"
#include "images/motion.h"
#include "images/zelk_fixture.h"
#include "support/image_writers.h"
#include "vfs/atomic_file.h"

namespace kest::demo {

namespace {

void WritePicture(const std::filesystem::path& file, TZelkFrameList& list) {
  WriteFileAtomically(file.string(), list.Write());
}

// A picture of one frame.
template <typename Fill>
void WriteStill(const std::filesystem::path& file, std::int32_t width, std::int32_t height, Fill fill,
                std::int32_t key = -1) {
  TZelkFrameList list;
  list.frames.push_back(Frame(MakeZelkPicture(width, height, 24, fill), key));
  WritePicture(file, list);
}

// A picture of `count` frames of `delay` ms, frame f drawn by fill(f, x, y).
template <typename Fill>
void WriteAnimation(const std::filesystem::path& file, std::int32_t width, std::int32_t height, std::int32_t count,
                    std::int32_t delay, Fill fill, std::int32_t key = -1) {
  TZelkFrameList list;
  for (std::int32_t f = 0; f < count; ++f) {
    auto frame = Frame(MakeZelkPicture(width, height, 24, [&](std::int32_t x, std::int32_t y) { return fill(f, x, y); }),
                       key);
    frame->Delay = delay;
    list.frames.push_back(std::move(frame));
  }
  WritePicture(file, list);
}

// One leg of the dance: the dancer from its parent's end (or the start) to `to`.
MotionTrackRecord DanceLeg(std::int32_t parent, MotionPoint to, std::uint8_t curve, std::int32_t alpha,
                           std::int32_t angle, MotionPoint crop_origin, MotionPoint crop_size) {
  MotionTrackRecord leg;
  leg.kind = TrackKind::Image;
  leg.parent = parent;
  leg.length = kDanceLeg;
  leg.end_position = to;
  leg.x_curve = leg.y_curve = curve;
  leg.pivot = {kDancerSide / 2, kDancerSide / 2};
  leg.start_alpha = 255;
  leg.end_alpha = alpha;
  leg.end_angle = angle;
  leg.crop.size_start = {kDancerSide, kDancerSide};
  leg.crop.origin_end = crop_origin;
  leg.crop.size_end = crop_size;
  leg.crop.x_curve = leg.crop.y_curve = curve;
  leg.name = "dancer.zel";
  return leg;
}

// The buttons' pointer: a 20 x 20 yellow ring with a dark edge, its hot spot in the middle.
Bytes RingCursor() {
  constexpr std::int32_t kSide = 20;
  std::vector<std::uint32_t> pixels(kSide * kSide, 0);
  std::vector<std::uint8_t> transparent(kSide * kSide, 1);
  for (std::int32_t y = 0; y < kSide; ++y)
    for (std::int32_t x = 0; x < kSide; ++x) {
      const std::int32_t dx = 2 * x - 19, dy = 2 * y - 19, d = dx * dx + dy * dy;  // twice the distance, squared
      const std::size_t i = static_cast<std::size_t>(y * kSide + x);
      if (d < 19 * 19 && d >= 9 * 9) {
        transparent[i] = 0;
        pixels[i] = d >= 16 * 16 || d < 12 * 12 ? 0x202020u : 0xFFD020u;
      }
    }
  testing::IconEntrySpec entry;
  entry.width = kSide;
  entry.height = kSide;
  entry.planes_or_x = 10;  // the hot spot
  entry.bits_or_y = 10;
  entry.body = testing::IconDib32(kSide, kSide, pixels, {}, transparent);
  return testing::WriteIcon(2, {entry});
}

}  // namespace

void WriteAnimationFiles(const std::filesystem::path& folder) {
  WriteAnimation(folder / "sprite.zel", kSpriteSide, kSpriteSide, kSpriteFrames, kSpriteDelay, SpritePixel, kAnimKey);
  WriteStill(folder / "cloud.zel", kCloudWidth, kCloudHeight, CloudPixel);
  WriteStill(folder / "arrow.zel", kArrowSide, kArrowSide, ArrowPixel, kAnimKey);
  for (const auto& [name, look] : {std::pair{"radio_off.zel", RadioLook::Off}, std::pair{"radio_hover.zel", RadioLook::Hover},
                                   std::pair{"radio_on.zel", RadioLook::On}}) {
    const RadioLook chosen = look;
    WriteStill(folder / name, kRadioWidth, kRadioHeight,
               [chosen](std::int32_t x, std::int32_t y) { return RadioPixel(chosen, x, y); });
  }
  WriteStill(folder / "pop.zel", kPopWidth, kPopHeight, [](std::int32_t x, std::int32_t y) { return PopPixel(false, x, y); });
  WriteStill(folder / "pop_hover.zel", kPopWidth, kPopHeight,
             [](std::int32_t x, std::int32_t y) { return PopPixel(true, x, y); });
  WriteAnimation(folder / "pop_click.zel", kPopWidth, kPopHeight, kPopFrames, kPopDelay, PopFramePixel);
  WriteStill(folder / "dancer.zel", kDancerSide, kDancerSide, DancerPixel);

  // Positions are relative to the box that plays the motion (the header flag).
  MotionFile dance;
  dance.header.type = MotionFileType::Motion;
  dance.header.scene_size = {640, 480};
  dance.header.flag = 1;
  dance.tracks.push_back(DanceLeg(-1, kDanceCorners[1], 1, 255, 0, {0, 0}, {kDancerSide, kDancerSide}));
  dance.tracks.back().start_position = kDanceCorners[0];
  dance.tracks.push_back(DanceLeg(0, kDanceCorners[2], 2, 128, 90, {8, 8}, {16, 16}));
  dance.tracks.push_back(DanceLeg(1, kDanceCorners[0], 0, 255, 0, {0, 0}, {kDancerSide, kDancerSide}));
  WriteFileAtomically((folder / "dance.kmt").string(), WriteMotionFile(dance));

  WriteFileAtomically((folder / "ring.cur").string(), RingCursor());
}

}  // namespace kest::demo
