// The film manager alone: tracks on a fake display target and a fake scene, pictures from a real
// image cache.

#include <gtest/gtest.h>

#include <map>

#include "core/errors.h"
#include "images/film_manager.h"
#include "images/motion_fixture.h"
#include "support/temp_folder.h"
#include "vfs/file_manager.h"
#include "zelk_support.h"

namespace kest {
namespace {

struct FakeTarget final : TFilmTarget {
  void Show(const TCustomFrameList& track, const FilmTrackState& state) override {
    shown[track.Index()] = state;
    ++shows;
  }
  void Hide(const TCustomFrameList& track) override {
    shown.erase(track.Index());
    hidden.push_back(track.Index());
  }
  std::map<std::int32_t, FilmTrackState> shown;
  std::vector<std::int32_t> hidden;
  int shows = 0;
};

struct FakeScene final : TFilmScene {
  void StartTransition(const FilmTransitionStart& start) override {
    log.push_back("start kind " + std::to_string(start.kind) + " plane " + std::to_string(start.plane) + " step " +
                  std::to_string(start.step) + " of " + std::to_string(start.duration) + (start.reverse ? " reverse" : "") +
                  " " + std::to_string(start.param0) + "," + std::to_string(start.param1) + " " + start.mask_name);
  }
  void SetTransitionStep(std::int64_t step) override { log.push_back("step " + std::to_string(step)); }
  void ShowPlane(int plane) override { log.push_back("plane " + std::to_string(plane)); }
  std::vector<std::string> log;
};

// A track of `kind` from `start` for `length` ticks, moving from (x0, 0) to (x1, 0).
MotionTrackRecord Moving(TrackKind kind, std::int64_t start, std::int64_t length, std::int32_t x0, std::int32_t x1,
                         std::int32_t parent = -1) {
  MotionTrackRecord r;
  r.kind = kind;
  r.kind_byte = static_cast<std::uint8_t>(kind);
  r.start = start;
  r.length = length;
  r.parent = parent;
  r.start_position = {x0, 0};
  r.end_position = {x1, 0};
  return r;
}

Bytes FileOf(std::vector<MotionTrackRecord> tracks, std::int32_t version = kMotionVersion) {
  MotionFile file;
  file.header.version = version;
  file.tracks = std::move(tracks);
  return WriteMotionFile(file);
}

class MotionManagerTest : public ::testing::Test {
 protected:
  MotionManagerTest()
      : files_(FileManagerOptions{.scan_optical_mounts = false, .temp_parent = temp_.Path().string()}), cache_(files_) {
    files_.SetBaseFolder(game_.Path().string() + "/");
  }

  TFilmManager Manager(std::vector<std::string>* messages = nullptr) {
    return TFilmManager({.cache = &cache_,
                         .files = &files_,
                         .user = 77,
                         .on_message = [messages](const std::string& text) {
                           if (messages) messages->push_back(text);
                         }});
  }

  // A picture of frames with the given delays; each frame keyed, with one visible pixel block
  // at (2 + i, 1) so trimming gives it an offset.
  void WritePicture(const std::string& name, const std::vector<std::int32_t>& delays) {
    ZelkFileSpec spec;
    for (std::size_t i = 0; i < delays.size(); ++i) {
      const std::int32_t at = 2 + static_cast<std::int32_t>(i);
      const ZelkPicture picture = MakeZelkPicture(8, 6, 32, [at](std::int32_t x, std::int32_t y) {
        return (x >= at && x < at + 3 && y >= 1 && y < 4) ? 0x00FF0000u : 0x0000FF00u;
      });
      spec.frames.push_back(testing::FrameOf(picture, {testing::LayerOf(picture)}));
      spec.frames.back().key = 0x0000FF00;
      spec.frames.back().delay = delays[i];
    }
    game_.Write(name, WriteZelkFile(spec));  // "/" on disk, "\\" in the title's names
  }

