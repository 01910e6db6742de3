#include <gtest/gtest.h>

#include <deque>
#include <sstream>

#include "platform/headless/headless_platform.h"
#include "play_loop_harness.h"
#include "shell/toolbar_dock.h"
#include "shell/window_picture.h"
#include "ui_test_support.h"

namespace kest::shell {
namespace {

using platform::ButtonDown;
using platform::ButtonUp;
using platform::MouseButton;
using platform::MouseMove;
using ui::ToolbarAction;

// Runs events through a dock; answers which ones it took, as a string of 'T' (the toolbar's)
// and 'S' (left for the scene).
std::string Route(ToolbarDock& dock, const std::vector<platform::InputEvent>& events, ScreenIs screen) {
  std::string owners;
  for (const platform::InputEvent& event : events) owners += dock.Handle(event, screen) ? 'T' : 'S';
  return owners;
}

const platform::InputEvent kDown = ButtonDown{MouseButton::kLeft};
const platform::InputEvent kUp = ButtonUp{MouseButton::kLeft};
platform::InputEvent Move(int x, int y) { return MouseMove{{x, y}}; }

TEST(ToolbarDock, InAWindowTheStripIsTheRowsAboveThePanel) {
  ui::FixedCellUiText text;
  struct {
    const char* name;
    std::vector<platform::InputEvent> events;
    std::string owners;
    ToolbarAction action;
  } cases[] = {
      {"a click on the exit button", {Move(30, -11), kDown, kUp}, "TTT", ToolbarAction::kExit},
      {"a click on the screen switch", {Move(67, -20), kDown, kUp}, "TTT", ToolbarAction::kScreenSwitch},
      {"the dock's top and bottom rows", {Move(30, -22), kDown, kUp, Move(30, -1)}, "TTTT", ToolbarAction::kNone},
      {"a click on the scene", {Move(30, 0), kDown, kUp}, "SSS", ToolbarAction::kNone},
      {"pressed on the strip, released on the scene", {Move(30, -11), kDown, Move(30, 10), kUp}, "TTTT",
       ToolbarAction::kNone},
      {"pressed on the scene, released on the strip", {Move(30, 10), kDown, Move(30, -11), kUp}, "SSTS",
       ToolbarAction::kNone},
      {"pressed on one button, released on the other", {Move(10, -11), kDown, Move(80, -11), kUp}, "TTTT",
       ToolbarAction::kNone},
      {"beside the buttons", {Move(200, -11), kDown, kUp}, "TTT", ToolbarAction::kNone},
      {"above the window", {Move(30, -23), kDown, kUp}, "SSS", ToolbarAction::kNone},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ToolbarDock dock(text, 320);
    EXPECT_EQ(Route(dock, c.events, ScreenIs::kWindow), c.owners);
    EXPECT_EQ(dock.TakeAction(), c.action);
    EXPECT_EQ(dock.TakeAction(), ToolbarAction::kNone);  // taken once
  }
}

TEST(ToolbarDock, InFullScreenTheStripComesOutAtTheTopRow) {
  ui::FixedCellUiText text;
  ToolbarDock dock(text, 320);
  EXPECT_EQ(Route(dock, {Move(30, 5), kDown, kUp}, ScreenIs::kFullScreen), "SSS");  // not out yet
  EXPECT_FALSE(dock.ShownInFullScreen());
  EXPECT_EQ(Route(dock, {Move(30, 0)}, ScreenIs::kFullScreen), "T");
  EXPECT_TRUE(dock.ShownInFullScreen());
  EXPECT_EQ(Route(dock, {Move(30, 9), kDown, kUp}, ScreenIs::kFullScreen), "TTT");  // still out
  EXPECT_EQ(dock.TakeAction(), ToolbarAction::kExit);
  EXPECT_EQ(Route(dock, {Move(30, 22)}, ScreenIs::kFullScreen), "S");  // below it: away again
  EXPECT_FALSE(dock.ShownInFullScreen());
  EXPECT_EQ(Route(dock, {Move(30, 9)}, ScreenIs::kFullScreen), "S");
}

class ToolbarPicture : public ::testing::Test {
 protected:
  ToolbarPicture()
      : platform_(platform::HeadlessOptions{.log = &log_}),
        display_(platform_.OpenDisplay({.scene = {160, 40}, .title = "t", .dock_height = ui::Toolbar::kDockHeight})),
        window_(display_) {}

