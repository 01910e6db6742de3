// The player's own toolbar, message boxes and settings dialog, run through the real binary.

#include <gmock/gmock.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "e2e_support.h"
#include "render/image_codec.h"

namespace kest::testing {
namespace {

using ::testing::HasSubstr;

constexpr std::uint32_t kFaceRgb = 0xD4D0C8;  // the widgets' grey face

std::uint32_t PixelOf(const DecodedImage& image, int x, int y) {
  return image.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) + static_cast<std::size_t>(x)] &
         0xFFFFFF;
}

DecodedImage ReadPng(const std::string& path) {
  const std::string text = ReadText(path);
  return DecodePng(Bytes(text.begin(), text.end()), path);
}

class ToolbarRun : public TitleRun {
 protected:
  void SetUp() override {
    WriteTitle({{"start.kss", "VarNew clicks, type: int, value: 0\nVarNew ticks, type: int, value: 0\n"
                              "Jump \"loop.ksb\"\n"},
                {"loop.kss", "If @LClick\n  Calc clicks = clicks + 1\nCalc ticks = ticks + 1\nWait 1\n"
                             "Jump \"loop.ksb\"\n"},
                {"exit.kss", "VarNew exited, type: int, value: 1\n"}},
               /*exit_page=*/true);
    Compile();
  }
};

TEST_F(ToolbarRun, AToolbarClickReachesNoSceneAndExitAnsweredNoGoesOn) {
  const ProgramRun run =
      Play({"--frames", "12", "--glyphs", "fake"}, "3 click 30 -11\n3 answer no\n6 click 30 10\n");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_THAT(run.err, HasSubstr("\"確認\": 「E2E」を終了しますか？ [yes/no] -> no (scripted)"));
  EXPECT_EQ(Value("clicks"), "1");  // the click on the scene only
  EXPECT_EQ(Value("ticks"), "12");
}

TEST_F(ToolbarRun, ExitAnsweredYesRunsTheExitPage) {
  const ProgramRun run = Play({"--frames", "12", "--glyphs", "fake"}, "3 click 30 -11\n3 answer yes\n");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_THAT(run.err, HasSubstr("-> yes (scripted)"));
  EXPECT_EQ(Value("exited"), "1");
  EXPECT_EQ(Value("clicks"), "0");
  EXPECT_EQ(Value("ticks"), "3");
}

TEST_F(ToolbarRun, DialogShotsAndTheWindowsPictureHoldTheStripAndTheBox) {
  const std::string shots = folder_.File("shots/new");  // made by the player
  const ProgramRun run =
      Play({"--frames", "8", "--glyphs", "fake", "--dialog-shots", shots, "--screenshot", "5:" + folder_.File("s.png"),
            "--screenshot-window", "5:" + folder_.File("w.png")},
           "3 click 30 -11\n3 answer no\n");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_FALSE(std::filesystem::exists(shots + "/dialog-002.png"));
  const DecodedImage box = ReadPng(shots + "/dialog-001.png");
  const DecodedImage window = ReadPng(folder_.File("w.png"));
  const DecodedImage scene = ReadPng(folder_.File("s.png"));
  ASSERT_EQ(box.width, 640);
  ASSERT_EQ(box.height, 480 + 22);
  ASSERT_EQ(window.width, 640);
  ASSERT_EQ(window.height, 480 + 22);
  ASSERT_EQ(scene.width, 640);
  ASSERT_EQ(scene.height, 480);  // --screenshot stays the scene
  // The strip above the scene in both; the box in the middle of the shot only.
  EXPECT_EQ(PixelOf(box, 300, 5), kFaceRgb);
  EXPECT_EQ(PixelOf(window, 300, 5), kFaceRgb);
  EXPECT_EQ(PixelOf(box, 320, 251), kFaceRgb);
  EXPECT_NE(PixelOf(window, 320, 251), kFaceRgb);
  // Below the strip the window's picture is the scene.
  for (int y : {0, 100, 479})
    for (int x : {0, 320, 639}) EXPECT_EQ(PixelOf(window, x, y + 22), PixelOf(scene, x, y)) << x << "," << y;
}

class SettingsRun : public ::testing::Test {
 protected:
  ProgramRun Config(const std::string& spelling, const std::string& keys, std::vector<std::string> extra = {}) {
    work_.Write("keys.txt", Bytes(keys.begin(), keys.end()));
    std::vector<std::string> argv = {KESTPLAYER_BINARY, spelling, "--headless", "--glyphs", "fake", "--ini", Ini(),
                                     "--input", work_.File("keys.txt")};
    argv.insert(argv.end(), extra.begin(), extra.end());
    return RunProgram(argv, work_.Path());
  }
  std::string Ini() const { return work_.File("game.ini"); }

  TempFolder work_;
};

