// Reading and writing motion files: every kind at every version, the layout of the records, the
// conversions of old versions, the names, and malformed files.

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

#include "core/byte_writer.h"
#include "core/errors.h"
#include "images/motion.h"
#include "images/motion_fixture.h"

namespace kest {
namespace {

void ExpectSameTrack(const MotionTrackRecord& a, const MotionTrackRecord& b) {
  EXPECT_EQ(a.kind, b.kind);
  EXPECT_EQ(a.kind_byte, b.kind_byte);
  EXPECT_EQ(a.parent, b.parent);
  EXPECT_EQ(a.length, b.length);
  EXPECT_EQ(a.value, b.value);
  EXPECT_EQ(a.start, b.start);
  EXPECT_EQ(a.cycle, b.cycle);
  EXPECT_EQ(a.order, b.order);
  EXPECT_EQ(a.flag1, b.flag1);
  EXPECT_EQ(a.flag2, b.flag2);
  EXPECT_EQ(a.plane_swap, b.plane_swap);
  EXPECT_EQ(a.start_position, b.start_position);
  EXPECT_EQ(a.end_position, b.end_position);
  EXPECT_EQ(a.x_curve, b.x_curve);
  EXPECT_EQ(a.y_curve, b.y_curve);
  EXPECT_EQ(a.pivot, b.pivot);
  EXPECT_EQ(a.start_angle, b.start_angle);
  EXPECT_EQ(a.end_angle, b.end_angle);
  EXPECT_EQ(a.zoom_x_start, b.zoom_x_start);
  EXPECT_EQ(a.zoom_x_end, b.zoom_x_end);
  EXPECT_EQ(a.zoom_x_curve, b.zoom_x_curve);
  EXPECT_EQ(a.start_alpha, b.start_alpha);
  EXPECT_EQ(a.end_alpha, b.end_alpha);
  EXPECT_EQ(a.angle_curve, b.angle_curve);
  EXPECT_EQ(a.zoom_y_start, b.zoom_y_start);
  EXPECT_EQ(a.zoom_y_end, b.zoom_y_end);
  EXPECT_EQ(a.zoom_y_curve, b.zoom_y_curve);
  EXPECT_EQ(a.crop.origin_start, b.crop.origin_start);
  EXPECT_EQ(a.crop.size_start, b.crop.size_start);
  EXPECT_EQ(a.crop.origin_end, b.crop.origin_end);
  EXPECT_EQ(a.crop.size_end, b.crop.size_end);
  EXPECT_EQ(a.crop.x_curve, b.crop.x_curve);
  EXPECT_EQ(a.crop.y_curve, b.crop.y_curve);
  EXPECT_EQ(a.start_extent, b.start_extent);
  EXPECT_EQ(a.end_extent, b.end_extent);
  EXPECT_EQ(a.name, b.name);
  EXPECT_EQ(a.resolved_name, b.resolved_name);
  EXPECT_EQ(a.text, b.text);
  EXPECT_EQ(a.transition_kind, b.transition_kind);
  EXPECT_EQ(a.param0, b.param0);
  EXPECT_EQ(a.param1, b.param1);
  EXPECT_EQ(a.reverse, b.reverse);
  EXPECT_EQ(a.sound1_start, b.sound1_start);
  EXPECT_EQ(a.sound1_end, b.sound1_end);
  EXPECT_EQ(a.sound2_start, b.sound2_start);
  EXPECT_EQ(a.sound2_end, b.sound2_end);
  EXPECT_EQ(a.ints, b.ints);
  EXPECT_EQ(a.bytes, b.bytes);
  EXPECT_EQ(a.pairs, b.pairs);
  EXPECT_EQ(a.strings, b.strings);
}

// Every field of every kind survives writing and reading at each version, with what each
// version does not store taking the reader's value.
TEST(MotionReadTest, EveryKindRoundTripsAtEveryVersion) {
  for (std::int32_t version = 100; version <= 108; ++version) {
    SCOPED_TRACE("version " + std::to_string(version));
    const MotionFile written = SampleMotionFile(version, version % 2 ? MotionFileType::Cinema : MotionFileType::Motion);
    const MotionFile read = ReadMotionFile(WriteMotionFile(written), "clip.kmt");
    EXPECT_EQ(read.header.type, written.header.type);
    EXPECT_EQ(read.header.version, version);
    EXPECT_EQ(read.header.scene_size, written.header.scene_size);
    EXPECT_EQ(read.header.scene_value, written.header.scene_value);
    EXPECT_EQ(read.header.flag, version > 101 ? 1 : 0);
    EXPECT_EQ(read.header.offset, version > 103 ? written.header.offset : MotionPoint{});
    EXPECT_EQ(read.header.interval, version > 105 ? 8 : 0);
    ASSERT_EQ(read.tracks.size(), written.tracks.size());
    for (std::size_t i = 0; i < read.tracks.size(); ++i) {
      SCOPED_TRACE(std::string(TrackKindName(read.tracks[i].kind)));
      ExpectSameTrack(read.tracks[i], AsStoredIn(written.tracks[i], version));
    }
  }
}

// The byte length of each record, counted from the layout of the format independently of the
// writer: a field written in the wrong version or twice shows here.
TEST(MotionReadTest, RecordSizesFollowTheVersionGates) {
  struct Case {
    TrackKind kind;
    std::int32_t version;
    std::size_t bytes;  // the record after its kind byte, with empty strings (4 bytes each)
  };
  const Case cases[] = {
      {TrackKind::Image, 100, 91},      {TrackKind::Image, 101, 125},     {TrackKind::Image, 105, 142},
      {TrackKind::Label, 100, 109},     {TrackKind::Label, 102, 143},     {TrackKind::Label, 103, 144},
      {TrackKind::Label, 108, 161},     {TrackKind::Box, 100, 93},        {TrackKind::Box, 101, 127},
      {TrackKind::Transition, 100, 28}, {TrackKind::Transition, 101, 41}, {TrackKind::Sound, 100, 49},
      {TrackKind::Sound, 108, 49},      {TrackKind::Tile, 100, 133},      {TrackKind::Tile, 101, 201},
      {TrackKind::Tile, 108, 218},      {TrackKind::Particle, 100, 210},  {TrackKind::Particle, 108, 210},
      {TrackKind::Fire, 100, 133},      {TrackKind::Fire, 108, 133},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(TrackKindName(c.kind)) + " " + std::to_string(c.version));
    MotionFile file;
    file.header.version = c.version;
    MotionTrackRecord track = SampleMotionTrack(c.kind, 1);
    track.name.clear();
    track.text.clear();
    track.strings.assign(track.strings.size(), "");
    file.tracks.push_back(track);
    const std::size_t header = 13 + 8 + 4 + (c.version > 101 ? 1 : 0) + (c.version > 103 ? 8 : 0) +
                               (c.version > 105 ? 4 : 0) + 4;
    EXPECT_EQ(WriteMotionFile(file).size(), header + 1 + c.bytes);
  }
}

// An image track spelled out byte by byte, so the order of the fields is fixed by the test.
TEST(MotionReadTest, ImageTrackFieldsInFileOrder) {
  ByteWriter out;
  out.Raw(std::string_view("KestMotion108"));
  for (std::int32_t v : {320, 240, 9}) out.I32(v);
  out.U8(1);                  // flag
  out.I32(3), out.I32(4);     // offset
  out.I32(6);                 // interval
  out.I32(1);                 // one track
  out.U8(0);                  // image
  for (std::int32_t v : {-1, 30, 77, 12, 40, 5}) out.I32(v);  // parent, length, value, start, cycle, order
  out.U8(1), out.U8(0), out.U8(1);
  for (std::int32_t v : {2, 3, 10, 20, 110, 120}) out.I32(v);  // pivot, start and end position
  out.U8(1), out.U8(2);
  out.I32(-90), out.I32(90);
  out.U64(std::bit_cast<std::uint64_t>(0.5)), out.U64(std::bit_cast<std::uint64_t>(2.0));
  out.U8(2);
  out.I32(0), out.I32(128);
  out.U8(1);
  for (std::int32_t v : {1, 2, 3, 4, 5, 6, 7, 8}) out.I32(v);  // crop
  out.U8(0), out.U8(1);
  out.U64(std::bit_cast<std::uint64_t>(std::numeric_limits<double>::quiet_NaN()));
  out.U64(std::bit_cast<std::uint64_t>(std::numeric_limits<double>::infinity()));
  out.U8(1);
  out.LString("pic\\a.zel");

  const MotionFile file = ReadMotionFile(out.Data(), "title\\anim\\clip.kmt");
  EXPECT_EQ(file.header.scene_size, (MotionPoint{320, 240}));
  EXPECT_EQ(file.header.scene_value, 9);
  EXPECT_EQ(file.header.offset, (MotionPoint{3, 4}));
  EXPECT_EQ(file.header.interval, 6);
  ASSERT_EQ(file.tracks.size(), 1u);
  const MotionTrackRecord& t = file.tracks[0];
  EXPECT_EQ(t.length, 30);
  EXPECT_EQ(t.value, 77);
  EXPECT_EQ(t.start, 12);
  EXPECT_EQ(t.cycle, 40);
  EXPECT_EQ(t.order, 5);
  EXPECT_EQ(t.plane_swap, 1);
  EXPECT_EQ(t.pivot, (MotionPoint{2, 3}));
  EXPECT_EQ(t.end_position, (MotionPoint{110, 120}));
  EXPECT_EQ(t.y_curve, 2);
  EXPECT_EQ(t.start_angle, -90);
  EXPECT_EQ(t.zoom_x_end, 2.0);
  EXPECT_EQ(t.zoom_x_curve, 2);
  EXPECT_EQ(t.end_alpha, 128);
  EXPECT_EQ(t.angle_curve, 1);
  EXPECT_EQ(t.crop.size_end, (MotionPoint{7, 8}));
  EXPECT_EQ(t.crop.y_curve, 1);
  // Zooms that are not finite read as the natural size.
  EXPECT_EQ(t.zoom_y_start, 1.0);
  EXPECT_EQ(t.zoom_y_end, 1.0);
  EXPECT_EQ(t.name, "pic\\a.zel");
  EXPECT_EQ(t.resolved_name, "title\\anim\\pic\\a.zel");
}

// A file of one track of `kind` whose record bytes come from `record` (after the base fields).
template <typename Fill>
MotionTrackRecord HandBuilt(TrackKind kind, std::int32_t version, Fill record) {
  ByteWriter out;
  out.Raw(std::string_view(version == 108 ? "KestMotion108" : "KestMotion107"));
  for (std::int32_t v : {8, 8, 0}) out.I32(v);
  out.U8(0);
  out.I32(0), out.I32(0);
  out.I32(0);
  out.I32(1);
  out.U8(static_cast<std::uint8_t>(kind));
  for (std::int32_t v : {-1, 10, 0, 0, 10, 0}) out.I32(v);
  out.U8(0), out.U8(0), out.U8(0);
  record(out);
  return ReadMotionFile(out.Data(), "hand.kmt").tracks.at(0);
}

// The other kinds' records spelled out, each field a value of its own, so the order of their
// fields is fixed by the tests and not only by the shared description.
TEST(MotionReadTest, OtherKindsFieldsInFileOrder) {
  const MotionTrackRecord box = HandBuilt(TrackKind::Box, 108, [](ByteWriter& out) {
    for (std::int32_t v : {1, 2, 3, 4}) out.I32(v);  // start and end position
    out.U8(1), out.U8(2);
    out.I32(5), out.I32(6);
    for (std::int32_t v : {7, 8, 9, 10}) out.I32(v);  // start and end extent
    for (std::int32_t v : {11, 12, 13, 14, 15, 16}) out.I32(v);
    for (std::int32_t v : {17, 18, 19, 20, 21, 22, 23, 24}) out.I32(v);  // crop
    out.U8(2), out.U8(1);
  });
  EXPECT_EQ(box.end_position, (MotionPoint{3, 4}));
  EXPECT_EQ(box.y_curve, 2);
  EXPECT_EQ(box.start_extent, (MotionPoint{7, 8}));
  EXPECT_EQ(box.end_extent, (MotionPoint{9, 10}));
  EXPECT_EQ(box.ints, (std::vector<std::int32_t>{5, 6, 11, 12, 13, 14, 15, 16}));
  EXPECT_EQ(box.crop.size_start, (MotionPoint{19, 20}));
  EXPECT_EQ(box.crop.origin_end, (MotionPoint{21, 22}));
  EXPECT_EQ(box.crop.x_curve, 2);

  const MotionTrackRecord transition = HandBuilt(TrackKind::Transition, 108, [](ByteWriter& out) {
    out.U8(12);
    out.LString("\\masks\\m.zel");
    out.I32(-3), out.I32(4);
    out.U8(1);
  });
  EXPECT_EQ(transition.transition_kind, 12);
  EXPECT_EQ(transition.resolved_name, "masks\\m.zel");
  EXPECT_EQ(transition.param0, -3);
  EXPECT_EQ(transition.param1, 4);
  EXPECT_EQ(transition.reverse, 1);

  const MotionTrackRecord sound = HandBuilt(TrackKind::Sound, 107, [](ByteWriter& out) {
    out.LString("bell.wav");
    for (std::int32_t v : {1234, 5000, 66, 77}) out.I32(v);
    out.U8(8), out.U8(9);
  });
  EXPECT_EQ(sound.name, "bell.wav");
  EXPECT_EQ(sound.sound1_start, 1123);
  EXPECT_EQ(sound.sound1_end, 1500);
  EXPECT_EQ(sound.sound2_start, 66);
  EXPECT_EQ(sound.sound2_end, 77);
  EXPECT_EQ(sound.bytes, (std::vector<std::uint8_t>{8, 9}));

  const MotionTrackRecord fire = HandBuilt(TrackKind::Fire, 108, [](ByteWriter& out) {
    for (std::int32_t v : {1, 2, 3, 4}) out.I32(v);
    out.U8(1), out.U8(0);
    for (std::int32_t v : {5, 6, 7, 8}) out.I32(v);
    for (std::int32_t v : {9, 10, 11, 12, 13, 14, 15, 16}) out.I32(v);
    out.U8(0), out.U8(2);
    for (std::int32_t v : {17, 18, 19, 20, 21, 22, 23, 24}) out.I32(v);
    out.U8(30), out.U8(31);
    out.I32(32);
  });
  EXPECT_EQ(fire.start_position, (MotionPoint{1, 2}));
  EXPECT_EQ(fire.end_extent, (MotionPoint{7, 8}));
  EXPECT_EQ(fire.crop.origin_start, (MotionPoint{9, 10}));
  EXPECT_EQ(fire.crop.y_curve, 2);
  EXPECT_EQ(fire.pairs, (std::vector<MotionPoint>{{17, 18}, {19, 20}, {21, 22}, {23, 24}}));
  EXPECT_EQ(fire.bytes, (std::vector<std::uint8_t>{30, 31}));
  EXPECT_EQ(fire.ints, (std::vector<std::int32_t>{32}));

  const MotionTrackRecord particle = HandBuilt(TrackKind::Particle, 108, [](ByteWriter& out) {
    out.LString("");  // an empty picture name: the rest follows
    out.U8(1);
    for (std::int32_t v = 2; v <= 14; ++v) out.I32(v);
    out.U8(15), out.U8(16);
    for (std::int32_t v = 17; v <= 28; ++v) out.I32(v);  // six pairs
    for (std::int32_t v : {29, 30, 31, 32}) out.I32(v);  // position
    out.U8(2), out.U8(1);
    for (std::int32_t v : {33, 34, 35, 36}) out.I32(v);  // extents
    for (std::int32_t v = 37; v <= 44; ++v) out.I32(v);  // crop
    out.U8(1), out.U8(1);
    out.I32(45), out.I32(46);
  });
  EXPECT_EQ(particle.name, "");
  EXPECT_EQ(particle.bytes, (std::vector<std::uint8_t>{1, 15, 16}));
  ASSERT_EQ(particle.ints.size(), 15u);
  EXPECT_EQ(particle.ints.front(), 2);
  EXPECT_EQ(particle.ints[12], 14);
  EXPECT_EQ(particle.ints.back(), 46);
  EXPECT_EQ(particle.pairs.back(), (MotionPoint{27, 28}));
  EXPECT_EQ(particle.end_position, (MotionPoint{31, 32}));
  EXPECT_EQ(particle.x_curve, 2);
  EXPECT_EQ(particle.start_extent, (MotionPoint{33, 34}));
  EXPECT_EQ(particle.crop.size_end, (MotionPoint{43, 44}));

  const MotionTrackRecord label = HandBuilt(TrackKind::Label, 108, [](ByteWriter& out) {
    for (std::int32_t v : {1, 2, 3, 4, 5, 6}) out.I32(v);  // pivot, start and end position
    out.U8(0), out.U8(0);
    out.I32(10), out.I32(20);  // angles
    out.U64(std::bit_cast<std::uint64_t>(1.0)), out.U64(std::bit_cast<std::uint64_t>(1.0));
    out.U8(0);
    out.I32(30), out.I32(40);  // alpha
    out.U8(0);
    for (int i = 0; i < 8; ++i) out.I32(0);  // crop
    out.U8(0), out.U8(0);
    out.U64(std::bit_cast<std::uint64_t>(1.0)), out.U64(std::bit_cast<std::uint64_t>(1.0));
    out.U8(0);
    out.LString("hello");
    out.U8(7);
    out.LString("font");
    out.I32(50), out.I32(60);
    out.U8(8);
    out.I32(70);
    out.U8(9);
  });
  EXPECT_EQ(label.pivot, (MotionPoint{1, 2}));
  EXPECT_EQ(label.end_angle, 20);
  EXPECT_EQ(label.end_alpha, 40);
  EXPECT_EQ(label.text, "hello");
  EXPECT_EQ(label.strings, (std::vector<std::string>{"font"}));
  EXPECT_EQ(label.ints, (std::vector<std::int32_t>{50, 60, 70}));
  EXPECT_EQ(label.bytes, (std::vector<std::uint8_t>{7, 8, 9}));
}

// Raw stored values against what loading makes of them.
TEST(MotionReadTest, OldVersionsAreConverted) {
  const auto read_one = [](std::int32_t version, MotionTrackRecord track) {
    MotionFile file;
    file.header.version = version;
    file.header.interval = 7;
    file.tracks.push_back(std::move(track));
    return ReadMotionFile(WriteMotionFile(file, MotionWriteValues::Stored), "a.kmt");
  };
  MotionTrackRecord timed = SampleMotionTrack(TrackKind::Box, 0);
  timed.start = 5, timed.length = 11, timed.cycle = 3;
  for (const auto& [version, factor] : {std::pair{106, 2}, std::pair{107, 1}}) {
    const MotionFile file = read_one(version, timed);
    EXPECT_EQ(file.tracks[0].start, 5 * factor) << version;
    EXPECT_EQ(file.tracks[0].length, 11 * factor) << version;
    EXPECT_EQ(file.tracks[0].cycle, 3 * factor) << version;
    EXPECT_EQ(file.header.interval, 7 * factor) << version;
  }
  // Doubling leaves the 32-bit range without wrapping.
  timed.length = std::numeric_limits<std::int32_t>::max();
  EXPECT_EQ(read_one(100, timed).tracks[0].length, 2 * static_cast<std::int64_t>(timed.length));

  MotionTrackRecord sound = SampleMotionTrack(TrackKind::Sound, 0);
  sound.sound1_start = 1234, sound.sound1_end = -55, sound.sound2_start = 1234;
  const MotionTrackRecord old = read_one(107, sound).tracks[0];
  EXPECT_EQ(old.sound1_start, 1123);
  EXPECT_EQ(old.sound1_end, 995);  // -55 div 10 = -5, toward zero
  EXPECT_EQ(old.sound2_start, 1234);
  EXPECT_EQ(read_one(108, sound).tracks[0].sound1_start, 1234);
}

TEST(MotionReadTest, LabelTileAndKindByteDetails) {
  // Before 103 the label's second int32 is there and ignored.
  MotionTrackRecord label = SampleMotionTrack(TrackKind::Label, 1);
  label.ints = {10, 20, 30};
  label.bytes = {1, 2, 3};
  MotionFile file;
  file.header.version = 102;
  file.tracks = {label};
  MotionTrackRecord read = ReadMotionFile(WriteMotionFile(file), "a.kmt").tracks[0];
  EXPECT_EQ(read.ints, (std::vector<std::int32_t>{10, 0, 30}));
  EXPECT_EQ(read.bytes, (std::vector<std::uint8_t>{1, 2}));
  file.header.version = 103;
  read = ReadMotionFile(WriteMotionFile(file), "a.kmt").tracks[0];
  EXPECT_EQ(read.ints, (std::vector<std::int32_t>{10, 20, 30}));
  EXPECT_EQ(read.bytes, (std::vector<std::uint8_t>{1, 2, 3}));

  // A tile's second crop replaces the one of its image part: patch the first crop's bytes.
  file.header.version = 108;
  MotionTrackRecord tile = SampleMotionTrack(TrackKind::Tile, 1);
  tile.crop.origin_start = {44, 55};
  file.tracks = {tile};
  Bytes bytes = WriteMotionFile(file);
  const std::size_t first_crop = 13 + 8 + 4 + 1 + 8 + 4 + 4 + 1 + 27 + 8 + 18 + 8 + 16 + 1 + 8 + 1;
  ASSERT_EQ(bytes[first_crop], 44);
  bytes[first_crop] = 99;
  EXPECT_EQ(ReadMotionFile(bytes, "a.kmt").tracks[0].crop.origin_start, (MotionPoint{44, 55}));

  // The kind byte's high bit is not part of the kind.
  MotionTrackRecord image = SampleMotionTrack(TrackKind::Image, 1);
  image.kind_byte = 0x80;
  file.tracks = {image};
  read = ReadMotionFile(WriteMotionFile(file), "a.kmt").tracks[0];
  EXPECT_EQ(read.kind, TrackKind::Image);
  EXPECT_EQ(read.kind_byte, 0x80);

  // An empty name ends nothing: the particle's later fields are read.
  MotionTrackRecord particle = SampleMotionTrack(TrackKind::Particle, 2);
  particle.name.clear();
  file.tracks = {particle, SampleMotionTrack(TrackKind::Fire, 3)};
  const MotionFile both = ReadMotionFile(WriteMotionFile(file), "a.kmt");
  EXPECT_EQ(both.tracks[0].ints, particle.ints);
  EXPECT_EQ(both.tracks[1].kind, TrackKind::Fire);
}

TEST(MotionReadTest, SignaturesAndVersions) {
  const auto probe = [](std::string_view text) {
    return ProbeMotionSignature(ByteSpan(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
  };
  ASSERT_TRUE(probe("KestCinema106"));
  EXPECT_EQ(probe("KestCinema106")->type, MotionFileType::Cinema);
  EXPECT_EQ(probe("KestMotion100")->version, 100);
  EXPECT_EQ(probe("KestMotion999")->version, 999);
  EXPECT_FALSE(probe("KestMotion10"));
  EXPECT_FALSE(probe("KestMotionX08"));
  EXPECT_FALSE(probe("KestPicture08"));
  EXPECT_FALSE(probe("kestmotion108"));
}

void ExpectFormatError(const Bytes& bytes, std::uint64_t offset, std::string_view text) {
  try {
    ReadMotionFile(bytes, "bad.kmt");
    ADD_FAILURE() << "no error";
  } catch (const FormatError& error) {
    EXPECT_EQ(error.Source(), "bad.kmt");
    EXPECT_EQ(error.Offset(), offset);
    EXPECT_NE(std::string(error.what()).find(text), std::string::npos) << error.what();
  }
}

TEST(MotionReadTest, MalformedFilesFailWithTheOffset) {
  MotionFile file = SampleMotionFile(108);
  file.tracks.resize(2);
  Bytes bytes = WriteMotionFile(file);
  // The second track's kind byte becomes 8: no record follows it that could be read.
  const std::size_t second = 13 + 8 + 4 + 1 + 8 + 4 + 4 + 1 + 142 + 8;  // after "pic1.zel"
  ASSERT_EQ(bytes[second], 1);
  bytes[second] = 0x88;
  ExpectFormatError(bytes, second, "kind 8");

  ExpectFormatError(Bytes{'K', 'e', 's', 't'}, 0, "signature");

  // A track count larger than the bytes could hold is refused before anything is made.
  file.tracks.clear();
  Bytes counted = WriteMotionFile(file);
  counted[counted.size() - 4] = 0xFF;
  counted[counted.size() - 3] = 0xFF;
  ExpectFormatError(counted, counted.size(), "track count");

  // Every cut of a full file fails cleanly; the whole file reads.
  const Bytes full = WriteMotionFile(SampleMotionFile(108));
  for (std::size_t cut = 13; cut < full.size(); ++cut) {
    EXPECT_THROW(ReadMotionFile(ByteSpan(full).first(cut), "cut.kmt"), FormatError) << cut;
  }
  EXPECT_NO_THROW(ReadMotionFile(full, "full.kmt"));

  // A name length past the end.
  MotionFile named;
  named.tracks.push_back(SampleMotionTrack(TrackKind::Sound, 1));
  Bytes long_name = WriteMotionFile(named);
  const std::size_t name_at = 13 + 8 + 4 + 1 + 8 + 4 + 4 + 1 + 27;
  long_name[name_at + 3] = 0x7F;
  ExpectFormatError(long_name, name_at, "string");
}

TEST(MotionReadTest, NamesStayInsideTheTitle) {
  struct Case {
    std::string_view folder, name, resolved;
  };
  const Case cases[] = {
      {"anim\\", "a.zel", "anim\\a.zel"},
      {"anim\\sub\\", "..\\a.zel", "anim\\a.zel"},
      {"anim\\sub\\", "..\\..\\a.zel", "a.zel"},
      {"anim\\", "..\\..\\..\\a.zel", "a.zel"},  // climbing stops at the root
      {"anim\\", "x\\..\\..\\..\\b.zel", "b.zel"},
      {"anim\\", "\\pic\\a.zel", "pic\\a.zel"},
      {"anim\\", "C:\\pic\\a.zel", "pic\\a.zel"},
      {"anim\\", "d:a.zel", "a.zel"},
      {"anim\\", ".\\a.zel", "anim\\a.zel"},
      {"", "a/b.zel", "a\\b.zel"},
      {"anim\\", "", ""},
      // A trail byte equal to "\" belongs to its character, not a separator.
      {"", "\x95\x5C.zel", "\x95\x5C.zel"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ResolveMotionName(c.folder, c.name), c.resolved) << c.folder << " + " << c.name;
}

}  // namespace
}  // namespace kest
