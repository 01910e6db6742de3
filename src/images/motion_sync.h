#pragma once
// One description of a motion file's header and track records, run by the reader and by the
// writer (motion_reader.cpp, motion_writer.cpp), so the two cannot drift apart. `IO` is either
// side; it offers:
//   Int(int32&), Byte(uint8&), Pair(MotionPoint&), Real(double&), Name(string&), Text(string&)
//   Time(int64&)       an int32 of ticks, doubled up to version 106
//   OldSound(int32&)   before 108 stored on the older scale (loaded as stored div 10 + 1000)
//   ExtraInt/ExtraByte/ExtraPair/ExtraString(vector&): the next unnamed field of that array
//   Reading(), Version()
//
// Record layouts (after the base record):
//   image      image part with the name
//   label      image part without the name, text, byte, string, int32, int32 (ignored before
//              103), byte, int32, byte (from 103)
//   box        position, 2 int32, extents, 6 int32, crop (from 101)
//   transition kind code, then from 101 mask name, parameter 0, parameter 1, reverse
//   sound      name, first value start and end, second value start and end, 2 bytes
//   tile       image part with the name, 8 int32, 2 bytes, 2 int32, crop again (from 101; it
//              replaces the first)
//   particle   name, byte, 13 int32, 2 bytes, 6 pairs, position, extents, crop, 2 int32
//   fire       position, extents, crop, 4 pairs, 2 bytes, int32
// Image part: pivot, position (start, end, x and y curves), start and end angle, zoom x start
// and end (8-byte reals), zoom x curve, start and end alpha, angle curve, crop (from 101), zoom y
// start, end and curve (from 105; earlier the zoom x ones), and the name.

#include "images/motion.h"