TEST_F(SettingsRun, TheDialogWritesTheFileGivenOnKeys) {
  const std::string before = "; mine\r\n[Sound]\r\nDelayTime=250\r\n[Other]\r\nk=v\r\n";
  work_.Write("game.ini", Bytes(before.begin(), before.end()));
  // Tick off DirectSound with Alt+S, Tab to the bar, End (500), Enter.
  const ProgramRun run = Config("--config", "0 keydown 18\n0 key 83\n0 keyup 18\n1 key 9\n2 key 35\n3 key 13\n",
                                {"--screenshot", "2:" + work_.File("dialog.png")});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadText(Ini()), "; mine\r\n[Sound]\r\nDelayTime=500\r\nDirectSound=0\r\n[Other]\r\nk=v\r\n");
  const DecodedImage shot = ReadPng(work_.File("dialog.png"));
  EXPECT_EQ(shot.width, 260);
  EXPECT_EQ(shot.height, 131);
  EXPECT_EQ(PixelOf(shot, 2, 2), kFaceRgb);
}

TEST_F(SettingsRun, CancelLeavesNoFileAndTheUpperCaseSpellingOpensItToo) {
  const ProgramRun run = Config("/CONFIG", "0 key 32\n1 key 27\n");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_FALSE(std::filesystem::exists(Ini()));
}

// ---- In a window (under xvfb-run)

bool DisplayReachable() {
  const char* display = std::getenv("DISPLAY");
  return display && *display;
}

// Starts the windowed player, waits for `shot` to appear, then asks it to close as a window
// manager's close button would (SDL turns the termination signal into a close request).
ProgramRun RunWindowUntil(const std::vector<std::string>& argv, const std::filesystem::path& work,
                          const std::string& shot) {
  const std::string err_path = (work / "window-stderr.txt").string();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  pid_t pid = 0;
  ProgramRun run;
  if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) != 0) {
    posix_spawn_file_actions_destroy(&actions);
    run.err = "cannot start " + argv[0];
    return run;
  }
  posix_spawn_file_actions_destroy(&actions);
  for (int i = 0; i < 300 && !std::filesystem::exists(shot); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  ::kill(pid, SIGTERM);
  int status = 0;
  waitpid(pid, &status, 0);
  if (WIFEXITED(status)) run.status = WEXITSTATUS(status);
  run.err = ReadText(err_path);
  return run;
}

TEST_F(TitleRun, ABoxInAWindowLooksAsItsHeadlessShot) {
  if (!DisplayReachable()) GTEST_SKIP() << "no display (run under xvfb-run to include this test)";
  WriteTitle({{"other.kss", "Calc 1\n"}});  // no start page: a warning box before the window
  Compile();
  const std::string window_shots = folder_.File("window"), headless_shots = folder_.File("headless");
  std::filesystem::create_directories(window_shots);
  std::filesystem::create_directories(headless_shots);
  const ProgramRun headless = Play({"--frames", "1", "--glyphs", "fake", "--dialog-shots", headless_shots});
  EXPECT_EQ(headless.status, 1);
  const ProgramRun window = RunWindowUntil(
      {KESTPLAYER_BINARY, folder_.File("game"), "--glyphs", "fake", "--dialog-shots", window_shots},
      folder_.Path(), window_shots + "/dialog-001.png");
  EXPECT_EQ(window.status, 1) << window.err;  // the close answered the box; the title cannot start
  const DecodedImage w = ReadPng(window_shots + "/dialog-001.png");
  const DecodedImage h = ReadPng(headless_shots + "/dialog-001.png");
  ASSERT_EQ(w.width, h.width);
  ASSERT_EQ(w.height, h.height);
  EXPECT_TRUE(w.pixels == h.pixels) << "the window's box differs from the headless shot";
  EXPECT_EQ(PixelOf(w, 1, h.height / 2), kFaceRgb);
}

TEST_F(SettingsRun, TheDialogInAWindowLooksAsItsHeadlessShotAndClosingItWritesNothing) {
  if (!DisplayReachable()) GTEST_SKIP() << "no display (run under xvfb-run to include this test)";
  const std::string window_shots = work_.File("window"), headless_shots = work_.File("headless");
  std::filesystem::create_directories(window_shots);
  std::filesystem::create_directories(headless_shots);
  ASSERT_EQ(Config("--config", "3 key 27\n", {"--dialog-shots", headless_shots}).status, 0);
  const ProgramRun window = RunWindowUntil(
      {KESTPLAYER_BINARY, "/config", "--glyphs", "fake", "--ini", Ini(), "--dialog-shots", window_shots},
      work_.Path(), window_shots + "/dialog-001.png");
  EXPECT_EQ(window.status, 0) << window.err;
  EXPECT_FALSE(std::filesystem::exists(Ini()));
  const DecodedImage w = ReadPng(window_shots + "/dialog-001.png");
  const DecodedImage h = ReadPng(headless_shots + "/dialog-001.png");
  ASSERT_EQ(w.width, 260);
  ASSERT_EQ(w.height, 131);
  ASSERT_EQ(h.width, 260);
  ASSERT_EQ(h.height, 131);
  EXPECT_TRUE(w.pixels == h.pixels) << "the dialog in a window differs from the headless shot";
}

}  // namespace
}  // namespace kest::testing
