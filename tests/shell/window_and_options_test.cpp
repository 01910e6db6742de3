#include <gtest/gtest.h>

#include <sstream>

#include "platform/headless/headless_platform.h"
#include "shell/options.h"
#include "shell/window_picture.h"
#include "ui_test_support.h"

namespace kest::shell {
namespace {

// Colours as 0x00BBGGRR, read from the headless window's picture.
class WindowPictureTest : public ::testing::Test {
 protected:
  WindowPictureTest()
      : platform_(platform::HeadlessOptions{.log = &log_}),
        display_(platform_.OpenDisplay({.scene = {8, 6}, .title = "t", .dock_height = 2})),
        window_(display_) {}

  static void Paint(TDIBX& surface, std::int32_t rgb) {
    surface.Fill(static_cast<std::uint32_t>(surface.ColorToPixel(rgb)));
  }
  // One letter per pixel of a row: S the scene, T the strip, B the box, . black, ? other.
  std::string Row(int y) {
    const platform::Image& picture = platform_.Framebuffer();
    std::string letters;
    for (int x = 0; x < picture.size.width; ++x) {
      const std::uint8_t* p = &picture.bgrx[(static_cast<std::size_t>(y) * picture.size.width + x) * 4];
      const std::int32_t rgb = p[0] << 16 | p[1] << 8 | p[2];
      letters += rgb == kScene ? 'S' : rgb == kStrip ? 'T' : rgb == kBox ? 'B' : rgb == 0 ? '.' : '?';
    }
    return letters;
  }

  static constexpr std::int32_t kScene = 0x0000FF, kStrip = 0x00FF00, kBox = 0xFF0000;
  std::ostringstream log_;
  platform::HeadlessPlatform platform_;
  platform::Display& display_;
  WindowPicture window_;
};

TEST_F(WindowPictureTest, LayersComposeAndABoxThatGoesGivesBackWhatWasUnderIt) {
  TDIBX scene(8, 6, 32), strip(8, 2, 32), box(4, 3, 32);
  Paint(scene, kScene);
  Paint(strip, kStrip);
  Paint(box, kBox);
  const platform::Rect part[] = {{0, 0, 4, 6}};
  window_.UpdateScene(ViewOf(scene), part);  // only the left half of the scene has come in
  window_.SetStrip(&strip);
  EXPECT_TRUE(window_.Flush());
  EXPECT_FALSE(window_.Flush());  // nothing changed since
  EXPECT_EQ(Row(0), "TTTTTTTT");
  EXPECT_EQ(Row(2), "SSSS....");

  window_.ShowOverlay(box, {2, 1});  // across the strip's last row and the scene's first rows
  window_.Flush();
  EXPECT_EQ(Row(1), "TTBBBBTT");
  EXPECT_EQ(Row(3), "SSBBBB..");
  EXPECT_EQ(Row(4), "SSSS....");

  window_.HideOverlay();
  window_.Flush();
  EXPECT_EQ(Row(1), "TTTTTTTT");
  EXPECT_EQ(Row(3), "SSSS....");
  EXPECT_EQ(platform_.Framebuffer().bgrx, window_.Capture().bgrx);

  // Full screen: the picture shrinks to the scene and is composed anew, strip and all.
  ASSERT_TRUE(display_.SetScreenMode(platform::ScreenMode::kFullScreen));
  window_.SetStrip(nullptr);
  window_.Flush();
  ASSERT_EQ(platform_.Framebuffer().size, (platform::Size{8, 6}));
  EXPECT_EQ(Row(0), "SSSS....");
  EXPECT_EQ(Row(5), "SSSS....");
}

TEST(PlayerOptionsParse, TheDialogAndPictureOptions) {
  const std::vector<std::string> arguments{
      "/Config", "--screenshot-window", "3:w.png", "--screenshot", "4:s.png", "--dialog-shots", "shots",
      "--ini", "my.ini", "--glyphs", "fake", "--font-dir", "fonts"};
  const ParsedOptions parsed = ParseOptions(arguments);
  ASSERT_EQ(parsed.error, "");
  const PlayerOptions& o = parsed.options;
  EXPECT_TRUE(o.config);
  ASSERT_EQ(o.window_screenshots.size(), 1u);
  EXPECT_EQ(o.window_screenshots[0].frame, 3u);
  EXPECT_EQ(o.window_screenshots[0].path, "w.png");
  ASSERT_EQ(o.screenshots.size(), 1u);
  EXPECT_EQ(o.screenshots[0].path, "s.png");
  EXPECT_EQ(o.dialog_shots, "shots");
  EXPECT_EQ(o.ini, "my.ini");
  EXPECT_EQ(o.glyphs, GlyphSource::kFake);
  EXPECT_EQ(o.font_dir, "fonts");
  EXPECT_EQ(ParseOptions(std::vector<std::string>{"--glyphs", "real"}).options.glyphs, GlyphSource::kReal);
  EXPECT_EQ(ParseOptions(std::vector<std::string>{}).options.glyphs, GlyphSource::kReal);

  for (const char* spelling : {"/config", "/CONFIG", "/cOnFiG", "--config"})
    EXPECT_TRUE(ParseOptions(std::vector<std::string>{spelling}).options.config) << spelling;
  for (const char* not_it : {"/configure", "config", "/confi"}) {
    const ParsedOptions other = ParseOptions(std::vector<std::string>{not_it});
    EXPECT_FALSE(other.options.config) << not_it;
  }
}

}  // namespace
}  // namespace kest::shell