namespace kest::motion_sync {

template <typename IO>
void Position(IO& io, MotionTrackRecord& r) {
  io.Pair(r.start_position);
  io.Pair(r.end_position);
  io.Byte(r.x_curve);
  io.Byte(r.y_curve);
}

template <typename IO>
void Extents(IO& io, MotionTrackRecord& r) {
  io.Pair(r.start_extent);
  io.Pair(r.end_extent);
}

template <typename IO>
void Crop(IO& io, MotionCrop& crop) {
  io.Pair(crop.origin_start);
  io.Pair(crop.size_start);
  io.Pair(crop.origin_end);
  io.Pair(crop.size_end);
  io.Byte(crop.x_curve);
  io.Byte(crop.y_curve);
}

template <typename IO>
void Base(IO& io, MotionTrackRecord& r) {
  io.Int(r.parent);
  io.Time(r.length);
  io.Int(r.value);
  io.Time(r.start);
  io.Time(r.cycle);
  io.Int(r.order);
  io.Byte(r.flag1);
  io.Byte(r.flag2);
  io.Byte(r.plane_swap);
}

enum class WithName : bool { No = false, Yes = true };

template <typename IO>
void ImagePart(IO& io, MotionTrackRecord& r, WithName with_name) {
  io.Pair(r.pivot);
  Position(io, r);
  io.Int(r.start_angle);
  io.Int(r.end_angle);
  io.Real(r.zoom_x_start);
  io.Real(r.zoom_x_end);
  io.Byte(r.zoom_x_curve);
  io.Int(r.start_alpha);
  io.Int(r.end_alpha);
  io.Byte(r.angle_curve);
  if (io.Version() > 100) Crop(io, r.crop);
  if (io.Version() >= 105) {
    io.Real(r.zoom_y_start);
    io.Real(r.zoom_y_end);
    io.Byte(r.zoom_y_curve);
  } else if (io.Reading()) {
    r.zoom_y_start = r.zoom_x_start;
    r.zoom_y_end = r.zoom_x_end;
    r.zoom_y_curve = r.zoom_x_curve;
  }
  if (with_name == WithName::Yes) io.Name(r.name);
}

template <typename IO>
void Ints(IO& io, MotionTrackRecord& r, int count) {
  for (int i = 0; i < count; ++i) io.ExtraInt(r.ints);
}
template <typename IO>
void ExtraBytes(IO& io, MotionTrackRecord& r, int count) {
  for (int i = 0; i < count; ++i) io.ExtraByte(r.bytes);
}
template <typename IO>
void Pairs(IO& io, MotionTrackRecord& r, int count) {
  for (int i = 0; i < count; ++i) io.ExtraPair(r.pairs);
}

template <typename IO>
void Label(IO& io, MotionTrackRecord& r) {
  ImagePart(io, r, WithName::No);
  io.Text(r.text);
  ExtraBytes(io, r, 1);
  io.ExtraString(r.strings);
  Ints(io, r, 1);
  // The second int32 is present in every version; files before 103 hold nothing meaningful in
  // it, so it is read past and kept as 0.
  io.ExtraInt(r.ints);
  if (io.Reading() && io.Version() < 103) r.ints.back() = 0;
  ExtraBytes(io, r, 1);
  Ints(io, r, 1);
  if (io.Version() >= 103) ExtraBytes(io, r, 1);
}

template <typename IO>
void Box(IO& io, MotionTrackRecord& r) {
  Position(io, r);
  Ints(io, r, 2);
  Extents(io, r);
  Ints(io, r, 6);
  if (io.Version() > 100) Crop(io, r.crop);
}

template <typename IO>
void Transition(IO& io, MotionTrackRecord& r) {
  io.Byte(r.transition_kind);
  if (io.Version() > 100) {
    io.Name(r.name);
    io.Int(r.param0);
    io.Int(r.param1);
    io.Byte(r.reverse);
  }
}

template <typename IO>
void Sound(IO& io, MotionTrackRecord& r) {
  io.Name(r.name);
  io.OldSound(r.sound1_start);
  io.OldSound(r.sound1_end);
  io.Int(r.sound2_start);
  io.Int(r.sound2_end);
  ExtraBytes(io, r, 2);
}

template <typename IO>
void Tile(IO& io, MotionTrackRecord& r) {
  ImagePart(io, r, WithName::Yes);
  Ints(io, r, 8);
  ExtraBytes(io, r, 2);
  Ints(io, r, 2);
  // The tile's own crop, read over the one of the image part.
  if (io.Version() >= 101) Crop(io, r.crop);
}

template <typename IO>
void Particle(IO& io, MotionTrackRecord& r) {
  io.Name(r.name);
  ExtraBytes(io, r, 1);
  Ints(io, r, 13);
  ExtraBytes(io, r, 2);
  Pairs(io, r, 6);
  Position(io, r);
  Extents(io, r);
  Crop(io, r.crop);
  Ints(io, r, 2);
}

template <typename IO>
void Fire(IO& io, MotionTrackRecord& r) {
  Position(io, r);
  Extents(io, r);
  Crop(io, r.crop);
  Pairs(io, r, 4);
  ExtraBytes(io, r, 2);
  Ints(io, r, 1);
}

template <typename IO>
void Track(IO& io, MotionTrackRecord& r) {
  Base(io, r);
  switch (r.kind) {
    case TrackKind::Image: ImagePart(io, r, WithName::Yes); break;
    case TrackKind::Label: Label(io, r); break;
    case TrackKind::Box: Box(io, r); break;
    case TrackKind::Transition: Transition(io, r); break;
    case TrackKind::Sound: Sound(io, r); break;
    case TrackKind::Tile: Tile(io, r); break;
    case TrackKind::Particle: Particle(io, r); break;
    case TrackKind::Fire: Fire(io, r); break;
  }
}

// The header after the signature, up to the track count.
template <typename IO>
void Header(IO& io, MotionHeader& h) {
  io.Pair(h.scene_size);
  io.Int(h.scene_value);
  if (io.Version() > 101) io.Byte(h.flag);
  if (io.Version() > 103) io.Pair(h.offset);
  if (io.Version() > 105) io.Time(h.interval);
}

// The fewest bytes a track takes: its kind byte and the base record.
inline constexpr std::size_t kMinTrackBytes = 1 + 6 * 4 + 3;

}  // namespace kest::motion_sync
