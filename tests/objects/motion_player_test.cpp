// The motion player on a control, driven by frames that record what it asks: when its clock
// starts, which frame it shows, looping, seeking, following a moved control, and the end.

#include <gtest/gtest.h>

#include <vector>

#include "images/motion.h"
#include "objects/components/motion.h"
#include "picture_fixture.h"

namespace kest {
namespace {

using testing::PictureScene;

struct Recorded {
  std::vector<std::int32_t> applied;
  std::vector<std::pair<std::int64_t, std::int64_t>> anchors;
  std::int32_t base_priority = -1;
};

class FakeFrames : public TMotionFrames {
 public:
  FakeFrames(Recorded& out, std::int32_t count, std::int32_t loop_start, bool relative)
      : out_(out), count_(count), loop_start_(loop_start), relative_(relative) {}
  std::int32_t FrameCount() const override { return count_; }
  std::int32_t LoopStart() const override { return loop_start_; }
  bool Relative() const override { return relative_; }
  void SetAnchor(std::int64_t x, std::int64_t y) override { out_.anchors.emplace_back(x, y); }
  void SetBasePriority(std::int32_t priority) override { out_.base_priority = priority; }
  void Apply(TKestControl& control, std::int32_t frame) override {
    out_.applied.push_back(frame);
    control.SetMotionPosition(frame, 0);
  }

 private:
  Recorded& out_;
  std::int32_t count_, loop_start_;
  bool relative_;
};

class MotionPlayer : public ::testing::Test {
 protected:
  // Every ".kmt" name plays `count` frames.
  void UseFrames(std::int32_t count, std::int32_t loop_start = 0, bool relative = false) {
    pics_.scene.list.SetMotionLoader([=, this](TKestControl&, const std::string&) {
      return std::make_unique<FakeFrames>(rec_, count, loop_start, relative);
    });
  }
  void Frames(int n) {
    for (int i = 0; i < n; ++i) pics_.scene.RunFrame();
  }

