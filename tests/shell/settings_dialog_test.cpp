#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "shell/game_ini_location.h"
#include "shell/settings_dialog.h"
#include "shell/settings_run.h"
#include "shell/ui/virtual_keys.h"
#include "support/temp_folder.h"
#include "ui_test_support.h"

namespace kest::shell {
namespace {

namespace vk = ui::vk;

TEST(SettingsModel, TheStoredDelayPlacesTheBar) {
  struct { const char* ini; std::int32_t position; const char* shown; std::int32_t written; bool direct_sound; } cases[] = {
      {"[Sound]\nDelayTime=250\n", 2, "200ms", 200, true},
      {"[Sound]\nDelayTime=900\nDirectSound=0\n", 5, "500ms", 500, false},
      {"[Sound]\nDelayTime=0\n", 1, "100ms", 100, true},
      {"[Sound]\nDelayTime=99\n", 1, "100ms", 100, true},
      {"", 5, "500ms", 500, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.ini);
    const SettingsModel model(ParseGameIni(c.ini));
    EXPECT_EQ(model.Position(), c.position);
    EXPECT_EQ(model.DelayText(), c.shown);
    EXPECT_EQ(model.ToWrite().delay_time, c.written);
    EXPECT_EQ(model.ToWrite().direct_sound, c.direct_sound);
    EXPECT_EQ(model.DelayControlsEnabled(), !c.direct_sound);
  }
}

TEST(SettingsModel, ATickedBoxGreysTheDelayButOkStillWritesIt) {
  SettingsModel model(ParseGameIni("[Sound]\nDirectSound=0\nDelayTime=300\n"));
  model.SetDirectSound(true);
  EXPECT_FALSE(model.DelayControlsEnabled());
  EXPECT_EQ(model.ToWrite().delay_time, 300);
  EXPECT_TRUE(model.ToWrite().direct_sound);

  ui::FixedCellUiText text;
  SettingsDialog dialog(text, model);
  ui::FacePicture picture(SettingsDialog::kSize.width, SettingsDialog::kSize.height);
  // The first glyph box of the delay label: rows 38 + 1 + 2 on, from column 18.
  dialog.Draw(picture);
  EXPECT_EQ(ui::ColourAt(picture, 18, 42), ui::kGreyTextColour);
  model.SetDirectSound(false);
  dialog.Draw(picture);
  EXPECT_EQ(ui::ColourAt(picture, 18, 42), ui::kTextColour);
}

// A key step: a virtual key pressed (down and up), or a modifier held or let go.
struct Key {
  enum { kPress, kHold, kRelease } what = kPress;
  std::uint8_t key = 0;
};
Key Press(std::uint8_t key) { return {Key::kPress, key}; }
Key Hold(std::uint8_t key) { return {Key::kHold, key}; }

struct Outcome {
  SettingsOutcome outcome = SettingsOutcome::kOpen;
  bool direct_sound = false;
  std::int32_t position = 0;
  SettingsControl focus = SettingsControl::kDirectSound;
};

Outcome RunKeys(const std::vector<Key>& keys, const char* ini = "[Sound]\nDirectSound=0\nDelayTime=300\n") {
  ui::FixedCellUiText text;
  SettingsModel model(ParseGameIni(ini));
  SettingsDialog dialog(text, model);
  SettingsOutcome outcome = SettingsOutcome::kOpen;
  for (const Key& k : keys) {
    if (k.what == Key::kRelease) {
      outcome = dialog.Handle(platform::KeyUp{k.key});
    } else {
      outcome = dialog.Handle(platform::KeyDown{k.key});
      if (k.what == Key::kPress && outcome == SettingsOutcome::kOpen) outcome = dialog.Handle(platform::KeyUp{k.key});
    }
    if (outcome != SettingsOutcome::kOpen) break;
  }
  return {outcome, model.DirectSound(), model.Position(), dialog.Focus()};
}

TEST(SettingsDialog, KeySequences) {
  using C = SettingsControl;
  using O = SettingsOutcome;
  struct {
    const char* name;
    std::vector<Key> keys;
    O outcome;
    bool direct_sound;
    std::int32_t position;
    C focus;
  } cases[] = {
      {"Enter on the box is OK", {Press(vk::kReturn)}, O::kOk, false, 3, C::kDirectSound},
      {"Escape is Cancel", {Press(vk::kEscape)}, O::kCancel, false, 3, C::kDirectSound},
      {"Space toggles the box", {Press(vk::kSpace)}, O::kOpen, true, 3, C::kDirectSound},
      {"Tab to the bar and a step right", {Press(vk::kTab), Press(vk::kRight)}, O::kOpen, false, 4, C::kDelay},
      {"Down steps up too", {Press(vk::kTab), Press(vk::kDown), Press(vk::kDown)}, O::kOpen, false, 5, C::kDelay},
      {"Left past the end stays at 1", {Press(vk::kTab), Press(vk::kLeft), Press(vk::kLeft), Press(vk::kUp)},
       O::kOpen, false, 1, C::kDelay},
      {"Home and End", {Press(vk::kTab), Press(vk::kEnd)}, O::kOpen, false, 5, C::kDelay},
      {"Home", {Press(vk::kTab), Press(vk::kHome)}, O::kOpen, false, 1, C::kDelay},
      {"PageUp and PageDown step by one", {Press(vk::kTab), Press(vk::kPageDown), Press(vk::kPageDown),
                                           Press(vk::kPageUp)}, O::kOpen, false, 4, C::kDelay},
      {"arrows on the box move nothing", {Press(vk::kRight)}, O::kOpen, false, 3, C::kDirectSound},
      {"Tab order box, bar, OK, Cancel", {Press(vk::kTab), Press(vk::kTab), Press(vk::kTab)}, O::kOpen, false, 3,
       C::kCancel},
      {"Enter on Cancel is Cancel", {Press(vk::kTab), Press(vk::kTab), Press(vk::kTab), Press(vk::kReturn)},
       O::kCancel, false, 3, C::kCancel},
      {"Space on OK", {Press(vk::kTab), Press(vk::kTab), Press(vk::kSpace)}, O::kOk, false, 3, C::kOk},
      {"Shift+Tab goes back round", {Hold(vk::kShift), Press(vk::kTab)}, O::kOpen, false, 3, C::kCancel},
      {"a greyed bar is passed over", {Press(vk::kSpace), Press(vk::kTab)}, O::kOpen, true, 3, C::kOk},
      {"Alt+S toggles the box from anywhere", {Press(vk::kTab), Hold(vk::kAlt), Press('S')}, O::kOpen, true, 3,
       C::kDirectSound},
      {"Alt+D focuses the bar", {Hold(vk::kAlt), Press('D'), Key{Key::kRelease, vk::kAlt}, Press(vk::kRight)},
       O::kOpen, false, 4, C::kDelay},
      {"Alt+D does nothing while the bar is greyed", {Press(vk::kSpace), Hold(vk::kAlt), Press('D')}, O::kOpen,
       true, 3, C::kDirectSound},
      {"S without Alt is no access key", {Press('S')}, O::kOpen, false, 3, C::kDirectSound},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Outcome got = RunKeys(c.keys);
    EXPECT_EQ(got.outcome, c.outcome);
    EXPECT_EQ(got.direct_sound, c.direct_sound);
    EXPECT_EQ(got.position, c.position);
    EXPECT_EQ(got.focus, c.focus);
  }
}

TEST(SettingsDialog, MouseSequences) {
  ui::FixedCellUiText text;
  const auto centre = [](const Rect& r) { return platform::Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; };
  const platform::InputEvent down = platform::ButtonDown{platform::MouseButton::kLeft};
  const platform::InputEvent up = platform::ButtonUp{platform::MouseButton::kLeft};
  const auto move = [](platform::Point p) { return platform::InputEvent{platform::MouseMove{p}}; };

  SettingsModel model(ParseGameIni("[Sound]\nDirectSound=0\nDelayTime=300\n"));
  SettingsDialog dialog(text, model);
  const ui::TrackBar& bar = dialog.DelayBar();
  const Rect caption = dialog.DirectSoundBox().HitArea(text);
  const platform::Point on_caption{caption.right - 3, (caption.top + caption.bottom) / 2};

  // The bar: a click moves it to the nearest position, a drag follows the pointer.
  for (const auto& e : {move({bar.CentreOf(4) + 2, bar.at.y + 5}), down, up}) dialog.Handle(e);
  EXPECT_EQ(model.Position(), 4);
  EXPECT_EQ(dialog.Focus(), SettingsControl::kDelay);
  for (const auto& e : {move({bar.CentreOf(4), bar.at.y + 5}), down, move({bar.CentreOf(1) - 30, 0})}) dialog.Handle(e);
  EXPECT_EQ(model.Position(), 1);
  dialog.Handle(move({bar.CentreOf(5), 120}));
  dialog.Handle(up);
  EXPECT_EQ(model.Position(), 5);
  dialog.Handle(move({bar.CentreOf(2), 120}));  // no longer held
  EXPECT_EQ(model.Position(), 5);

  // The caption toggles the box; a press taken off it before the release does not.
  for (const auto& e : {move(on_caption), down, up}) dialog.Handle(e);
  EXPECT_TRUE(model.DirectSound());
  for (const auto& e : {move(on_caption), down, move({2, 2}), up}) dialog.Handle(e);
  EXPECT_TRUE(model.DirectSound());
  // Ticked, the bar takes no clicks.
  for (const auto& e : {move({bar.CentreOf(2), bar.at.y + 5}), down, up}) dialog.Handle(e);
  EXPECT_EQ(model.Position(), 5);

  EXPECT_EQ(dialog.Handle(move(centre(dialog.CancelButton().bounds))), SettingsOutcome::kOpen);
  dialog.Handle(down);
  dialog.Handle(move(centre(dialog.OkButton().bounds)));
  EXPECT_EQ(dialog.Handle(up), SettingsOutcome::kOpen);  // pressed on Cancel, released on OK
  dialog.Handle(down);
  EXPECT_EQ(dialog.Handle(up), SettingsOutcome::kOk);
  EXPECT_EQ(dialog.Handle(platform::CloseRequest{}), SettingsOutcome::kCancel);
}

// ---- The dialog run headless on a game.ini

class SettingsRunTest : public ::testing::Test {
 protected:
  int Run(const std::string& input, const std::string& ini) {
    std::ofstream(folder_.File("keys.txt")) << input;
    PlayerOptions options;
    options.headless = true;
    options.config = true;
    options.input = folder_.File("keys.txt");
    options.ini = ini;
    return RunSettingsDialog(options, folder_.Path().string() + "/", err_);
  }
  std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }

