#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "core/cp932.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/null_sound.h"
#include "platform/png_writer.h"
#include "support/temp_folder.h"

namespace kest::platform {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr std::uint32_t kRed = 0x00FF0000;
constexpr std::uint32_t kBlue = 0x000000FF;
constexpr std::uint32_t kBlack = 0;

// A scene surface filled with one colour, given as 0x00RRGGBB (stored B, G, R, X).
Image Filled(Size size, std::uint32_t colour) {
  Image image{size, std::vector<std::uint8_t>(static_cast<std::size_t>(size.width * size.height) * 4)};
  for (std::size_t i = 0; i < image.bgrx.size(); i += 4) {
    image.bgrx[i] = static_cast<std::uint8_t>(colour);
    image.bgrx[i + 1] = static_cast<std::uint8_t>(colour >> 8);
    image.bgrx[i + 2] = static_cast<std::uint8_t>(colour >> 16);
  }
  return image;
}

std::uint32_t PixelAt(const Image& image, int x, int y) {
  const std::uint8_t* p = &image.bgrx[(static_cast<std::size_t>(y) * image.size.width + x) * 4];
  return p[0] | (p[1] << 8) | (p[2] << 16);
}

// The colours of one image row as a string of letters, for readable expectations.
std::string RowLetters(const Image& image, int y) {
  std::string letters;
  for (int x = 0; x < image.size.width; ++x) {
    const std::uint32_t pixel = PixelAt(image, x, y);
    letters += pixel == kRed ? 'R' : pixel == kBlue ? 'B' : pixel == kBlack ? '.' : '?';
  }
  return letters;
}

class HeadlessTest : public ::testing::Test {
 protected:
  explicit HeadlessTest(const std::string& script = "")
      : platform_(HeadlessOptions{ParseScriptedInput(script, "test.txt"), &log_}) {}

  std::vector<InputEvent> Drain() {
    std::vector<InputEvent> events;
    while (std::optional<InputEvent> event = platform_.PollEvent()) events.push_back(std::move(*event));
    return events;
  }