  testing::TempFolder game_, temp_;
  TVrFileManager files_;
  TZelkCollection cache_;
};

TEST_F(MotionManagerTest, TracksShowWhileActiveAndHideOnce) {
  TFilmManager film = Manager();
  FakeTarget target;
  film.SetTarget(&target);
  MotionTrackRecord box = Moving(TrackKind::Box, 10, 11, 0, 100);
  box.order = 3;
  box.flag1 = 1, box.flag2 = 2, box.plane_swap = 1;
  box.start_extent = {10, 20};
  box.end_extent = {110, 220};
  ASSERT_TRUE(film.Load(FileOf({box, Moving(TrackKind::Box, 0, 5, 0, 0)}), "a.kmt"));
  film.SetOrigin({1000, 2000});
  film.SetBasePriority(40);
  EXPECT_EQ(film.TotalTime(), 21);
  EXPECT_EQ(film.FirstTrackWithoutStart(), 1);

  film.Step(0);
  film.Step(9);
  EXPECT_FALSE(target.shown.contains(0));
  film.Step(10);
  ASSERT_TRUE(target.shown.contains(0));
  EXPECT_EQ(target.shown[0].x, 1000);
  EXPECT_EQ(target.shown[0].y, 2000);
  film.Step(15);
  const FilmTrackState& mid = target.shown[0];
  EXPECT_EQ(mid.x, 1050);
  EXPECT_EQ(mid.extent, (MotionPoint{60, 120}));
  EXPECT_EQ(mid.order, 3);
  EXPECT_EQ(mid.priority, 43);
  EXPECT_EQ(mid.flag1, 1);
  EXPECT_EQ(mid.flag2, 2);
  EXPECT_EQ(mid.plane_swap, 1);
  EXPECT_EQ(mid.record, &film.Track(0).Record());
  film.Step(20);
  EXPECT_EQ(target.shown[0].x, 1100);
  film.Step(21);  // start + length is past the end
  film.Step(30);
  EXPECT_FALSE(target.shown.contains(0));
  EXPECT_EQ(target.hidden, (std::vector<std::int32_t>{1, 0}));
}

TEST_F(MotionManagerTest, ChainedTrackStartsFromItsParentsEnd) {
  TFilmManager film = Manager();
  FakeTarget target;
  film.SetTarget(&target);
  MotionTrackRecord first = Moving(TrackKind::Image, 4, 10, 0, 90);
  first.end_angle = -90;
  first.start_alpha = 0, first.end_alpha = 100;
  first.crop = {{1, 2}, {30, 40}, {5, 6}, {50, 60}, 0, 0};
  first.zoom_x_end = 3.0;
  MotionTrackRecord second = Moving(TrackKind::Image, 999, 5, -500, 190, 0);
  second.start_angle = 45, second.end_angle = 0;
  second.start_alpha = 7, second.end_alpha = 200;
  second.crop = {{0, 0}, {0, 0}, {15, 16}, {70, 80}, 0, 0};
  ASSERT_TRUE(film.Load(FileOf({first, second}), "a.kmt"));

  EXPECT_EQ(film.Track(1).Start(), 14);
  EXPECT_TRUE(film.Track(0).HasSuccessor());
  EXPECT_EQ(film.TotalTime(), 19);
  // The parent's last step: a successor follows, so its count is 11 and step 9 is not its end.
  film.Step(13);
  EXPECT_EQ(target.shown[0].x, 81);
  film.Step(14);
  EXPECT_FALSE(target.shown.contains(0));
  const FilmTrackState& s = target.shown.at(1);
  EXPECT_EQ(s.x, 90);
  EXPECT_EQ(s.angle, 192);  // -90 degrees
  EXPECT_EQ(s.alpha, 100);
  EXPECT_EQ(s.crop, (Rect{5, 6, 55, 66}));
  EXPECT_EQ(s.zoom_x, 256);  // zoom does not chain
  film.Step(18);
  EXPECT_EQ(target.shown[1].x, 190);
  EXPECT_EQ(target.shown[1].alpha, 200);
}

TEST_F(MotionManagerTest, AlphaZeroIsOpaqueAndSmallCropsAreWhole) {
  TFilmManager film = Manager();
  FakeTarget target;
  film.SetTarget(&target);
  MotionTrackRecord low = Moving(TrackKind::Image, 0, 8, 0, 0);
  low.crop = {{3, 3}, {5, 0}, {3, 3}, {9, 0}, 0, 0};
  MotionTrackRecord narrow = Moving(TrackKind::Label, 0, 8, 0, 0);
  narrow.crop = {{3, 3}, {-3, 5}, {3, 3}, {0, 5}, 0, 0};
  ASSERT_TRUE(film.Load(FileOf({low, narrow}), "a.kmt"));
  for (std::int64_t t = 0; t < 8; ++t) {
    film.Step(t);
    for (std::int32_t track : {0, 1}) {
      EXPECT_EQ(target.shown.at(track).alpha, 255) << t;
      EXPECT_FALSE(target.shown.at(track).crop) << t;
    }
  }
}

TEST_F(MotionManagerTest, BrokenParentsAndLengths) {
  TFilmManager film = Manager();
  std::vector<MotionTrackRecord> tracks = {
      Moving(TrackKind::Box, 1, 4, 0, 0, 9),    // out of range
      Moving(TrackKind::Box, 2, 4, 0, 0, 1),    // itself
      Moving(TrackKind::Box, 3, 4, 0, 0, 3),    // 2 -> 3 -> 4 -> 2: a cycle
      Moving(TrackKind::Box, 4, 4, 0, 0, 4),
      Moving(TrackKind::Box, 5, 4, 0, 0, 2),
      Moving(TrackKind::Box, 6, 4, 0, 0, 2),    // hangs off the cycle: keeps its parent
      Moving(TrackKind::Box, 7, -30, 0, 0, -5), // a negative length counts as 0
      Moving(TrackKind::Box, 0, 4, 0, 0, 6),
  };
  ASSERT_TRUE(film.Load(FileOf(tracks), "a.kmt"));
  for (std::size_t i : {0u, 1u, 2u, 3u, 4u, 6u}) EXPECT_EQ(film.Track(i).Parent(), nullptr) << i;
  EXPECT_EQ(film.Track(5).Parent(), &film.Track(2));
  EXPECT_EQ(film.Track(5).Start(), 7);
  EXPECT_EQ(film.Track(6).Length(), 0);
  EXPECT_EQ(film.Track(6).Record().length, -30);
  EXPECT_EQ(film.Track(7).Start(), 7);
  EXPECT_EQ(film.TotalTime(), 11);
  EXPECT_EQ(film.FirstTrackWithoutStart(), -1);
}

TEST_F(MotionManagerTest, TimesAreComputedIn64Bits) {
  TFilmManager film = Manager();
  FakeTarget target;
  film.SetTarget(&target);
  const std::int64_t big = std::numeric_limits<std::int32_t>::max();
  std::vector<MotionTrackRecord> tracks{Moving(TrackKind::Box, big * 2, big * 2, 0, 100)};
  for (int i = 0; i < 3; ++i) tracks.push_back(Moving(TrackKind::Box, 0, big * 2, 0, 200 + 100 * i, i));
  // Version 106 doubles the stored values.
  MotionFile file;
  file.header.version = 106;
  file.tracks = tracks;
  ASSERT_TRUE(film.Load(WriteMotionFile(file), "a.kmt"));
  EXPECT_EQ(film.Track(3).Start(), big * 8);
  EXPECT_EQ(film.Track(3).Length(), big * 2);
  EXPECT_EQ(film.TotalTime(), big * 10);
  film.Step(big * 9);
  EXPECT_EQ(target.shown.at(3).x, 350);  // half way from its parent's end, 300, to 400
}

TEST_F(MotionManagerTest, PicturesComeFromTheCacheWithTheirFrames) {
  WritePicture("anim/walk.zel", {48, 80, 32});
  std::vector<std::string> messages;
  TFilmManager film = Manager(&messages);
  FakeTarget target;
  film.SetTarget(&target);
  MotionTrackRecord image = Moving(TrackKind::Image, 0, 30, 0, 0);
  image.cycle = 10;
  image.pivot = {10, 20};
  image.name = "walk.zel";
  MotionTrackRecord tile = Moving(TrackKind::Tile, 0, 0, 0, 0);  // length 0: the frames' sum
  tile.cycle = 0;
  tile.name = "..\\anim\\walk.zel";
  ASSERT_TRUE(film.Load(FileOf({image, tile}), "anim\\clip.kmt"));
  EXPECT_TRUE(messages.empty());

  TZelkItem* item = cache_.Find("anim\\walk.zel?m?t");
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->users, (std::vector<ZelkUser>{77, 77}));
  const TCustomFrameList& track = film.Track(0);
  ASSERT_EQ(track.Frames().size(), 3u);
  EXPECT_EQ(track.Frames()[1].duration, 5);
  EXPECT_EQ(film.Track(1).Length(), 10);
  EXPECT_EQ(film.Track(1).Cycle(), 10);
  EXPECT_EQ(film.TotalTime(), 30);