  testing::TempFolder folder_;
  std::ostringstream err_;
};

TEST_F(SettingsRunTest, OkRewritesOnlyTheTwoValues) {
  const std::string ini = folder_.File("game.ini");
  std::ofstream(ini, std::ios::binary) << "; kept\r\n[Other]\r\nx=1\r\n[Sound]\r\nDirectSound=1\r\nDelayTime=250\r\n";
  // Untick the box, one step right on the bar (2 to 3), OK.
  EXPECT_EQ(Run("0 key 32\n1 key 9\n2 key 39\n3 key 13\n", ini), 0) << err_.str();
  EXPECT_EQ(Read(ini), "; kept\r\n[Other]\r\nx=1\r\n[Sound]\r\nDirectSound=0\r\nDelayTime=300\r\n");
}

TEST_F(SettingsRunTest, CancelNeverCreatesOrChangesTheFile) {
  const std::string missing = folder_.File("none.ini");
  for (const char* input : {"0 key 32\n1 key 27\n", "0 key 9\n1 key 9\n2 key 9\n3 key 32\n", "2 quit\n", "5 key 32\n"}) {
    SCOPED_TRACE(input);
    EXPECT_EQ(Run(input, missing), 0) << err_.str();
    EXPECT_FALSE(std::filesystem::exists(missing));
  }
  const std::string ini = folder_.File("game.ini");
  std::ofstream(ini, std::ios::binary) << "[Sound]\nDelayTime=100\n";
  EXPECT_EQ(Run("0 key 32\n1 key 27\n", ini), 0);
  EXPECT_EQ(Read(ini), "[Sound]\nDelayTime=100\n");
}

TEST_F(SettingsRunTest, AFailedWriteShowsAnErrorBoxAndTheDialogStays) {
  // A folder that cannot be written (a file stands where the folder should be; a permission bit
  // would not stop a test run as root).
  std::ofstream(folder_.File("not-a-folder")) << "x";
  const std::string ini = folder_.File("not-a-folder/game.ini");
  EXPECT_EQ(Run("0 key 13\n4 key 32\n5 key 27\n", ini), 0);
  EXPECT_NE(err_.str().find("message box [error]"), std::string::npos) << err_.str();
  EXPECT_NE(err_.str().find("[ok] -> ok"), std::string::npos) << err_.str();
  // The dialog went on to take the later keys: the script did not end with it open.
  EXPECT_EQ(err_.str().find("ended with the settings dialog open"), std::string::npos) << err_.str();
}

TEST_F(SettingsRunTest, AReadOnlyFolderGetsTheErrorBox) {
  if (::geteuid() == 0) GTEST_SKIP() << "permission bits do not stop root";
  const std::filesystem::path locked = folder_.Path() / "locked";
  std::filesystem::create_directories(locked);
  std::filesystem::permissions(locked, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  EXPECT_EQ(Run("0 key 13\n3 key 27\n", (locked / "game.ini").string()), 0);
  std::filesystem::permissions(locked, std::filesystem::perms::owner_all);
  EXPECT_NE(err_.str().find("message box [error]"), std::string::npos) << err_.str();
  EXPECT_FALSE(std::filesystem::exists(locked / "game.ini"));
}

TEST(GameIniLocation, TheProgramFolderThenTheConfigFolder) {
  testing::TempFolder program, config;
  const std::string program_folder = program.Path().string() + "/";
  EXPECT_EQ(ChooseGameIni(program_folder, "/x/mine.ini").write_path, "/x/mine.ini");
  EXPECT_EQ(ChooseGameIni(program_folder, "/x/mine.ini").read_path, "/x/mine.ini");
  EXPECT_EQ(ChooseGameIni(program_folder, "").write_path, program.File("game.ini"));

  // A program folder that cannot be written (here: one that is not there).
  const char* saved = std::getenv("XDG_CONFIG_HOME");
  const std::string saved_value = saved ? saved : "";
  ::setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
  const std::string own = (config.Path() / "kestplayer" / "game.ini").string();
  const std::string gone = program.File("gone") + "/";
  GameIniLocation location = ChooseGameIni(gone, "");
  EXPECT_EQ(location.write_path, own);
  EXPECT_EQ(location.read_path, program.File("gone") + "/game.ini");  // nothing written yet
  std::filesystem::create_directories(config.Path() / "kestplayer");
  std::ofstream(own) << "[Sound]\n";
  location = ChooseGameIni(gone, "");
  EXPECT_EQ(location.read_path, own);
  if (saved) ::setenv("XDG_CONFIG_HOME", saved_value.c_str(), 1); else ::unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace kest::shell
