// The demo's animation scene, played headless with scripted clicks: the sprite's frames, the
// scrolling sky, the radio group, the pop buttons (one plays its clicked picture and reports the
// end, one goes away after it), the dancer that the motion file moves, and the handlers' trace.

#include <gmock/gmock.h>

#include <map>

#include "animation_pictures.h"
#include "demo_run.h"

namespace kest::testing {
namespace {

// The animation box opens the scene at frame 5; radio 2 is clicked twice (it stays selected:
// the group does not allow all up), then the pop button and the button that goes away.
constexpr char kAnimationInput[] =
    "5 click 300 435\n"
    "30 click 200 336\n"
    "40 click 200 336\n"
    "50 click 432 336\n"
    "60 click 532 336\n"
    "65 move 620 470\n";

constexpr int kSpriteX = 60, kSpriteY = 150;
constexpr int kRadioY = 320, kPopX = 400, kScrapX = 500, kPopY = 320;
constexpr int kRadioX[3] = {40, 150, 260};

// The trace names a handler by its page and line: the line of `label` in the demo's anim.kss.
std::string HandlerLine(const std::string& label) {
  const std::vector<std::string> lines = SplitLines(ReadText(std::string(KEST_DEMO_SOURCE) + "/anim.kss"));
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (lines[i] == "Label " + label) return "anim.ksb(" + std::to_string(i + 1) + ")";
  ADD_FAILURE() << "anim.kss has no label " << label;
  return "";
}

// The sprite frame a screenshot shows, or -1 when it matches none.
int SpriteFrameIn(const DecodedImage& shot) {
  for (int f = 0; f < demo::kSpriteFrames; ++f) {
    bool all = true;
    for (int y = 4; y < demo::kSpriteSide && all; y += 3)
      for (int x = 4; x < demo::kSpriteSide && all; x += 3) {
        const std::uint32_t want = demo::SpritePixel(f, x, y);
        if (want != demo::kAnimKey && Pixel(shot, kSpriteX + x, kSpriteY + y) != want) all = false;
      }
    if (all) return f;
  }
  return -1;
}

// How far the sky is scrolled (0..63), or -1 when no scroll matches.
int SkyScrollIn(const DecodedImage& shot) {
  for (int s = 0; s < demo::kCloudWidth; ++s) {
    bool all = true;
    for (int y = 0; y < 96 && all; y += 5)
      for (int x = 0; x < 640 && all; x += 7)
        if (Pixel(shot, x, y) != demo::CloudPixel((x + s) % demo::kCloudWidth, y % demo::kCloudHeight)) all = false;
    if (all) return s;
  }
  return -1;
}

// The bounding box of the pixels that are not the stage's colour, inside the stage.
struct Box {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
  bool Empty() const { return right < 0; }
};
constexpr int kStageX = 340, kStageY = 120, kStageWidth = 260, kStageHeight = 140;
constexpr std::uint32_t kStagePixel = 0x303040;
Box DancerIn(const DecodedImage& shot) {
  Box box;
  for (int y = kStageY; y < kStageY + kStageHeight; ++y)
    for (int x = kStageX; x < kStageX + kStageWidth; ++x)
      if (Pixel(shot, x, y) != kStagePixel) {
        box.left = std::min(box.left, x);
        box.top = std::min(box.top, y);
        box.right = std::max(box.right, x);
        box.bottom = std::max(box.bottom, y);
      }
  return box;
}

class AnimationRun : public DemoRun {
 protected:
  void SetUp() override {
    std::vector<std::string> options = {"--headless", "--frames", "110", "--save-dir", SaveDir(),
                                        "--trace", work_.File("trace.txt"), "--dump-vars", work_.File("vars.txt")};
    for (const int frame : {20, 45, 80, 109}) {
      options.push_back("--screenshot");
      options.push_back(std::to_string(frame) + ":" + work_.File("shot" + std::to_string(frame) + ".png"));
    }
    const ProgramRun run = Run(options, kAnimationInput);
    ASSERT_EQ(run.status, 0) << run.err;
    for (const int frame : {20, 45, 80, 109}) shots_[frame] = Screenshot("shot" + std::to_string(frame) + ".png");
  }

