// The screen manager: which display mode full screen uses, and when full screen is possible.

#include <gtest/gtest.h>

#include "platform/headless/headless_platform.h"
#include "shell/screen_man.h"

namespace kest::shell {
namespace {

using platform::DisplayMode;

// Runs the choice over modes in the driver's order; answers the chosen index, -1 for none.
int Choose(const std::vector<DisplayMode>& modes, platform::Size preferred, int desktop_depth) {
  int selected = -1;
  for (std::size_t i = 0; i < modes.size(); ++i) {
    const DisplayMode* current = selected >= 0 ? &modes[static_cast<std::size_t>(selected)] : nullptr;
    if (PrefersMode(modes[i], current, preferred, desktop_depth)) selected = static_cast<int>(i);
  }
  return selected;
}

TEST(ScreenModes, ThePreferredSizeThenTheDesktopDepthThenTheLowerRefreshRate) {
  struct Case {
    const char* what;
    std::vector<DisplayMode> modes;
    int desktop_depth;
    int expected;
  };
  const Case cases[] = {
      {"800x600 at 16 and 32 bits, 60 and 75 Hz, on a 32-bit desktop",
       {{800, 600, 16, 60}, {800, 600, 16, 75}, {800, 600, 32, 75}, {800, 600, 32, 60}, {1024, 768, 32, 60}},
       32, 3},
      {"the preferred size wins over an earlier larger mode", {{1024, 768, 32, 60}, {800, 600, 16, 60}}, 32, 1},
      {"without the preferred size the first usable mode stays", {{1024, 768, 32, 60}, {1280, 1024, 32, 60}}, 32, 0},
      {"on a 16-bit desktop the 16-bit mode wins", {{800, 600, 32, 60}, {800, 600, 16, 75}}, 16, 1},
  };
  for (const Case& c : cases) EXPECT_EQ(Choose(c.modes, {800, 600}, c.desktop_depth), c.expected) << c.what;
}

class ScreenManagerTest : public ::testing::Test {
 protected:
  platform::Display& Open(platform::Size scene) { return platform_.OpenDisplay({.scene = scene, .title = "t"}); }
  platform::HeadlessPlatform platform_{platform::HeadlessOptions{}};
};

TEST_F(ScreenManagerTest, ModesSmallerThanTheSceneAreNotListed) {
  platform::Display& display = Open({640, 480});
  TScreenManager screen(display, {640, 480}, {640, 480});
  ASSERT_GT(screen.ModeCount(), 0);
  for (const DisplayMode& mode : screen.Modes()) {
    EXPECT_GE(mode.width, 640);
    EXPECT_GE(mode.height, 480);
    EXPECT_GE(mode.bits_per_pixel, 16);
  }
  EXPECT_EQ(screen.Modes()[static_cast<std::size_t>(screen.SelectedMode)].width, 640);
}

TEST_F(ScreenManagerTest, FullScreenOnAndOffAndNothingWithoutAUsableMode) {
  platform::Display& display = Open({640, 480});
  TScreenManager screen(display, {640, 480}, {640, 480});
  screen.ToggleFullScreen(true);
  EXPECT_TRUE(screen.FullScreen());
  EXPECT_EQ(display.CurrentScreenMode(), platform::ScreenMode::kFullScreen);
  screen.ToggleFullScreen(false);
  EXPECT_FALSE(screen.FullScreen());
  EXPECT_EQ(display.CurrentScreenMode(), platform::ScreenMode::kWindow);

  // A scene taller than every mode the screen has: full screen is not possible.
  platform_.CloseDisplay();
  platform::Display& huge = Open({640, 1200});
  TScreenManager none(huge, {640, 1200}, {640, 1200});
  EXPECT_EQ(none.ModeCount(), 0);
  none.ToggleFullScreen(true);
  EXPECT_FALSE(none.FullScreen());
  EXPECT_EQ(huge.CurrentScreenMode(), platform::ScreenMode::kWindow);
}

}  // namespace
}  // namespace kest::shell