  const std::pair<std::int64_t, std::int32_t> at[] = {{0, 0}, {3, 1}, {8, 2}, {10, 0}, {25, 1}};
  for (const auto& [time, frame] : at) {
    film.Step(time);
    const FilmTrackState& s = target.shown.at(0);
    EXPECT_EQ(s.frame_index, frame) << time;
    ASSERT_EQ(s.frame, &item->frames[static_cast<std::size_t>(frame)]) << time;
    // The anchor is the pivot less the trimmed frame's offset.
    EXPECT_EQ(s.anchor, (MotionPoint{10 - s.frame->offset_x, 20 - s.frame->offset_y})) << time;
  }
  EXPECT_EQ(item->frames[1].offset_x, 3);
  EXPECT_EQ(item->frames[1].offset_y, 1);

  film.Release();
  EXPECT_TRUE(item->users.empty());
  EXPECT_TRUE(film.Track(0).Frames().empty());
  EXPECT_EQ(cache_.IdleCount(), 1u);
}

TEST_F(MotionManagerTest, SuppressedResourcesAndMotionNames) {
  WritePicture("walk.zel", {48, 80});
  std::vector<std::string> messages;
  TFilmManager film = Manager(&messages);
  film.SetSuppressResources(true);
  MotionTrackRecord image = Moving(TrackKind::Image, 0, 0, 0, 0);
  image.name = "walk.zel";
  MotionTrackRecord nested = Moving(TrackKind::Image, 0, 0, 0, 0);
  nested.name = "other.KMT";
  ASSERT_TRUE(film.Load(FileOf({image, nested}), "a.kmt"));
  EXPECT_EQ(cache_.Count(), 0u);
  EXPECT_EQ(film.Track(0).Length(), 0);  // stays 0 without its picture
  EXPECT_TRUE(film.Track(0).Frames().empty());
  EXPECT_TRUE(messages.empty());

  film.SetSuppressResources(false);
  ASSERT_TRUE(film.Load(FileOf({image, nested}), "a.kmt"));
  EXPECT_EQ(film.Track(0).Length(), 8);
  // A picture name that is a motion file is not followed.
  EXPECT_TRUE(film.Track(1).Frames().empty());
  EXPECT_EQ(cache_.Count(), 1u);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("other.KMT"), std::string::npos);
}

