#include "images/motion_fixture.h"

namespace kest {

namespace {

MotionPoint P(std::int32_t seed, std::int32_t n) { return {seed * 1000 + n * 10 + 1, seed * 1000 + n * 10 + 2}; }

std::size_t UnnamedInts(TrackKind kind) {
  switch (kind) {
    case TrackKind::Label: return 3;
    case TrackKind::Box: return 8;
    case TrackKind::Tile: return 10;
    case TrackKind::Particle: return 15;
    case TrackKind::Fire: return 1;
    default: return 0;
  }
}
std::size_t UnnamedBytes(TrackKind kind) {
  switch (kind) {
    case TrackKind::Label: return 3;
    case TrackKind::Sound:
    case TrackKind::Tile:
    case TrackKind::Fire: return 2;
    case TrackKind::Particle: return 3;
    default: return 0;
  }
}
std::size_t UnnamedPairs(TrackKind kind) {
  return kind == TrackKind::Particle ? 6 : kind == TrackKind::Fire ? 4 : 0;
}

}  // namespace

MotionTrackRecord SampleMotionTrack(TrackKind kind, std::int32_t seed) {
  MotionTrackRecord r;
  const TrackKindTraits& traits = TraitsOf(kind);
  r.kind = kind;
  r.kind_byte = static_cast<std::uint8_t>(kind);
  r.length = 20 + 2 * seed;
  r.value = 7 + seed;
  r.cycle = 10 + 2 * seed;
  r.order = seed;
  r.flag1 = 1;
  r.flag2 = 2;
  r.plane_swap = static_cast<std::uint8_t>(seed & 1);
  if (traits.position) {
    r.start_position = P(seed, 1);
    r.end_position = P(seed, 2);
    r.x_curve = 1;
    r.y_curve = 2;
  }
  if (traits.image_part) {
    r.pivot = P(seed, 3);
    r.start_angle = -90;
    r.end_angle = 45 + seed;
    r.zoom_x_start = 0.5;
    r.zoom_x_end = 2.25;
    r.zoom_x_curve = 1;
    r.start_alpha = 10 + seed;
    r.end_alpha = 200;
    r.angle_curve = 2;
    r.zoom_y_start = 1.5;
    r.zoom_y_end = 0.75;
    r.zoom_y_curve = 2;
  }
  if (traits.crop) r.crop = {P(seed, 4), P(seed, 5), P(seed, 6), P(seed, 7), 2, 1};
  if (traits.extent) {
    r.start_extent = P(seed, 8);
    r.end_extent = P(seed, 9);
  }
  switch (kind) {
    case TrackKind::Image:
    case TrackKind::Tile: r.name = "pic" + std::to_string(seed) + ".zel"; break;
    case TrackKind::Particle: r.name = "spark.zel"; break;
    case TrackKind::Sound: r.name = "se\\bell.wav"; break;
    case TrackKind::Transition: r.name = "mask.zel"; break;
    default: break;
  }
  r.resolved_name = r.name;
  if (kind == TrackKind::Label) {
    r.text = "label text";
    r.strings = {"second"};
  }
  if (kind == TrackKind::Transition) {
    r.transition_kind = 5;
    r.param0 = 11;
    r.param1 = -12;
    r.reverse = 1;
  }
  if (kind == TrackKind::Sound) {
    r.sound1_start = 1100 + seed;
    r.sound1_end = 990;
    r.sound2_start = 64;
    r.sound2_end = -30;
  }
  for (std::size_t i = 0; i < UnnamedInts(kind); ++i) r.ints.push_back(seed * 100 + static_cast<std::int32_t>(i) + 1);
  for (std::size_t i = 0; i < UnnamedBytes(kind); ++i) r.bytes.push_back(static_cast<std::uint8_t>(0x40 + i));
  for (std::size_t i = 0; i < UnnamedPairs(kind); ++i) r.pairs.push_back(P(seed, 20 + static_cast<std::int32_t>(i)));
  return r;
}

MotionFile SampleMotionFile(std::int32_t version, MotionFileType type) {
  MotionFile file;
  file.header.type = type;
  file.header.version = version;
  file.header.scene_size = {640, 480};
  file.header.scene_value = 0x00102030;
  file.header.flag = 1;
  file.header.offset = {5, -6};
  file.header.interval = 8;
  for (int kind = 0; kind < kTrackKindCount; ++kind)
    file.tracks.push_back(SampleMotionTrack(static_cast<TrackKind>(kind), kind + 1));
  return file;
}

MotionTrackRecord AsStoredIn(MotionTrackRecord r, std::int32_t version) {
  const TrackKindTraits& traits = TraitsOf(r.kind);
  if (traits.image_part && version < 105) {
    r.zoom_y_start = r.zoom_x_start;
    r.zoom_y_end = r.zoom_x_end;
    r.zoom_y_curve = r.zoom_x_curve;
  }
  const bool crop_always = r.kind == TrackKind::Particle || r.kind == TrackKind::Fire;
  if (traits.crop && !crop_always && version <= 100) r.crop = {};
  if (r.kind == TrackKind::Transition && version <= 100) {
    r.name.clear();
    r.resolved_name.clear();
    r.param0 = r.param1 = 0;
    r.reverse = 0;
  }
  if (r.kind == TrackKind::Label && version < 103) {
    r.ints[1] = 0;
    r.bytes.pop_back();
  }
  return r;
}

}  // namespace kest
