// The demo title as the build compiles it, played headless and in a window: what it shows, that
// headless runs repeat exactly, that a window shows the same picture as a headless run of the
// same frames, and that one game folder gets one player.

#include <gmock/gmock.h>

#include <cstdlib>

#include "demo_run.h"
#include "e2e_support.h"
#include "gallery_pictures.h"
#include "render/dibx.h"
#include "render/glyphs/fake_rasterizer.h"
#include "render/glyphs/font_pixel_manager.h"
#include "render/image_codec.h"
#include "shell/instance_lock.h"
#include "shell/ui/label_ui_text.h"

namespace kest::testing {
namespace {

// A click on the button, the pointer left on it, then a key for the focused button.
constexpr char kDemoInput[] =
    "5 click 320 180\n"
    "20 key 32\n";

TEST_F(DemoRun, ShowsTheSceneAndAnswersAClickAndAKey) {
  const ProgramRun run = Run({"--headless", "--frames", "30", "--save-dir", SaveDir(), "--screenshot",
                              "29:" + work_.File("shot.png"), "--dump-vars", work_.File("vars.txt")},
                             kDemoInput);
  ASSERT_EQ(run.status, 0) << run.err;
  const DecodedImage shot = Screenshot("shot.png");
  ASSERT_EQ(shot.width, 640);
  ASSERT_EQ(shot.height, 480);
  EXPECT_EQ(Pixel(shot, 10, 10), 0x102040u);   // the sky (0xBBGGRR 0x402010)
  EXPECT_EQ(Pixel(shot, 10, 470), 0x206020u);  // the meadow
  EXPECT_EQ(Pixel(shot, 320, 240), 0xFFFF00u); // the lamp after one click: 0x00FFFF as 0xBBGGRR
  EXPECT_EQ(Pixel(shot, 300, 180), 0xA0A0A0u); // the button lit by the pointer over it
  const std::string vars = ReadText(work_.File("vars.txt"));
  EXPECT_THAT(vars, ::testing::HasSubstr("clicks\tglobal\tint\t1"));
  EXPECT_THAT(vars, ::testing::HasSubstr("keys\tglobal\tint\t1"));
}

// The wipes box flips to the dusk screen with a fade (the first kind), keeping itself and the
// quit box in front; a second click goes back with the next kind, the horizontal blinds.
TEST_F(DemoRun, TheWipesBoxFlipsToTheOtherScreenAndBack) {
  const ProgramRun run = Run({"--headless", "--frames", "170", "--save-dir", SaveDir(), "--screenshot",
                              "36:" + work_.File("half.png"), "--screenshot", "80:" + work_.File("dusk.png"),
                              "--screenshot", "169:" + work_.File("back.png"), "--dump-vars", work_.File("vars.txt")},
                             "5 click 200 435\n90 click 200 435\n");
  ASSERT_EQ(run.status, 0) << run.err;
  constexpr std::uint32_t kSky = 0x102040, kDusk = 0xA06040, kWipes = 0x608040;
  const std::uint32_t half = Pixel(Screenshot("half.png"), 10, 10) & 0xFFFFFF;
  EXPECT_NE(half, kSky);  // halfway through the fade, neither screen alone
  EXPECT_NE(half, kDusk);
  const DecodedImage dusk = Screenshot("dusk.png");
  EXPECT_EQ(Pixel(dusk, 10, 10) & 0xFFFFFF, kDusk);
  EXPECT_EQ(Pixel(dusk, 200, 435) & 0xFFFFFF, kWipes);       // kept in front
  EXPECT_EQ(Pixel(dusk, 610, 20) & 0xFFFFFF, 0xA02020u);     // the quit box, kept too
  EXPECT_EQ(Pixel(dusk, 320, 180) & 0xFFFFFF, demo::BackgroundPixel(100, 60));  // the dusk picture
  const DecodedImage back = Screenshot("back.png");
  EXPECT_EQ(Pixel(back, 10, 10) & 0xFFFFFF, kSky);
  EXPECT_EQ(Pixel(back, 200, 435) & 0xFFFFFF, kWipes);
  EXPECT_THAT(ReadText(work_.File("vars.txt")), ::testing::HasSubstr("wipe_kind\tglobal\tint\t2"));
}

TEST_F(DemoRun, TheGalleryShowsItsPictures) {
  const ProgramRun run = Run({"--headless", "--frames", "14", "--save-dir", SaveDir(), "--screenshot",
                              "13:" + work_.File("gallery.png"), "--trace", work_.File("trace.txt")},
                             "5 click 100 435\n");
  ASSERT_EQ(run.status, 0) << run.err;
  const DecodedImage shot = Screenshot("gallery.png");
  ASSERT_EQ(shot.width, 640);
  const auto at = [&](const demo::Place& place, std::int32_t x, std::int32_t y) {
    return Pixel(shot, place.x + x, place.y + y);
  };
  // The scrambled background, exact.
  for (std::int32_t y = 0; y < demo::kBackgroundPlace.height; y += 7)
    for (std::int32_t x = 0; x < demo::kBackgroundPlace.width; x += 13)
      ASSERT_EQ(at(demo::kBackgroundPlace, x, y), demo::BackgroundPixel(x, y)) << x << "," << y;
  // Key pixels show the backdrop; the disc shows itself.
  EXPECT_EQ(at(demo::kKeyedPlace, 0, 0), demo::kBackdropPixel);
  EXPECT_EQ(at(demo::kKeyedPlace, 40, 40), demo::KeyedPixel(40, 40));
  // The soft edge as DrawMask computes it over the backdrop.
  for (std::int32_t x : {0, 5, 10, 15, 20, 30, 40}) {
    TDIBX back(1, 1, 32), sprite(1, 1, 32), mask(1, 1, 8);
    back.Fill(demo::kBackdropPixel);
    sprite.Fill(demo::SoftPixel(x, 40));
    mask.Fill(demo::SoftMask(x, 40));
    back.DrawMask(0, 0, sprite, {0, 0, 1, 1}, mask);
    EXPECT_EQ(at(demo::kSoftPlace, x, 40), back.GetPixel(0, 0) & 0xFFFFFF) << "x " << x;
  }
  // The JPEG picture within 8 per channel.
  for (std::int32_t y = 4; y < demo::kPhotoPlace.height - 4; y += 9)
    for (std::int32_t x = 4; x < demo::kPhotoPlace.width - 4; x += 11)
      for (int shift = 0; shift < 24; shift += 8)
        EXPECT_NEAR(static_cast<int>((at(demo::kPhotoPlace, x, y) >> shift) & 0xFF),
                    static_cast<int>((demo::PhotoPixel(x, y) >> shift) & 0xFF), 8)
            << x << "," << y;
  // The tiled layers, exact.
  for (std::int32_t y = 0; y < demo::kLayeredPlace.height; y += 5)
    for (std::int32_t x = 0; x < demo::kLayeredPlace.width; x += 3)
      ASSERT_EQ(at(demo::kLayeredPlace, x, y), demo::LayeredPixel(x, y)) << x << "," << y;
  // The missing picture draws nothing, and leaves one note.
  EXPECT_EQ(at(demo::kMissingPlace, 10, 10), demo::kBackdropPixel);
  int notes = 0;
  for (const std::string& line : SplitLines(ReadText(work_.File("trace.txt"))))
    if (line.find("<Note>") != std::string::npos && line.find("gone.zel") != std::string::npos) ++notes;
  EXPECT_EQ(notes, 1);
}

TEST_F(DemoRun, HeadlessRunsRepeatExactly) {
  std::string traces[2], pictures[2];
  for (int i = 0; i < 2; ++i) {
    const std::string trace = "trace" + std::to_string(i) + ".txt", shot = "shot" + std::to_string(i) + ".png";
    const ProgramRun run = Run({"--headless", "--frames", "40", "--save-dir", SaveDir(), "--trace", work_.File(trace),
                                "--screenshot", "39:" + work_.File(shot)},
                               kDemoInput);
    ASSERT_EQ(run.status, 0) << run.err;
    traces[i] = ReadText(work_.File(trace));
    const Bytes png = work_.Read(shot);
    pictures[i].assign(png.begin(), png.end());
  }
  EXPECT_GT(traces[0].size(), 1000u);
  EXPECT_EQ(traces[0], traces[1]);
  EXPECT_EQ(pictures[0], pictures[1]);
}

// The window's picture with the fake glyphs: the toolbar strip above the scene holds each
// button's caption in its cell (centred in the 67 x 18 button, two rows below the strip's top),
// nothing else but the strip's face and its border, and two runs write the same bytes.
TEST_F(DemoRun, TheToolbarStripHoldsItsCaptionsInTheirCellsAndRunsRepeat) {
  std::string pictures[2];
  for (int i = 0; i < 2; ++i) {
    const std::string shot = "window" + std::to_string(i) + ".png";
    const ProgramRun run = Run({"--headless", "--frames", "12", "--save-dir", SaveDir(), "--glyphs", "fake",
                                "--screenshot-window", "10:" + work_.File(shot)});
    ASSERT_EQ(run.status, 0) << run.err;
    const Bytes png = work_.Read(shot);
    pictures[i].assign(png.begin(), png.end());
  }
  EXPECT_EQ(pictures[0], pictures[1]);

  const DecodedImage window = Screenshot("window0.png");
  ASSERT_EQ(window.width, 640);
  ASSERT_EQ(window.height, 480 + 22);
  TFontPixelManager glyphs(MakeFakeRasterizer());
  ui::LabelUiText text(glyphs);
  const char* const captions[] = {"\x8f\x49\x97\xb9", "\x89\xe6\x96\xca\x90\xd8\x91\xd6"};  // "終了", "画面切替"
  struct Cell {
    int left, top, right, bottom;
    int text_pixels = 0;
  };
  std::vector<Cell> cells;
  for (int i = 0; i < 2; ++i) {
    const int width = text.Width(captions[i]), height = text.LineHeight();
    const int left = 67 * i + (67 - width) / 2, top = 2 + (18 - height) / 2;
    cells.push_back({left, top, left + width, top + height});
  }
  constexpr std::uint32_t kFace = 0xD4D0C8;
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 640; ++x) {
      if ((Pixel(window, x, y) & 0xFFFFFF) == kFace) continue;
      bool inside = false;
      for (Cell& cell : cells) {
        if (x >= cell.left && x < cell.right && y >= cell.top && y < cell.bottom) {
          inside = true;
          ++cell.text_pixels;
        }
      }
      ASSERT_TRUE(inside) << "a text pixel outside the captions' cells at " << x << ", " << y;
    }
  }
  for (const Cell& cell : cells) EXPECT_GT(cell.text_pixels, 20) << "a caption is missing at x " << cell.left;
  // The strip's border under the buttons, then the scene: the sky.
  EXPECT_EQ(Pixel(window, 300, 20) & 0xFFFFFF, 0x808080u);
  EXPECT_EQ(Pixel(window, 300, 21) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(Pixel(window, 10, 22 + 10) & 0xFFFFFF, 0x102040u);
}

bool DisplayReachable() {
  const char* display = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (display && *display) || (wayland && *wayland);
}

TEST_F(DemoRun, AWindowShowsWhatAHeadlessRunShows) {
  if (!DisplayReachable()) GTEST_SKIP() << "no display (run under xvfb-run to include this test)";
  // The first frame only: the window's frames follow the real clock, and the demo's loop waits
  // by the time each frame measured, so on a loaded machine the moving boxes of later frames may
  // rightly stand elsewhere than in the headless run, whose frames are exactly 16 ms.
  const ProgramRun window = Run({"--frames", "1", "--save-dir", SaveDir(), "--screenshot", "0:" + work_.File("w.png")});
  ASSERT_EQ(window.status, 0) << window.err;
  const ProgramRun headless =
      Run({"--headless", "--frames", "1", "--save-dir", SaveDir(), "--screenshot", "0:" + work_.File("h.png")});
  ASSERT_EQ(headless.status, 0) << headless.err;
  const DecodedImage w = Screenshot("w.png"), h = Screenshot("h.png");
  ASSERT_EQ(w.width, h.width);
  ASSERT_EQ(w.height, h.height);
  EXPECT_TRUE(w.pixels == h.pixels) << "the window's picture differs from the headless one";
  EXPECT_EQ(Pixel(w, 10, 10), 0x102040u);
}

TEST_F(DemoRun, OneGameFolderGetsOnePlayer) {
  TempFolder locks;
  ::setenv("XDG_RUNTIME_DIR", locks.Path().c_str(), 1);  // the players started below share it
  const shell::InstanceLock first(KEST_DEMO_FOLDER);
  ASSERT_TRUE(first.Acquired());
  const ProgramRun second = Run({"--frames", "2", "--save-dir", SaveDir(), "--trace", work_.File("second.txt")});
  EXPECT_EQ(second.status, 0);
  EXPECT_EQ(second.err, "");
  EXPECT_FALSE(std::filesystem::exists(work_.File("second.txt"))) << "the second player ran";

  // Another folder is another player: it starts (and, without a display, says so).
  const std::string other = work_.File("other");
  std::filesystem::copy(KEST_DEMO_FOLDER, other);
  const ProgramRun third = RunProgram({KESTPLAYER_BINARY, other, "--frames", "2", "--trace", work_.File("third.txt")},
                                      work_.Path());
  if (DisplayReachable()) {
    EXPECT_EQ(third.status, 0) << third.err;
    EXPECT_TRUE(std::filesystem::exists(work_.File("third.txt")));
  } else {
    EXPECT_THAT(third.err, ::testing::HasSubstr("no display"));
  }
  ::unsetenv("XDG_RUNTIME_DIR");
}

}  // namespace
}  // namespace kest::testing