TEST_F(MotionManagerTest, BadFilesLeaveTheManagerEmpty) {
  std::vector<std::string> messages;
  TFilmManager film = Manager(&messages);
  FakeTarget target;
  film.SetTarget(&target);
  ASSERT_TRUE(film.Load(FileOf({Moving(TrackKind::Box, 0, 5, 0, 0)}), "good.kmt"));
  film.Step(1);
  const Bytes other{'K', 'e', 's', 't', 'P', 'i', 'c', 't', 'u', 'r', 'e', '0', '1', 0, 0};
  EXPECT_FALSE(film.Load(other, "pic.kmt"));
  EXPECT_EQ(film.Count(), 0u);
  EXPECT_FALSE(film.Loaded());
  EXPECT_EQ(target.hidden, (std::vector<std::int32_t>{0}));  // loading replaced the shown track
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("pic.kmt"), std::string::npos);

  Bytes bad = FileOf({Moving(TrackKind::Box, 0, 5, 0, 0)});
  bad[42] = 9;  // the kind byte
  EXPECT_THROW(film.Load(bad, "bad.kmt"), FormatError);
  EXPECT_EQ(film.Count(), 0u);
  EXPECT_EQ(film.TotalTime(), 0);

  EXPECT_THROW(film.LoadFromFile("missing.kmt"), KestError);
  game_.Write("sub/good.kmt", FileOf({Moving(TrackKind::Sound, 6, 5, 0, 0)}));
  EXPECT_TRUE(film.LoadFromFile("sub\\good.kmt"));
  EXPECT_EQ(film.SoundStart(), 6);
  EXPECT_EQ(film.FileName(), "sub\\good.kmt");
}