  PictureScene pics_;
  Recorded rec_;
};

TEST_F(MotionPlayer, TheClockStartsAtTheThirdUpdateAndFramesAreRoundedSixtieths) {
  UseFrames(100);
  TKestBox& box = pics_.scene.Box("box", {5, 5, 4, 4}, 0x123456);
  box.SetPriority(7);
  SetProp(box, PR_SOURCE, std::string("walk.kmt"));
  ASSERT_NE(box.GetMotion(), nullptr);
  Frames(2);
  EXPECT_EQ(box.GetMotion()->Elapsed(), 0);
  EXPECT_EQ(rec_.applied, (std::vector<std::int32_t>{0}));
  EXPECT_EQ(rec_.base_priority, 7);
  EXPECT_EQ(rec_.anchors, (std::vector<std::pair<std::int64_t, std::int64_t>>{{0, 0}}));
  // 16 ms a frame: elapsed 16, 32, 48, 64 give round(elapsed / 16.67) = 1, 2, 3, 4; 25 ms
  // frames later give 89 -> 5, 114 -> 7 (6.84).
  Frames(4);
  EXPECT_EQ(box.GetMotion()->Frame(), 4);
  EXPECT_EQ(box.MotionX(), 4);
  EXPECT_EQ(box.GetScreenLeft(), 4);  // positioned by the motion
  box.GetMotion()->Step(25, false);
  EXPECT_EQ(box.GetMotion()->Frame(), 5);
  box.GetMotion()->Step(25, false);
  EXPECT_EQ(box.GetMotion()->Frame(), 7);
  // Writing Index on a picture moves the motion's elapsed time to round(Index x 16.67).
  TKestImages& image = pics_.Create<TKestImages>(LT_IMAGES, {{PR_SOURCE, std::string("a.kmt")}});
  SetProp(image, PR_INDEX, std::int32_t{3});
  EXPECT_EQ(image.GetMotion()->Elapsed(), 50);
  SetProp(image, PR_INDEX, std::int32_t{10});
  EXPECT_EQ(image.GetMotion()->Elapsed(), 167);
  EXPECT_EQ(GetProp(image, PR_COUNT), PropValue(std::int32_t{100}));
}

TEST_F(MotionPlayer, RepeatWrapsToTheLoopStartAndMovingARelativeMotionReanchorsIt) {
  UseFrames(10, 4, true);
  TKestImages& image = pics_.Create<TKestImages>(
      LT_IMAGES, {{PR_SOURCE, std::string("a.kmt")}, {PR_REPEAT, true}, {PR_LEFT, std::int32_t{20}}});
  TKestMotion& motion = *image.GetMotion();
  Frames(2);
  motion.SeekFrame(9);
  // 150 + 16 = 166 ms is frame 10: 10 mod 10 + 4 = 4, and the time goes back to 67 ms.
  Frames(1);
  EXPECT_EQ(motion.Frame(), 4);
  EXPECT_EQ(motion.Elapsed(), 67);
  EXPECT_FALSE(motion.Ended());
  rec_.anchors.clear();
  rec_.applied.clear();
  SetProp(image, PR_LEFT, std::int32_t{30});
  Frames(1);
  ASSERT_FALSE(rec_.anchors.empty());
  EXPECT_EQ(rec_.anchors.front(), (std::pair<std::int64_t, std::int64_t>{30, 0}));
  EXPECT_FALSE(rec_.applied.empty());
}

TEST_F(MotionPlayer, AThirtyFrameMotionEndsAfterHalfASecondWithOnePlayEndOrItsDestruction) {
  UseFrames(30);
  TKestBox& box = pics_.scene.Box("box", {5, 5, 4, 4}, 0x123456);
  SetProp(box, PR_ONPLAYEND, std::string("p:end"));
  SetProp(box, PR_SOURCE, std::string("m.kmt"));
  TKestBox& gone = pics_.scene.Box("gone", {5, 5, 4, 4}, 0x123456);
  SetProp(gone, PR_AUTOSCRAP, true);
  SetProp(gone, PR_SOURCE, std::string("m.kmt"));
  const ObjectId gone_id = gone.Id();
  // Two updates before the clock starts, then 16 ms each: frame 30 is reached at 496 ms
  // (29.76 rounds to 30), on the 33rd update.
  Frames(32);
  EXPECT_EQ(pics_.Queued(PR_ONPLAYEND), 0u);
  EXPECT_TRUE(pics_.scene.list.Contains(gone_id));
  Frames(1);
  EXPECT_EQ(pics_.Queued(PR_ONPLAYEND), 1u);
  EXPECT_FALSE(pics_.scene.list.Contains(gone_id));
  EXPECT_TRUE(box.GetMotion()->Ended());
  EXPECT_EQ(box.GetMotion()->Frame(), 29);
  Frames(10);
  EXPECT_EQ(pics_.Queued(PR_ONPLAYEND), 1u);
  // Repeat turned on restarts the ended motion.
  SetProp(box, PR_REPEAT, true);
  EXPECT_FALSE(box.GetMotion()->Ended());
}

TEST_F(MotionPlayer, AMotionWithoutFramesHasEndedFromTheStart) {
  UseFrames(0);
  TKestBox& box = pics_.scene.Box("box", {5, 5, 4, 4}, 0x123456);
  SetProp(box, PR_ONPLAYEND, std::string("p:end"));
  SetProp(box, PR_SOURCE, std::string("empty.kmt"));
  SetProp(box, PR_REPEAT, true);
  ASSERT_NE(box.GetMotion(), nullptr);
  EXPECT_TRUE(box.GetMotion()->Ended());
  Frames(5);
  EXPECT_EQ(pics_.Queued(PR_ONPLAYEND), 0u);
  EXPECT_TRUE(rec_.applied.empty());
}

TEST_F(MotionPlayer, DroppingTheMotionPutsTheControlBackAndWithoutALoaderItSaysSoOnce) {
  UseFrames(10);
  TKestBox& box = pics_.scene.Box("box", {5, 6, 4, 4}, 0x123456);
  SetProp(box, PR_SOURCE, std::string("m.kmt"));
  Frames(6);
  EXPECT_NE(box.MotionX(), 0);
  SetProp(box, PR_SOURCE, std::string("other"));
  EXPECT_EQ(box.GetMotion(), nullptr);
  EXPECT_EQ(box.MotionX(), 0);
  EXPECT_EQ(box.GetScreenLeft(), 5);

  // Without a loader and an image cache, motion files say once that they cannot play.
  testing::SceneHarness bare;
  std::vector<std::string> notes;
  bare.list.SetNotice([&notes](const std::string& n) { notes.push_back(n); });
  TKestBox& plain = bare.Box("box", {5, 6, 4, 4}, 0x123456);
  SetProp(plain, PR_SOURCE, std::string("a.kmt"));
  SetProp(plain, PR_SOURCE, std::string("b.kmt"));
  EXPECT_EQ(plain.GetMotion(), nullptr);
  EXPECT_EQ(notes.size(), 1u);
}

TEST_F(MotionPlayer, AMotionFileMovesAPictureChildThroughTheFilmManager) {
  pics_.Write("red.zel", {testing::TestFrame{}});
  MotionFile file;
  file.header.version = 108;
  MotionTrackRecord track;
  track.kind = TrackKind::Image;
  track.length = 30;
  track.start_position = {0, 0};
  track.end_position = {30, 0};
  track.order = 2;
  track.name = "red.zel";
  file.tracks = {track};
  pics_.WriteBytes("walk.kmt", WriteMotionFile(file));
  std::vector<std::string> notes;
  pics_.scene.list.SetNotice([&notes](const std::string& n) { notes.push_back(n); });
  TKestBox& box = pics_.scene.Box("box", {0, 0, 40, 30}, -1);
  box.SetPriority(5);
  SetProp(box, PR_SOURCE, std::string("walk.kmt"));
  ASSERT_NE(box.GetMotion(), nullptr) << (notes.empty() ? "" : notes[0]);
  EXPECT_EQ(box.GetMotion()->FrameCount(), 30);
  Frames(2);
  ASSERT_EQ(box.Children().size(), 1u);
  auto* child = dynamic_cast<TKestImage*>(box.Children()[0]);
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(child->Name(), "\x01" "0");
  EXPECT_EQ(child->Priority(), 5 + 2);
  ASSERT_NE(child->GetSurface(), nullptr);
  EXPECT_EQ(child->Width(), 6);
  const std::int64_t first = child->GetScreenLeft();
  Frames(10);
  EXPECT_GT(child->GetScreenLeft(), first);
  EXPECT_TRUE(pics_.scene.WindowEqualsFullRepaint());
  // The track objects are never saved, and go with the motion.
  SetProp(box, PR_SOURCE, std::string());
  Frames(1);
  EXPECT_TRUE(box.Children().empty());
}

TEST_F(MotionPlayer, ATracksCropShowsOnlyThatPartOfItsPictureWhereItLies) {
  pics_.Write("red.zel", {testing::TestFrame{}});
  MotionFile file;
  MotionTrackRecord track;
  track.kind = TrackKind::Image;
  track.length = 30;
  track.start_position = track.end_position = {10, 5};
  track.crop.origin_start = track.crop.origin_end = {2, 1};
  track.crop.size_start = track.crop.size_end = {3, 2};
  track.start_alpha = track.end_alpha = 255;
  track.name = "red.zel";
  MotionTrackRecord zoomed = track;
  zoomed.zoom_x_start = zoomed.zoom_x_end = zoomed.zoom_y_start = zoomed.zoom_y_end = 2.0;
  MotionTrackRecord whole = track;
  whole.crop.size_start = whole.crop.size_end = {0, 0};  // below one pixel: the whole picture
  file.tracks = {track, zoomed, whole};
  pics_.WriteBytes("crop.kmt", WriteMotionFile(file));
  TKestBox& box = pics_.scene.Box("box", {0, 0, 60, 40}, -1);
  SetProp(box, PR_SOURCE, std::string("crop.kmt"));
  Frames(3);
  ASSERT_EQ(box.Children().size(), 3u);
  const auto clip_of = [&](int index) {
    auto* child = dynamic_cast<TKestImage*>(box.Children()[static_cast<std::size_t>(index)]);
    EXPECT_NE(child, nullptr);
    const std::optional<Rect> clip = child->ScreenClipRect();
    const std::int64_t left = child->GetScreenLeft(), top = child->GetScreenTop();
    return clip ? std::optional<Rect>(Rect{static_cast<std::int32_t>(clip->left - left), static_cast<std::int32_t>(clip->top - top),
                                           static_cast<std::int32_t>(clip->right - left), static_cast<std::int32_t>(clip->bottom - top)})
                : std::nullopt;
  };
  EXPECT_EQ(clip_of(0), (Rect{2, 1, 5, 3}));
  EXPECT_EQ(clip_of(1), (Rect{4, 2, 10, 6}));  // the crop zoomed with the picture
  EXPECT_EQ(clip_of(2), std::nullopt);
  EXPECT_TRUE(pics_.scene.WindowEqualsFullRepaint());
}

TEST_F(MotionPlayer, AnEndedMotionsPicturesFollowAReloadOfTheImageCache) {
  // A masked picture: reloading the cache gives it a new surface.
  testing::TestFrame masked;
  masked.mask = [](std::int32_t x, std::int32_t) { return x < 3 ? 255u : 128u; };
  pics_.Write("red.zel", {masked});
  MotionFile file;
  MotionTrackRecord track;
  track.kind = TrackKind::Image;
  track.length = 10;
  track.name = "red.zel";
  file.tracks = {track};
  pics_.WriteBytes("short.kmt", WriteMotionFile(file));
  TKestBox& box = pics_.scene.Box("box", {0, 0, 40, 30}, -1);
  SetProp(box, PR_SOURCE, std::string("short.kmt"));
  Frames(20);  // ended on its last frame, which stays shown
  ASSERT_TRUE(box.GetMotion()->Ended());
  ASSERT_EQ(box.Children().size(), 1u);
  auto* child = dynamic_cast<TKestImage*>(box.Children()[0]);
  ASSERT_NE(child, nullptr);
  pics_.scene.list.SetDither(true);
  const TZelkItem* item = pics_.Cache().Find("red.zel?m?t");
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(child->GetSurface(), item->frames.at(0).surface.get());
  EXPECT_EQ(child->GetMask(), item->frames.at(0).mask.get());
  Frames(1);  // paints the reloaded picture
  EXPECT_TRUE(pics_.scene.WindowEqualsFullRepaint());
}

}  // namespace
}  // namespace kest
