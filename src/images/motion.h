#pragma once
// Motion files (".kmt"): a timeline of tracks made in the editor, each animating one display
// object (a picture, a label, a box, a tile, particles, fire), a transition between the two
// screen planes, or a sound. This header holds the file's data model, its reader and its writer;
// film_manager.h plays it.
//
// Layout (little-endian; "pair" is two int32 x, y):
//   13-byte signature "KestCinema" or "KestMotion" + three version digits (108 now).
//   Header: scene size (pair), scene value (int32), flag (byte, from 102), offset (pair, from
//   104), interval (int32, from 106), track count (int32), then per track a kind byte (masked
//   with 0x7F) and the kind's record.
//   Every record starts with the base fields: parent, length, a third int32, start, cycle,
//   order (int32), flag 1, flag 2, plane swap (bytes). Up to version 106 the ticks were half as
//   long: start, length, cycle and the interval are doubled when read.
// The kinds' records and their version gates are described in motion_sync.h, which the reader and
// the writer share, and in docs/motion.md.
//
// The data model holds values as loaded (times doubled, old sound values converted); fields the
// format does not name are kept in arrays in file order so they can be handed on and listed.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/byte_reader.h"

namespace kest {

inline constexpr std::int32_t kMotionVersion = 108;
inline constexpr std::size_t kMotionSignatureSize = 13;

enum class MotionFileType : std::uint8_t { Cinema = 0, Motion = 1 };

enum class TrackKind : std::uint8_t {
  Image = 0,
  Label = 1,
  Box = 2,
  Transition = 3,
  Sound = 4,
  Tile = 5,
  Particle = 6,
  Fire = 7,
};
inline constexpr int kTrackKindCount = 8;

// "image", "label", "box", "transition", "sound", "tile", "particle", "fire".
std::string_view TrackKindName(TrackKind kind);

// Which groups of fields a kind carries (one table for reader, writer, player and listing).
struct TrackKindTraits {
  bool position = false;    // start/end position with x and y curves
  bool image_part = false;  // pivot, angle, zoom, alpha (image, label, tile)
  bool crop = false;        // crop origin and size (from version 101 for image parts and boxes)
  bool extent = false;      // start/end extent (box, particle, fire)
  bool sound = false;       // the two sound values
  bool picture = false;     // acquires a picture from the image cache (image, tile)
};
const TrackKindTraits& TraitsOf(TrackKind kind);

struct MotionPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend constexpr bool operator==(const MotionPoint&, const MotionPoint&) = default;
};

// Interpolation modes of a curve byte: 0 linear, 1 slow start, 2 slow end (others: linear).
struct MotionCrop {
  MotionPoint origin_start, size_start, origin_end, size_end;
  std::uint8_t x_curve = 0;  // drives origin x and width
  std::uint8_t y_curve = 0;  // drives origin y and height
};

struct MotionHeader {
  MotionFileType type = MotionFileType::Motion;
  std::int32_t version = kMotionVersion;
  MotionPoint scene_size;
  std::int32_t scene_value = 0;
  std::uint8_t flag = 0;       // from 102; set: positions are relative to the playing object
  MotionPoint offset;          // from 104; the motion's origin, subtracted from positions
  std::int64_t interval = 0;   // from 106, in ticks (doubled at 106): the loop start frame
};

// One track as loaded. Only the fields of the kind's traits (and the kind's own group below)
// are read and written; the others keep their defaults.
struct MotionTrackRecord {
  TrackKind kind = TrackKind::Image;
  std::uint8_t kind_byte = 0;  // as stored (the high bit is ignored)

  // Base fields (64-bit: doubling a stored int32 may leave the 32-bit range).
  std::int32_t parent = -1;  // index in the file, as stored; the manager resolves it
  std::int64_t length = 0;
  std::int32_t value = 0;    // the third int32
  std::int64_t start = 0;
  std::int64_t cycle = 0;
  std::int32_t order = 0;
  std::uint8_t flag1 = 0;
  std::uint8_t flag2 = 0;
  std::uint8_t plane_swap = 0;