TEST_F(MotionManagerTest, TransitionsSwitchThePlanes) {
  TFilmManager film = Manager();
  FakeScene scene;
  std::vector<MotionTrackRecord> tracks;
  MotionTrackRecord first = Moving(TrackKind::Transition, 2, 3, 0, 0);
  first.transition_kind = 4;
  first.param0 = 1, first.param1 = 2;
  first.name = "m.zel";
  MotionTrackRecord second = Moving(TrackKind::Transition, 0, 2, 0, 0, 0);
  second.transition_kind = 9;
  second.reverse = 1;
  ASSERT_TRUE(film.Load(FileOf({first, second}), "fx\\a.kmt"));
  // Without a scene nothing is asked of one.
  film.Step(3);
  film.SetScene(&scene);
  for (std::int64_t t : {0, 2, 3, 4, 5, 6, 7, 9}) film.Step(t);
  EXPECT_EQ(scene.log, (std::vector<std::string>{
                           "plane 0",
                           "start kind 4 plane 0 step 0 of 3 1,2 fx\\m.zel",
                           "step 1",
                           "step 2",
                           "start kind 9 plane 1 step 0 of 2 reverse 0,0 ",
                           "step 1",
                           "plane 0",
                           "plane 0",
                       }));
  EXPECT_EQ(film.CurrentTransition(), -1);
  // Joining a running track part-way starts it at its step.
  scene.log.clear();
  film.Step(3);
  EXPECT_EQ(scene.log, (std::vector<std::string>{"start kind 4 plane 0 step 1 of 3 1,2 fx\\m.zel"}));
}

TEST_F(MotionManagerTest, LoopStartAndHeaderOffset) {
  TFilmManager film = Manager();
  FakeTarget target;
  film.SetTarget(&target);
  MotionFile file;
  file.header.interval = 50;
  file.header.offset = {30, 40};
  file.header.flag = 1;
  file.tracks = {Moving(TrackKind::Fire, 0, 20, 100, 100)};
  ASSERT_TRUE(film.Load(WriteMotionFile(file), "a.kmt"));
  EXPECT_TRUE(film.RelativeToObject());
  EXPECT_EQ(film.FrameCount(), 20);
  EXPECT_EQ(film.LoopStart(), 20);  // within the count
  film.Step(0);
  EXPECT_EQ(target.shown[0].x, 70);
  EXPECT_EQ(target.shown[0].y, -40);
  // Positions far out saturate instead of wrapping.
  film.SetOrigin({std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::int32_t>::min()});
  film.Step(1);
  EXPECT_EQ(target.shown[0].x, std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(target.shown[0].y, std::numeric_limits<std::int32_t>::min());
  file.header.version = 105;
  ASSERT_TRUE(film.Load(WriteMotionFile(file), "a.kmt"));
  EXPECT_EQ(film.LoopStart(), 0);
}

}  // namespace
}  // namespace kest
