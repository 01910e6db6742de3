// kest motion info: every field of our writer's files at each version, and the states at ticks.

#include <gtest/gtest.h>

#include "core/errors.h"
#include "images/motion_fixture.h"
#include "motion_tool.h"

namespace kest::tool {
namespace {

std::string P(MotionPoint p) { return "[" + std::to_string(p.x) + ", " + std::to_string(p.y) + "]"; }
std::string Key(const std::string& key, const std::string& value) { return "\"" + key + "\": " + value; }
std::string Key(const std::string& key, std::int64_t value) { return Key(key, std::to_string(value)); }

// The listed object of track `index`: from its "index" key to the next track's.
std::string TrackText(const std::string& json, std::size_t index) {
  const std::size_t begin = json.find("{\"index\": " + std::to_string(index) + ",");
  const std::size_t end = json.find("{\"index\": " + std::to_string(index + 1) + ",");
  return begin == std::string::npos ? std::string() : json.substr(begin, end - begin);
}

void ExpectIn(const std::string& text, const std::string& part) {
  EXPECT_NE(text.find(part), std::string::npos) << part << "\nin " << text;
}

TEST(MotionTool, ListsEveryFieldAtEveryVersion) {
  for (std::int32_t version = 100; version <= 108; ++version) {
    SCOPED_TRACE("version " + std::to_string(version));
    const MotionFile file = SampleMotionFile(version, MotionFileType::Cinema);
    const std::string json = DescribeMotion(WriteMotionFile(file), "clip.kmt", true, {});
    ASSERT_EQ(json.substr(0, 28), "{\"type\": \"cinema\", \"version\"") << json;
    ExpectIn(json, Key("version", version));
    ExpectIn(json, Key("scene", "[640, 480]"));
    ExpectIn(json, Key("scene_value", 0x00102030));
    ExpectIn(json, Key("flag", version > 101 ? 1 : 0));
    ExpectIn(json, Key("offset", version > 103 ? "[5, -6]" : "[0, 0]"));
    ExpectIn(json, Key("interval", version > 105 ? 8 : 0));
    ExpectIn(json, Key("total_time", 36));  // the longest sample track: 20 + 2 * 8
    for (std::size_t i = 0; i < file.tracks.size(); ++i) {
      const MotionTrackRecord r = AsStoredIn(file.tracks[i], version);
      const TrackKindTraits& traits = TraitsOf(r.kind);
      const std::string t = TrackText(json, i);
      SCOPED_TRACE(t);
      ExpectIn(t, Key("kind", "\"" + std::string(TrackKindName(r.kind)) + "\""));
      ExpectIn(t, Key("kind_byte", r.kind_byte));
      ExpectIn(t, Key("parent", -1));
      ExpectIn(t, Key("start", 0));
      ExpectIn(t, Key("length", r.length));
      ExpectIn(t, Key("cycle", r.cycle));
      ExpectIn(t, Key("value", r.value));
      ExpectIn(t, Key("order", r.order));
      ExpectIn(t, Key("flag1", 1) + ", " + Key("flag2", 2) + ", " + Key("plane_swap", r.plane_swap));
      if (traits.position) {
        ExpectIn(t, Key("start_position", P(r.start_position)) + ", " + Key("end_position", P(r.end_position)));
        ExpectIn(t, Key("x_curve", 1) + ", " + Key("y_curve", 2));
      }
      if (traits.image_part) {
        ExpectIn(t, Key("pivot", P(r.pivot)));
        ExpectIn(t, Key("start_angle", -90) + ", " + Key("end_angle", r.end_angle));
        ExpectIn(t, Key("zoom_x_start", "0.5") + ", " + Key("zoom_x_end", "2.25") + ", " + Key("zoom_x_curve", 1));
        ExpectIn(t, Key("start_alpha", r.start_alpha) + ", " + Key("end_alpha", 200) + ", " + Key("angle_curve", 2));
        const std::string zoom_y = version >= 105 ? Key("zoom_y_start", "1.5") + ", " + Key("zoom_y_end", "0.75") + ", " +
                                                        Key("zoom_y_curve", 2)
                                                  : Key("zoom_y_start", "0.5") + ", " + Key("zoom_y_end", "2.25") +
                                                        ", " + Key("zoom_y_curve", 1);
        ExpectIn(t, zoom_y);
      }
      if (traits.extent) ExpectIn(t, Key("start_extent", P(r.start_extent)) + ", " + Key("end_extent", P(r.end_extent)));
      if (traits.crop) {
        const MotionCrop& c = r.crop;
        ExpectIn(t, Key("crop", "{" + Key("origin_start", P(c.origin_start)) + ", " + Key("size_start", P(c.size_start)) +
                                    ", " + Key("origin_end", P(c.origin_end)) + ", " + Key("size_end", P(c.size_end)) +
                                    ", " + Key("curves", "[" + std::to_string(c.x_curve) + ", " +
                                                             std::to_string(c.y_curve) + "]") + "}"));
      }
      switch (r.kind) {
        case TrackKind::Image:
        case TrackKind::Tile: ExpectIn(t, Key("image_name", "\"" + r.name + "\"")); break;
        case TrackKind::Particle: ExpectIn(t, Key("picture_name", "\"spark.zel\"")); break;
        case TrackKind::Sound:
          ExpectIn(t, Key("sound_name", "\"se\\\\bell.wav\"") + ", " + Key("resolved_name", "\"se\\\\bell.wav\""));
          ExpectIn(t, Key("first_value_start", r.sound1_start) + ", " + Key("first_value_end", 990) + ", " +
                          Key("second_value_start", 64) + ", " + Key("second_value_end", -30));
          break;
        case TrackKind::Label: ExpectIn(t, Key("text", "\"label text\"")); break;
        case TrackKind::Transition:
          ExpectIn(t, Key("mask_name", version > 100 ? "\"mask.zel\"" : "\"\""));
          ExpectIn(t, Key("transition_kind", 5) + ", " + Key("parameter_0", version > 100 ? 11 : 0) + ", " +
                          Key("parameter_1", version > 100 ? -12 : 0) + ", " + Key("reverse", version > 100 ? 1 : 0));
          break;
        default: break;
      }
      std::string ints = "[", bytes = "[", pairs = "[", strings = "[";
      for (std::size_t k = 0; k < r.ints.size(); ++k) ints += (k ? ", " : "") + std::to_string(r.ints[k]);
      for (std::size_t k = 0; k < r.bytes.size(); ++k) bytes += (k ? ", " : "") + std::to_string(r.bytes[k]);
      for (std::size_t k = 0; k < r.pairs.size(); ++k) pairs += (k ? ", " : "") + P(r.pairs[k]);
      for (std::size_t k = 0; k < r.strings.size(); ++k) strings += (k ? ", \"" : "\"") + r.strings[k] + "\"";
      ExpectIn(t, Key("ints", ints + "]") + ", " + Key("bytes", bytes + "]") + ", " + Key("pairs", pairs + "]") + ", " +
                      Key("strings", strings + "]"));
    }
  }
}

// The same chain as the manager's timeline test, through the listing.
TEST(MotionTool, StatesAtTicksFollowTheTimeline) {
  MotionFile file;
  MotionTrackRecord first = SampleMotionTrack(TrackKind::Image, 0);
  first.start = 4, first.length = 10, first.cycle = 0;
  first.start_position = {0, 0}, first.end_position = {90, 0};
  first.x_curve = first.y_curve = 0;
  first.start_angle = 0, first.end_angle = -90, first.angle_curve = 0;
  first.start_alpha = 0, first.end_alpha = 100;
  first.crop = {{1, 2}, {30, 40}, {5, 6}, {50, 60}, 0, 0};
  MotionTrackRecord second = first;
  second.parent = 0;
  second.length = 5;
  second.end_position = {190, 0};
  second.start_angle = 45, second.end_angle = 0;
  second.end_alpha = 200;
  second.zoom_x_start = second.zoom_y_start = 1.0;
  file.tracks = {first, second};
  file.header.offset = {0, 0};

  const std::int64_t ticks[] = {3, 13, 14, 18, 19};
  const std::string json = DescribeMotion(WriteMotionFile(file), "a.kmt", true, ticks);
  ExpectIn(json, Key("total_time", 19));
  ExpectIn(json, Key("parent", 0) + ", " + Key("start", 14));
  ExpectIn(json, "{\"time\": 3, \"tracks\": [{\"index\": 0, \"active\": false}, {\"index\": 1, \"active\": false}]}");
  ExpectIn(json, "{\"time\": 13, \"tracks\": [{\"index\": 0, \"active\": true, \"frame\": -1, \"x\": 81, \"y\": 0");
  ExpectIn(json, "{\"time\": 14, \"tracks\": [{\"index\": 0, \"active\": false}, {\"index\": 1, \"active\": true, "
                 "\"frame\": -1, \"x\": 90, \"y\": 0, \"angle\": 192, \"zoom_x\": 256, \"zoom_y\": 256, \"alpha\": 100, "
                 "\"crop\": [5, 6, 55, 66]");
  ExpectIn(json, "{\"time\": 18, \"tracks\": [{\"index\": 0, \"active\": false}, {\"index\": 1, \"active\": true, "
                 "\"frame\": -1, \"x\": 190");
  ExpectIn(json, "{\"time\": 19, \"tracks\": [{\"index\": 0, \"active\": false}, {\"index\": 1, \"active\": false}]}");

  // The text form carries the same values.
  const std::string text = DescribeMotion(WriteMotionFile(file), "a.kmt", false, ticks);
  ExpectIn(text, "total_time: 19\n");
  ExpectIn(text, "at 14\n  track\n    index: 0\n    active: false\n  track\n    index: 1\n    active: true\n");
  ExpectIn(text, "    angle: 192\n");
}

TEST(MotionTool, LengthZeroStaysZeroAndBadFilesNameTheFault) {
  MotionFile file;
  MotionTrackRecord image = SampleMotionTrack(TrackKind::Image, 1);
  image.length = 0;
  file.tracks = {image};
  ExpectIn(DescribeMotion(WriteMotionFile(file), "a.kmt", true, {}), Key("length", 0));

  try {
    DescribeMotion(Bytes{'n', 'o', 'p', 'e'}, "nope.kmt", false, {});
    ADD_FAILURE() << "no error";
  } catch (const KestError& error) {
    ExpectIn(error.what(), "nope.kmt");
    ExpectIn(error.what(), "signature");
  }
  Bytes bad = WriteMotionFile(file);
  bad[42] = 0x7F;
  try {
    DescribeMotion(bad, "bad.kmt", true, {});
    ADD_FAILURE() << "no error";
  } catch (const FormatError& error) {
    EXPECT_EQ(error.Offset(), 42u);
    ExpectIn(error.what(), "bad.kmt");
  }
}

}  // namespace
}  // namespace kest::tool