  std::int32_t At(int x, int y) {
    const platform::Image& picture = platform_.Framebuffer();
    const std::uint8_t* p = &picture.bgrx[(static_cast<std::size_t>(y) * picture.size.width + x) * 4];
    return p[0] << 16 | p[1] << 8 | p[2];  // as 0x00BBGGRR
  }

  std::ostringstream log_;
  platform::HeadlessPlatform platform_;
  platform::Display& display_;
  WindowPicture window_;
  ui::FixedCellUiText text_;
};

TEST_F(ToolbarPicture, TheStripFillsTheDockAndTheSceneLiesBelowIt) {
  ToolbarDock dock(text_, 160);
  TDIBX scene(160, 40, 32);
  scene.Fill(static_cast<std::uint32_t>(scene.ColorToPixel(0x0000FF)));
  const platform::Rect all[] = {{0, 0, 160, 40}};
  window_.UpdateScene(ViewOf(scene), all);
  dock.Refresh(window_, ScreenIs::kWindow);
  window_.Flush();
  ASSERT_EQ(platform_.Framebuffer().size, (platform::Size{160, 62}));
  EXPECT_EQ(At(150, 5), ui::kFaceColour);
  EXPECT_EQ(At(150, 20), ui::kShadowColour);     // the dock's bottom border
  EXPECT_EQ(At(150, 21), ui::kHighlightColour);
  EXPECT_EQ(At(150, 22), 0x0000FF);              // the scene's first row
  // "終了" (24 pixels) centred in the first button: (67 - 24) / 2 = 21 in, rows 2 + 3 + 2 on.
  EXPECT_EQ(At(21, 7), ui::kTextColour);
  EXPECT_EQ(At(20, 7), ui::kFaceColour);

  // Hover raises the button: its lit top edge appears.
  dock.Handle(MouseMove{{30, -11}}, ScreenIs::kWindow);
  dock.Refresh(window_, ScreenIs::kWindow);
  window_.Flush();
  EXPECT_EQ(At(10, 2), ui::kHighlightColour);
  EXPECT_EQ(At(10, 19), ui::kShadowColour);
  // Pressed: sunken, the caption one pixel down and right.
  dock.Handle(ButtonDown{MouseButton::kLeft}, ScreenIs::kWindow);
  dock.Refresh(window_, ScreenIs::kWindow);
  window_.Flush();
  EXPECT_EQ(At(10, 2), ui::kShadowColour);
  EXPECT_EQ(At(21, 7), ui::kFaceColour);
  EXPECT_EQ(At(22, 8), ui::kTextColour);
}

TEST_F(ToolbarPicture, InFullScreenTheStripCoversTheSceneOnlyWhileItIsOut) {
  ToolbarDock dock(text_, 160);
  TDIBX scene(160, 40, 32);
  scene.Fill(static_cast<std::uint32_t>(scene.ColorToPixel(0x0000FF)));
  const platform::Rect all[] = {{0, 0, 160, 40}};
  window_.UpdateScene(ViewOf(scene), all);
  ASSERT_TRUE(display_.SetScreenMode(platform::ScreenMode::kFullScreen));
  dock.Refresh(window_, ScreenIs::kFullScreen);
  window_.Flush();
  ASSERT_EQ(platform_.Framebuffer().size, (platform::Size{160, 40}));
  EXPECT_EQ(At(150, 5), 0x0000FF);
  dock.Handle(MouseMove{{100, 0}}, ScreenIs::kFullScreen);
  dock.Refresh(window_, ScreenIs::kFullScreen);
  window_.Flush();
  EXPECT_EQ(At(150, 5), ui::kFaceColour);
  EXPECT_EQ(At(150, 22), 0x0000FF);
  dock.Handle(MouseMove{{100, 30}}, ScreenIs::kFullScreen);
  dock.Refresh(window_, ScreenIs::kFullScreen);
  window_.Flush();
  EXPECT_EQ(At(150, 5), 0x0000FF);  // the scene's own pixels come back
}

// ---- The toolbar in the frame loop

class ToolbarLoopTest : public PlayLoopTest {
 protected:
  ToolbarLoopTest() { dock_height_ = ui::Toolbar::kDockHeight; }
};

constexpr const char* kClickCounter =
    "If @LClick\n"
    "  Calc clicks = clicks + 1\n"
    "Calc ticks = ticks + 1\n"
    "Wait 1\n"
    "Jump \"start.ksb\"\n";

TEST_F(ToolbarLoopTest, ExitAnsweredNoLeavesEverythingAndTheClickNeverReachesTheScene) {
  WriteTitle(kClickCounter, "var int clicks = 0\n");
  Start("3 click 30 -11\n3 answer no\n6 click 30 10\n");
  EXPECT_EQ(Run(10), LoopEnd::FrameLimit);
  EXPECT_EQ(Int("ticks"), 10);
  EXPECT_EQ(Int("clicks"), 1);  // only the one on the scene
  EXPECT_NE(log_.str().find("-> no (scripted)"), std::string::npos) << log_.str();
  EXPECT_FALSE(session_->Project().QuitRequested());
}

TEST_F(ToolbarLoopTest, ExitAnsweredYesCloses) {
  WriteTitle(kClickCounter, "var int clicks = 0\n");
  Start("3 click 30 -11\n3 answer yes\n");
  EXPECT_EQ(Run(10), LoopEnd::Closed);
  EXPECT_EQ(Int("ticks"), 3);
  EXPECT_EQ(Int("clicks"), 0);
}

TEST_F(ToolbarLoopTest, TheScreenSwitchTogglesFullScreen) {
  scene_ = {160, 48};  // wide enough for both buttons
  WriteTitle(kClickCounter, "var int clicks = 0\n");
  Start("2 click 100 -11\n");
  Run(4);
  EXPECT_TRUE(screen_->FullScreen());
  EXPECT_EQ(display_->ClientSize(), (platform::Size{160, 48}));
  EXPECT_EQ(Int("clicks"), 0);
}

TEST_F(ToolbarLoopTest, KeysHeldIntoABoxAreLetGo) {
  // Ctrl+Q opens the exit question; the release of Ctrl goes to the box, so the scene must not
  // keep Ctrl down afterwards.
  WriteTitle("Calc ctrl = @KeyPush[17]\nCalc ticks = ticks + 1\nWait 1\nJump \"start.ksb\"\n",
             "var int ctrl = 0\n");
  Start("2 keydown 17\n2 key 81\n2 answer no\n");
  Run(6);
  EXPECT_EQ(Int("ctrl"), 0);
  EXPECT_EQ(Int("ticks"), 6);
}

// A window's user: the keys of `typed` come at the first look for input; each wait inside a box
// takes `think_ms` of the clock and then gives the next of `at_the_box`.
class SlowUser : public platform::HeadlessPlatform {
 public:
  explicit SlowUser(std::ostream& log) : HeadlessPlatform(platform::HeadlessOptions{.log = &log}) {}
  std::optional<platform::InputEvent> PollEvent() override {
    if (typed.empty()) return std::nullopt;
    platform::InputEvent event = typed.front();
    typed.pop_front();
    return event;
  }
  std::optional<platform::InputEvent> WaitEvent(std::uint32_t) override {
    AdvanceClock(think_ms);
    if (at_the_box.empty()) return std::nullopt;
    platform::InputEvent event = at_the_box.front();
    at_the_box.pop_front();
    return event;
  }
  std::deque<platform::InputEvent> typed, at_the_box;
  std::uint32_t think_ms = 1000;
};

TEST_F(PlayLoopTest, TheFrameClockStandsStillWhileABoxIsOpen) {
  WriteTitle("Calc ticks = ticks + 1\nWait 1\nJump \"start.ksb\"\n");
  auto user = std::make_unique<SlowUser>(log_);
  SlowUser& slow = *user;
  slow.typed = {platform::KeyDown{0x11}, platform::KeyDown{0x51}};  // Ctrl+Q: the exit question
  slow.at_the_box = {platform::KeyDown{0x25}, platform::KeyDown{0x27}, platform::KeyDown{'N'}};
  Start("", std::move(user));
  EXPECT_EQ(Run(5), LoopEnd::FrameLimit);
  // Three seconds passed in the box (three waits of a second); the frames after it took no time.
  EXPECT_EQ(slow.Tick(), 3000u);
  EXPECT_EQ(session_->Clock().FrameClock, 0);
  EXPECT_FALSE(session_->Project().QuitRequested());
}

}  // namespace
}  // namespace kest::shell
