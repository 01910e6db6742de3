// Opens a real window when a display is reachable (for example under xvfb-run) and checks that
// what is presented is what the window shows. Without a display those tests are skipped, so the
// suite never needs one; the failure to reach a display is checked instead.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include <SDL.h>

#include "platform/sdl/sdl_platform.h"

namespace kest::platform {
namespace {

class SdlSmokeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* x_display = std::getenv("DISPLAY");
    const char* wayland_display = std::getenv("WAYLAND_DISPLAY");
    if ((!x_display || !*x_display) && (!wayland_display || !*wayland_display)) {
      GTEST_SKIP() << "no display (run under xvfb-run to include these tests)";
    }
    platform_ = CreateSdlPlatform();
    try {
      display_ = &platform_->OpenDisplay({{64, 48}, "\x83\x65\x83\x58\x83\x67", 1});  // "テスト"
    } catch (const NoDisplayError& error) {
      GTEST_SKIP() << error.what();
    }
  }

  std::unique_ptr<Platform> platform_;
  Display* display_ = nullptr;
};

// Sets (or with nullptr removes) an environment variable for the life of the object.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnvironment() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(SdlWithoutDisplay, OpeningSaysThereIsNoDisplay) {
  // The X11 driver with no X server named: what a terminal without a desktop looks like.
  const ScopedEnvironment driver("SDL_VIDEODRIVER", "x11");
  const ScopedEnvironment x_display("DISPLAY", nullptr);
  const ScopedEnvironment wayland_display("WAYLAND_DISPLAY", nullptr);
  std::unique_ptr<Platform> platform = CreateSdlPlatform();
  try {
    platform->OpenDisplay({{64, 48}, "t"});
    FAIL() << "a display was opened";
  } catch (const NoDisplayError& error) {
    EXPECT_NE(std::string(error.what()).find("no display can be opened"), std::string::npos) << error.what();
  }
  EXPECT_EQ(platform->CurrentDisplay(), nullptr);
  EXPECT_EQ(platform->PollEvent(), std::nullopt);
}

TEST(SdlWithoutDisplay, DriversThatDrawNowhereDoNotCountAsADisplay) {
  // With no driver named and no desktop, SDL would fall back to its offscreen driver; only a
  // console's own graphics device could still give a real screen.
  if (std::filesystem::exists("/dev/dri")) GTEST_SKIP() << "this machine has a graphics device";
  const ScopedEnvironment driver("SDL_VIDEODRIVER", nullptr);
  const ScopedEnvironment x_display("DISPLAY", nullptr);
  const ScopedEnvironment wayland_display("WAYLAND_DISPLAY", nullptr);
  std::unique_ptr<Platform> platform = CreateSdlPlatform();
  EXPECT_THROW(platform->OpenDisplay({{64, 48}, "t"}), NoDisplayError);
  EXPECT_EQ(platform->CurrentDisplay(), nullptr);
}

std::uint32_t PixelAt(const Image& image, int x, int y) {
  const std::uint8_t* p = &image.bgrx[(static_cast<std::size_t>(y) * image.size.width + x) * 4];
  return p[0] | (p[1] << 8) | (p[2] << 16);
}

TEST_F(SdlSmokeTest, PresentedRectanglesReachTheWindowAndTheRestStaysBlack) {
  Image scene{{64, 48}, std::vector<std::uint8_t>(64 * 48 * 4)};
  for (std::size_t i = 0; i < scene.bgrx.size(); i += 4) {
    scene.bgrx[i] = 0x30;      // blue
    scene.bgrx[i + 1] = 0x60;  // green
    scene.bgrx[i + 2] = 0x90;  // red
  }
  const Rect changed[] = {{8, 8, 24, 16}};
  EXPECT_TRUE(display_->Present(scene.View(), changed));
  const Image shown = display_->CaptureOutput();
  ASSERT_EQ(shown.size, (Size{64, 48}));
  EXPECT_EQ(PixelAt(shown, 8, 8), 0x906030u);
  EXPECT_EQ(PixelAt(shown, 23, 15), 0x906030u);
  EXPECT_EQ(PixelAt(shown, 24, 15), 0u);  // not presented: still black
  EXPECT_EQ(PixelAt(shown, 0, 0), 0u);

  ASSERT_TRUE(display_->SetScale(2));
  const Image scaled = display_->CaptureOutput();
  // Some window managers resize late; the scene is then fitted into what the window has.
  if (scaled.size == (Size{128, 96})) {
    EXPECT_EQ(PixelAt(scaled, 16, 16), 0x906030u);
    EXPECT_EQ(PixelAt(scaled, 47, 31), 0x906030u);
    EXPECT_EQ(PixelAt(scaled, 48, 31), 0u);
  }
}

TEST_F(SdlSmokeTest, TheScreenReportsItsModes) {
  const DisplayMode desktop = display_->DesktopMode();
  EXPECT_GT(desktop.width, 0);
  EXPECT_GT(desktop.height, 0);
  EXPECT_GE(desktop.bits_per_pixel, 15);
  for (const DisplayMode& mode : display_->DisplayModes()) {
    EXPECT_GT(mode.width, 0);
    EXPECT_GT(mode.height, 0);
  }
  // Whatever a pump of the queue brings, it must not be a close request.
  while (std::optional<InputEvent> event = platform_->PollEvent()) {
    EXPECT_FALSE(std::holds_alternative<CloseRequest>(*event));
  }
}

TEST_F(SdlSmokeTest, APointerPictureBecomesTheWindowsCursorAndGoesBack) {
  SDL_Cursor* standard = SDL_GetCursor();
  PointerImage picture{{2, 2}, std::vector<std::uint8_t>(16, 0xFF), {1, 1}};
  EXPECT_TRUE(display_->SetPointerImage(&picture));
  EXPECT_NE(SDL_GetCursor(), standard);
  EXPECT_TRUE(display_->SetPointerImage(nullptr));
  EXPECT_EQ(SDL_GetCursor(), SDL_GetDefaultCursor());
  // An empty picture is refused and leaves the standard pointer.
  PointerImage empty;
  EXPECT_FALSE(display_->SetPointerImage(&empty));
  EXPECT_EQ(SDL_GetCursor(), SDL_GetDefaultCursor());
}

}  // namespace
}  // namespace kest::platform