  std::ostringstream log_;
  HeadlessPlatform platform_;
};

TEST_F(HeadlessTest, FramebufferChangesOnlyThroughPresentedRectangles) {
  Display& display = platform_.OpenDisplay({{8, 4}, "t"});
  const Image red = Filled({8, 4}, kRed);
  const Image blue = Filled({8, 4}, kBlue);

  const Rect first[] = {{1, 1, 3, 3}};
  EXPECT_TRUE(display.Present(red.View(), first));
  // The whole scene is blue now, but only this rectangle is presented: the rest stays stale.
  const Rect second[] = {{2, 0, 4, 2}, {6, 3, 99, 99}, {5, 1, 5, 3}};  // clipped, and an empty one
  EXPECT_TRUE(display.Present(blue.View(), second));

  const Image& frame = platform_.Framebuffer();
  EXPECT_EQ(RowLetters(frame, 0), "..BB....");
  EXPECT_EQ(RowLetters(frame, 1), ".RBB....");
  EXPECT_EQ(RowLetters(frame, 2), ".RR.....");
  EXPECT_EQ(RowLetters(frame, 3), "......BB");
}

TEST_F(HeadlessTest, PresentingNothingChangesNothingAndIsNotCounted) {
  Display& display = platform_.OpenDisplay({{4, 4}, "t"});
  const Image red = Filled({4, 4}, kRed);
  const Rect outside[] = {{4, 0, 8, 4}, {-3, -3, 0, 0}, {2, 2, 1, 1}};
  EXPECT_FALSE(display.Present(red.View(), outside));
  EXPECT_FALSE(display.Present(red.View(), {}));
  EXPECT_EQ(platform_.Framebuffer().bgrx, Filled({4, 4}, kBlack).bgrx);
}

TEST_F(HeadlessTest, BottomUpAndSmallerSurfacesArePresentedRightWayUp) {
  Display& display = platform_.OpenDisplay({{4, 3}, "t"});
  // A 2 x 2 surface stored bottom-up: its stored first row is the scene's row 1.
  Image stored = Filled({2, 2}, kBlue);
  for (int i = 0; i < 8; i += 4) {  // stored row 0 red
    stored.bgrx[i] = 0;
    stored.bgrx[i + 2] = 0xFF;
  }
  const SurfaceView bottom_up{stored.bgrx.data() + 8, -8, {2, 2}};
  const Rect all[] = {{0, 0, 4, 3}};  // clipped to the smaller surface
  EXPECT_TRUE(display.Present(bottom_up, all));
  EXPECT_EQ(RowLetters(platform_.Framebuffer(), 0), "BB..");
  EXPECT_EQ(RowLetters(platform_.Framebuffer(), 1), "RR..");
  EXPECT_EQ(RowLetters(platform_.Framebuffer(), 2), "....");
}

TEST_F(HeadlessTest, ScreenshotsAreTheFramebufferAsPng) {
  EXPECT_THROW(platform_.Framebuffer(), PlatformError);
  Display& display = platform_.OpenDisplay({{5, 3}, "t"});
  const Image red = Filled({5, 3}, kRed);
  const Rect part[] = {{0, 0, 2, 3}};
  display.Present(red.View(), part);
  testing::TempFolder folder;
  platform_.WriteScreenshot(folder.File("a.png"));
  EXPECT_EQ(folder.Read("a.png"), EncodePng(platform_.Framebuffer().View()));
  EXPECT_NE(folder.Read("a.png"), EncodePng(red.View()));  // the stale part is in the picture
}

TEST_F(HeadlessTest, TheDockLiesAboveThePanelInAWindowOnly) {
  Display& display = platform_.OpenDisplay({.scene = {4, 3}, .title = "t", .scale = 1, .dock_height = 2});
  EXPECT_EQ(display.SceneSize(), (Size{4, 3}));
  EXPECT_EQ(display.ClientSize(), (Size{4, 5}));
  EXPECT_EQ(display.PanelTop(), 2);
  // The picture holds the dock's rows (blue) above the scene's (red).
  Image picture = Filled({4, 5}, kRed);
  for (int x = 0; x < 4; ++x)
    for (int y = 0; y < 2; ++y) std::copy_n(Filled({1, 1}, kBlue).bgrx.data(), 4, &picture.bgrx[(y * 4 + x) * 4]);
  const Rect all[] = {{0, 0, 4, 5}};
  display.Present(picture.View(), all);
  EXPECT_EQ(display.CaptureWindow().bgrx, picture.bgrx);
  // The screen's capture is the panel alone.
  EXPECT_EQ(display.CaptureOutput().bgrx, Filled({4, 3}, kRed).bgrx);

  // Full screen has no dock: the picture is the scene's size, black until presented again.
  ASSERT_TRUE(display.SetScreenMode(ScreenMode::kFullScreen));
  EXPECT_EQ(display.ClientSize(), (Size{4, 3}));
  EXPECT_EQ(display.PanelTop(), 0);
  EXPECT_EQ(display.CaptureWindow().bgrx, Filled({4, 3}, kBlack).bgrx);
  ASSERT_TRUE(display.SetScreenMode(ScreenMode::kWindow));
  EXPECT_EQ(display.ClientSize(), (Size{4, 5}));
}

TEST_F(HeadlessTest, OutputCaptureFollowsScaleAndFullScreen) {
  Display& display = platform_.OpenDisplay({{4, 3}, "t", 2});
  const Image red = Filled({4, 3}, kRed);
  const Rect corner[] = {{0, 0, 1, 1}};
  display.Present(red.View(), corner);

  Image output = display.CaptureOutput();
  ASSERT_EQ(output.size, (Size{8, 6}));
  EXPECT_EQ(RowLetters(output, 0), "RR......");
  EXPECT_EQ(RowLetters(output, 1), "RR......");
  EXPECT_EQ(RowLetters(output, 2), "........");

  EXPECT_FALSE(display.SetScale(0));
  EXPECT_FALSE(display.SetScale(kMaxScale + 1));
  EXPECT_EQ(display.Scale(), 2);

  // 4 x 3 on 1280 x 720: 960 x 720 in the middle, bars of 160 on each side.
  EXPECT_TRUE(display.SetScreenMode(ScreenMode::kFullScreen, DisplayMode{1280, 720, 32, 60}));
  output = display.CaptureOutput();
  ASSERT_EQ(output.size, (Size{1280, 720}));
  EXPECT_EQ(PixelAt(output, 159, 0), kBlack);
  EXPECT_EQ(PixelAt(output, 160, 0), kRed);
  EXPECT_EQ(PixelAt(output, 399, 239), kRed);  // the last output pixel of scene pixel 0, 0
  EXPECT_EQ(PixelAt(output, 400, 239), kBlack);
  EXPECT_EQ(PixelAt(output, 160, 240), kBlack);

  // A mode the screen does not have is refused and full screen stays as it was.
  EXPECT_FALSE(display.SetScreenMode(ScreenMode::kFullScreen, DisplayMode{1234, 567, 32, 60}));
  EXPECT_EQ(display.CaptureOutput().size, (Size{1280, 720}));
  EXPECT_TRUE(display.SetScreenMode(ScreenMode::kWindow));
  EXPECT_EQ(display.CurrentScreenMode(), ScreenMode::kWindow);
  EXPECT_EQ(display.CaptureOutput().size, (Size{8, 6}));
}

TEST_F(HeadlessTest, ClockMovesOnlyWhenTheRunnerSaysSo) {
  EXPECT_EQ(platform_.Tick(), 0u);
  platform_.Sleep(500);
  EXPECT_EQ(platform_.Tick(), 0u);
  EXPECT_EQ(platform_.SleptMs(), 500u);
  platform_.AdvanceClock(16);
  platform_.AdvanceClock(16);
  EXPECT_EQ(platform_.Tick(), 32u);
  platform_.AdvanceClock(0xFFFFFFF0u);  // wraps like the real tick; differences stay right
  EXPECT_EQ(platform_.Tick(), 16u);
  EXPECT_EQ(platform_.Tick() - 32u, 0xFFFFFFF0u);
}

TEST_F(HeadlessTest, NullSoundPullsExactlyTheFramesOfVirtualTime) {
  std::vector<std::size_t> blocks;
  std::uint64_t pulled = 0;
  SoundOutput& sound = platform_.OpenSound([&](std::span<std::int16_t> samples) {
    blocks.push_back(samples.size());
    pulled += samples.size() / kChannels;
    std::fill(samples.begin(), samples.end(), std::int16_t{0});
  });
  EXPECT_EQ(sound.State(), SoundState::kPlaying);
  for (int frame = 0; frame < 125; ++frame) platform_.AdvanceClock(16);  // 2000 ms in 16 ms steps
  EXPECT_EQ(sound.FramesPlayed(), 2u * kSampleRate);
  EXPECT_EQ(pulled, 2u * kSampleRate);
  for (std::size_t block : blocks) EXPECT_LE(block, NullSoundOutput::kBlockFrames * kChannels);

  sound.SetState(SoundState::kPaused);
  platform_.AdvanceClock(60'000);  // a paused device plays nothing, and the time is not owed
  EXPECT_EQ(sound.FramesPlayed(), 2u * kSampleRate);
  sound.SetState(SoundState::kPlaying);
  platform_.AdvanceClock(3000);  // a long step is pulled in device-sized blocks
  EXPECT_EQ(sound.FramesPlayed(), 5u * kSampleRate);
  EXPECT_EQ(pulled, 5u * kSampleRate);
  EXPECT_LE(*std::max_element(blocks.begin(), blocks.end()), NullSoundOutput::kBlockFrames * kChannels);

  EXPECT_THROW(platform_.OpenSound({}), PlatformError);
  platform_.CloseSound();
  EXPECT_EQ(platform_.CurrentSound(), nullptr);
}

class ScriptedHeadlessTest : public HeadlessTest {
 protected:
  ScriptedHeadlessTest()
      : HeadlessTest("0 move 5 6\n"
                     "0 key 13\n"
                     "2 click 7 8\n"
                     "2 event page:label Button1\n"
                     "2 wheel up\n"
                     "5 text \xE3\x81\x82\n"
                     "5 deactivate\n"
                     "6 activate\n"
                     "6 quit\n") {}
};

TEST_F(ScriptedHeadlessTest, ActionsArriveAtTheirFrames) {
  platform_.OpenDisplay({{640, 480}, "t"});
  Display& display = *platform_.CurrentDisplay();
  EXPECT_EQ(display.PointerPosition(), (Point{-1, -1}));  // outside until the script moves it
  EXPECT_TRUE(Drain().empty());  // nothing before the first frame begins

  platform_.BeginFrame(0);
  std::vector<InputEvent> events = Drain();
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(std::get<MouseMove>(events[0]).position, (Point{5, 6}));
  EXPECT_EQ(std::get<KeyDown>(events[1]).virtual_key, 13);
  EXPECT_EQ(std::get<KeyDown>(events[1]).repeat, KeyRepeat::kFirst);
  EXPECT_EQ(std::get<KeyUp>(events[2]).virtual_key, 13);
  EXPECT_EQ(display.PointerPosition(), (Point{5, 6}));

  platform_.BeginFrame(1);
  EXPECT_TRUE(Drain().empty());
  EXPECT_TRUE(platform_.TakeScriptEvents().empty());

  platform_.BeginFrame(3);  // frame 2 was skipped by the runner: its actions still arrive
  events = Drain();
  ASSERT_EQ(events.size(), 4u);
  EXPECT_EQ(std::get<MouseMove>(events[0]).position, (Point{7, 8}));
  EXPECT_EQ(std::get<ButtonDown>(events[1]).button, MouseButton::kLeft);
  EXPECT_EQ(std::get<ButtonUp>(events[2]).button, MouseButton::kLeft);
  EXPECT_EQ(std::get<Wheel>(events[3]).direction, WheelDirection::kUp);
  const std::vector<ScriptEventRequest> script_events = platform_.TakeScriptEvents();
  ASSERT_EQ(script_events.size(), 1u);
  EXPECT_EQ(script_events[0].handler, "page:label");
  EXPECT_EQ(script_events[0].sender, "Button1");
  EXPECT_EQ(script_events[0].frame, 2u);
  EXPECT_TRUE(platform_.TakeScriptEvents().empty());

  platform_.BeginFrame(5);
  events = Drain();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(std::get<TextInput>(events[0]).cp932_text, "\x82\xA0");
  EXPECT_TRUE(std::holds_alternative<Deactivate>(events[1]));
  EXPECT_TRUE(platform_.ScriptPending());

  platform_.BeginFrame(6);
  events = Drain();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_TRUE(std::holds_alternative<Activate>(events[0]));
  EXPECT_TRUE(std::holds_alternative<CloseRequest>(events[1]));
  EXPECT_FALSE(platform_.ScriptPending());
}

TEST_F(HeadlessTest, WarpingThePointerReportsAMove) {
  Display& display = platform_.OpenDisplay({{640, 480}, "t"});
  display.WarpPointer({100, 200});
  EXPECT_EQ(display.PointerPosition(), (Point{100, 200}));
  const std::vector<InputEvent> events = Drain();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(std::get<MouseMove>(events[0]).position, (Point{100, 200}));
}

class AnsweringHeadlessTest : public HeadlessTest {
 protected:
  AnsweringHeadlessTest() : HeadlessTest("0 answer no\n0 answer cancel\n4 answer yes\n6 answer cancel\n") {}

  static MessageBoxRequest Box(MessageButtons buttons) {
    return {cp932::FromUtf8("確認"), cp932::FromUtf8("「題」を終了しますか？"), buttons, MessageIcon::kQuestion};
  }
};

TEST_F(AnsweringHeadlessTest, BoxesTakeScriptedAnswersInOrderFromTheirFrameOn) {
  // Answers of frame 0 are there before the first frame, for boxes shown during start-up.
  EXPECT_EQ(platform_.AnswerMessageBox(Box(MessageButtons::kYesNo)), MessageAnswer::kNo);
  EXPECT_EQ(platform_.AnswerMessageBox(Box(MessageButtons::kOkCancel)), MessageAnswer::kCancel);
  // None left: the default button.
  EXPECT_EQ(platform_.AnswerMessageBox(Box(MessageButtons::kYesNo)), MessageAnswer::kYes);
  EXPECT_EQ(platform_.AnswerMessageBox(Box(MessageButtons::kOkCancel)), MessageAnswer::kOk);
  platform_.BeginFrame(3);
  EXPECT_EQ(platform_.AnswerMessageBox(Box(MessageButtons::kOk)), MessageAnswer::kOk);  // frame 4's is not yet there
  platform_.BeginFrame(4);
  EXPECT_EQ(platform_.AnswerMessageBox(Box(MessageButtons::kYesNo)), MessageAnswer::kYes);

  std::vector<std::string> lines;
  std::istringstream in(log_.str());
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  EXPECT_THAT(lines,
              ElementsAre("message box [question] \"確認\": 「題」を終了しますか？ [yes/no] -> no (scripted)",
                          HasSubstr("[ok/cancel] -> cancel (scripted)"), HasSubstr("[yes/no] -> yes (default)"),
                          HasSubstr("[ok/cancel] -> ok (default)"), HasSubstr("[ok] -> ok (default)"),
                          HasSubstr("[yes/no] -> yes (scripted)")));
}

TEST_F(AnsweringHeadlessTest, AnAnswerThatDoesNotFitTheBoxStopsTheRun) {
  platform_.BeginFrame(6);
  platform_.AnswerMessageBox(Box(MessageButtons::kYesNo));
  platform_.AnswerMessageBox(Box(MessageButtons::kOkCancel));
  platform_.AnswerMessageBox(Box(MessageButtons::kYesNo));
  try {
    platform_.AnswerMessageBox(Box(MessageButtons::kYesNo));  // meets "6 answer cancel"
    FAIL() << "accepted";
  } catch (const ScriptedInputError& error) {
    EXPECT_EQ(error.File(), "test.txt");
    EXPECT_EQ(error.Line(), 4);
    EXPECT_THAT(error.Problem(), HasSubstr("the answer \"cancel\" does not fit the message box"));
    EXPECT_THAT(error.Problem(), HasSubstr("\"確認\": 「題」を終了しますか？ [yes/no]"));
  }
  static_assert(!std::is_base_of_v<KestError, ScriptedInputError>, "the interpreter must not swallow it");
}

TEST_F(HeadlessTest, DesktopRequestsAreLoggedNotStarted) {
  EXPECT_TRUE(platform_.OpenWithDefaultHandler("https://example.org/"));
  EXPECT_FALSE(platform_.OpenWithDefaultHandler("-x"));
  EXPECT_EQ(log_.str(),
            "open with the default handler: https://example.org/ (not opened: headless)\n"
            "open with the default handler: -x (refused)\n");
}

TEST_F(HeadlessTest, OneDisplayAtATime) {
  platform_.OpenDisplay({{4, 4}, "t"});
  EXPECT_THROW(platform_.OpenDisplay({{4, 4}, "t"}), PlatformError);
  platform_.CloseDisplay();
  EXPECT_EQ(platform_.CurrentDisplay(), nullptr);
  EXPECT_THROW(platform_.OpenDisplay({{0, 4}, "t"}), PlatformError);
  EXPECT_EQ(platform_.CurrentDisplay(), nullptr);
}

}  // namespace
}  // namespace kest::platform