  // Position (image, label, box, tile, particle, fire).
  MotionPoint start_position, end_position;
  std::uint8_t x_curve = 0, y_curve = 0;

  // Image part (image, label, tile).
  MotionPoint pivot;
  std::int32_t start_angle = 0, end_angle = 0;  // degrees
  double zoom_x_start = 1.0, zoom_x_end = 1.0;  // not finite in the file: 1.0
  std::uint8_t zoom_x_curve = 0;
  std::int32_t start_alpha = 0, end_alpha = 0;  // 0 means 255
  std::uint8_t angle_curve = 0;
  double zoom_y_start = 1.0, zoom_y_end = 1.0;  // before 105: the zoom x values
  std::uint8_t zoom_y_curve = 0;                // before 105: the zoom x curve

  // Crop (image part and box from 101; particle and fire always; a tile's second crop wins).
  MotionCrop crop;

  // Extent (box, particle, fire): width and height.
  MotionPoint start_extent, end_extent;

  // The file a track names (image, tile and particle picture, sound file, transition mask),
  // as stored and resolved against the motion file's folder (empty when the stored one is).
  std::string name;
  std::string resolved_name;

  // Label: its text.
  std::string text;

  // Transition.
  std::uint8_t transition_kind = 0;
  std::int32_t param0 = 0, param1 = 0;
  std::uint8_t reverse = 0;

  // Sound: two values, each with a start and an end (before 108 the first is converted from
  // the older scale: stored div 10 + 1000).
  std::int32_t sound1_start = 0, sound1_end = 0;
  std::int32_t sound2_start = 0, sound2_end = 0;

  // Fields the format does not name, each kind's in file order:
  //   label:    ints [a, b (0 before 103: skipped), c], bytes [a, b, c (from 103)], strings [second]
  //   box:      ints [2 after the curves, 6 after the extents]
  //   sound:    bytes [2]
  //   tile:     ints [8, then 2 after the bytes], bytes [2]
  //   particle: bytes [1 after the name, 2 after the ints], ints [13, then 2 at the end],
  //             pairs [6]
  //   fire:     pairs [4], bytes [2], ints [1]
  std::vector<std::int32_t> ints;
  std::vector<std::uint8_t> bytes;
  std::vector<MotionPoint> pairs;
  std::vector<std::string> strings;
};

struct MotionFile {
  MotionHeader header;
  std::vector<MotionTrackRecord> tracks;
};

// The type and version of a signature; none when the 13 bytes name neither type (or there are
// fewer than 13).
struct MotionSignature {
  MotionFileType type;
  std::int32_t version;
};
std::optional<MotionSignature> ProbeMotionSignature(ByteSpan data);

// Reads a motion file. `file_name` names it in errors, and its folder is the base of the names
// in the file. FormatError (naming the file and the offset) for a bad signature, a kind outside
// 0..7, or any count or length past the end. Parents are kept as stored.
MotionFile ReadMotionFile(ByteSpan data, const std::string& file_name);

// A name from a motion file resolved against `folder` (the motion file's folder, with its
// trailing "\"): "..\" climbs one folder (never above the title's root), and a name beginning
// with "\" or a drive ("X:") starts at the title's root. The result never leaves the title's
// files; empty for an empty name.
std::string ResolveMotionName(std::string_view folder, std::string_view name);

// How the writer treats values the reader converts for old versions.
enum class MotionWriteValues {
  Loaded,  // the record holds loaded values: halve times up to 106, convert old sound values back
  Stored,  // write every field exactly as it is in the record
};

// Writes a motion file of the header's type and version (100..108 and later), every kind's
// record with its version gates.
Bytes WriteMotionFile(const MotionFile& file, MotionWriteValues values = MotionWriteValues::Loaded);

}  // namespace kest