  std::map<int, DecodedImage> shots_;
};

TEST_F(AnimationRun, TheSpriteLoopsItsFramesAndTheSkyScrolls) {
  // 25 frames of 16 ms are 400 ms: four frames of 100 ms on.
  const int first = SpriteFrameIn(shots_[20]);
  ASSERT_GE(first, 0);
  EXPECT_EQ(SpriteFrameIn(shots_[45]), (first + 4) % demo::kSpriteFrames);
  // The sprite's key pixels show the backdrop.
  EXPECT_EQ(Pixel(shots_[20], kSpriteX + 1, kSpriteY + 1), 0x181828u);
  const int scroll = SkyScrollIn(shots_[20]);
  ASSERT_GE(scroll, 0);
  EXPECT_EQ(SkyScrollIn(shots_[45]), (scroll + 25) % demo::kCloudWidth);  // a pixel a frame
}

TEST_F(AnimationRun, TheRadioGroupKeepsOneSelectedAndThePopButtonsPlayTheirPicture) {
  const auto radio_dot = [&](const DecodedImage& shot, int i) { return Pixel(shot, kRadioX[i] + 16, kRadioY + 16); };
  // At first the first radio is selected; after the clicks (the second twice) the second.
  EXPECT_EQ(radio_dot(shots_[20], 0), 0xFFC020u);
  EXPECT_EQ(radio_dot(shots_[20], 1), 0x404850u);
  EXPECT_EQ(radio_dot(shots_[80], 0), 0x404850u);
  EXPECT_EQ(radio_dot(shots_[80], 1), 0xFFC020u);
  EXPECT_EQ(radio_dot(shots_[80], 2), 0x404850u);
  // The pop button is back to its picture; the other one has gone, leaving the backdrop.
  EXPECT_EQ(Pixel(shots_[109], kPopX + 2, kPopY + 2), 0x8040B0u);
  EXPECT_EQ(Pixel(shots_[80], kScrapX + 2, kPopY + 2), 0x181828u);

  const std::string vars = ReadText(work_.File("vars.txt"));
  EXPECT_THAT(vars, ::testing::HasSubstr("sel1\tglobal\tbool\tFALSE"));
  EXPECT_THAT(vars, ::testing::HasSubstr("sel2\tglobal\tbool\tTRUE"));
  EXPECT_THAT(vars, ::testing::HasSubstr("sel3\tglobal\tbool\tFALSE"));
  EXPECT_THAT(vars, ::testing::HasSubstr("pops\tglobal\tint\t2"));
  EXPECT_THAT(vars, ::testing::HasSubstr("pop_ends\tglobal\tint\t1"));
  EXPECT_THAT(vars, ::testing::ContainsRegex("sprite_index\tglobal\tint\t[0-7]\n"));

  // The handlers: picked twice, popped twice, the pop's end once.
  std::map<std::string, int> events;
  for (const std::string& line : SplitLines(ReadText(work_.File("trace.txt"))))
    if (const std::size_t at = line.find("<Event>anim.ksb("); at != std::string::npos) ++events[line.substr(at + 7)];
  EXPECT_EQ(events[HandlerLine("picked")], 2);
  EXPECT_EQ(events[HandlerLine("popped")], 2);
  EXPECT_EQ(events[HandlerLine("pop_end")], 1);
}

TEST_F(AnimationRun, TheMotionFileMovesTheDancerAcrossTheStage) {
  // In the first leg the dancer glides right along the top, whole and opaque.
  const Box early = DancerIn(shots_[20]), later = DancerIn(shots_[45]);
  ASSERT_FALSE(early.Empty());
  ASSERT_FALSE(later.Empty());
  EXPECT_EQ(early.right - early.left + 1, demo::kDancerSide);
  EXPECT_EQ(early.top, kStageY + demo::kDanceCorners[0].y - demo::kDancerSide / 2);
  EXPECT_GT(later.left, early.left);
  EXPECT_EQ(Pixel(shots_[20], early.left + 1, early.top + 1), demo::DancerPixel(1, 1));
  // Nothing of it shows outside the stage, and it is never left behind as a trail.
  const Box end = DancerIn(shots_[109]);
  EXPECT_LE(end.right - end.left, 2 * demo::kDancerSide);
  EXPECT_EQ(Pixel(shots_[45], kStageX - 1, early.top + 4), 0x181828u);
}

}  // namespace
}  // namespace kest::testing
