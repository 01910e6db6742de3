#include "shell/settings_run.h"

#include <filesystem>
#include <ostream>

#include "core/cp932.h"
#include "core/errors.h"
#include "platform/png_writer.h"
#include "shell/dialog_shots.h"
#include "shell/game_ini_location.h"
#include "shell/message_boxes.h"
#include "shell/messages.h"
#include "shell/run_platform.h"
#include "shell/run_ui_text.h"
#include "shell/runner.h"
#include "shell/settings_dialog.h"
#include "shell/window_picture.h"

namespace kest::shell {

namespace {

// One run of the dialog on an open window.
class SettingsSession {
 public:
  SettingsSession(const PlayerOptions& options, RunPlatform& run, platform::Display& display, ui::UiText& text,
                  const GameIniLocation& ini, std::ostream& err)
      : options_(options),
        run_(run),
        display_(display),
        text_(text),
        ini_(ini),
        err_(err),
        model_(ReadGameIni(ini.read_path)),
        dialog_(text, model_),
        picture_(SettingsDialog::kSize.width, SettingsDialog::kSize.height, 32),
        window_(display),
        shots_(options.dialog_shots),
        boxes_(*run.owned, run.headless, text, shots_, err) {
    boxes_.AttachWindow(&window_);
  }

  int Run() {
    Redraw();
    if (shots_.Enabled() && !WriteShot([&] { shots_.Write(display_.CaptureWindow()); })) return kExitFailed;
    return run_.headless ? RunHeadless() : RunWindow();
  }

 private:
  void Redraw() {
    dialog_.Draw(picture_);
    const platform::Rect all[] = {{0, 0, picture_.Width(), picture_.Height()}};
    window_.UpdateScene(ViewOf(picture_), all);
    window_.Flush();
  }

  template <typename Write>
  bool WriteShot(Write write) {
    try {
      write();
      return true;
    } catch (const KestError& error) {
      err_ << "kestplayer: " << ErrorText(error) << '\n';
      return false;
    }
  }

  // Applies one outcome; answers whether the dialog has closed.
  bool Apply(SettingsOutcome outcome) {
    if (outcome == SettingsOutcome::kCancel) return true;
    if (outcome == SettingsOutcome::kOpen) return false;
    try {
      const std::filesystem::path folder = std::filesystem::path(ini_.write_path).parent_path();
      std::error_code ignored;
      if (!folder.empty()) std::filesystem::create_directories(folder, ignored);  // the write says what failed
      WriteGameIni(ini_.write_path, model_.ToWrite());
      return true;
    } catch (const KestError& error) {
      boxes_.Show({.caption = Message(ShellMessage::SettingsCaption),
                   .text = error.what(),
                   .buttons = platform::MessageButtons::kOk,
                   .icon = platform::MessageIcon::kError});
      Redraw();
      return false;
    }
  }

  int RunWindow() {
    for (;;) {
      const std::optional<platform::InputEvent> event = run_.owned->WaitEvent(100);
      if (!event) continue;
      if (Apply(dialog_.Handle(*event))) return kExitOk;
      Redraw();
    }
  }

  int RunHeadless() {
    std::size_t next_shot = 0;
    for (std::uint32_t frame = 0;; ++frame) {
      if (options_.frames && frame >= *options_.frames) return kExitOk;
      run_.headless->BeginFrame(frame);
      bool had_event = false;
      while (const std::optional<platform::InputEvent> event = run_.owned->PollEvent()) {
        had_event = true;
        if (Apply(dialog_.Handle(*event))) return kExitOk;
      }
      if (had_event) Redraw();
      for (; next_shot < options_.screenshots.size() && options_.screenshots[next_shot].frame <= frame; ++next_shot) {
        const Screenshot& shot = options_.screenshots[next_shot];
        if (!WriteShot([&] { platform::WritePngFile(shot.path, display_.CaptureOutput().View()); })) return kExitFailed;
      }
      for (const Screenshot& shot : options_.window_screenshots) {
        if (shot.frame == frame &&
            !WriteShot([&] { platform::WritePngFile(shot.path, display_.CaptureWindow().View()); }))
          return kExitFailed;
      }
      run_.headless->AdvanceClock(options_.frame_ms);
      if (!run_.headless->ScriptPending()) {
        err_ << "kestplayer: the scripted input ended with the settings dialog open; it closes without writing\n";
        return kExitOk;
      }
    }
  }

  const PlayerOptions& options_;
  RunPlatform& run_;
  platform::Display& display_;
  ui::UiText& text_;
  GameIniLocation ini_;
  std::ostream& err_;
  SettingsModel model_;
  SettingsDialog dialog_;
  TDIBX picture_;
  WindowPicture window_;
  DialogShots shots_;
  MessageBoxes boxes_;
};

}  // namespace

int RunSettingsDialog(const PlayerOptions& options, const std::string& program_folder, std::ostream& err) {
  RunPlatform run;
  try {
    run = MakePlatform(options, err);
  } catch (const std::runtime_error& error) {
    err << ErrorText(error) << '\n';
    return kExitBadOptions;
  }
  const GameIniLocation ini = ChooseGameIni(program_folder, options.ini);
  RunUiText widget_text;
  try {
    widget_text = MakeRunUiText(options);
  } catch (const KestError& error) {
    err << "kestplayer: " << ErrorText(error) << '\n';
    return kExitBadOptions;
  }
  platform::Display* display = nullptr;
  try {
    display = &run.owned->OpenDisplay({.scene = {SettingsDialog::kSize.width, SettingsDialog::kSize.height},
                                       .title = Message(ShellMessage::SettingsCaption),
                                       .scale = static_cast<int>(options.scale)});
  } catch (const platform::NoDisplayError& error) {
    err << "kestplayer: no display can be opened (" << ErrorText(error)
        << "); run with --headless and --input to use the settings dialog without a window\n";
    return kExitFailed;
  } catch (const platform::PlatformError& error) {
    err << "kestplayer: cannot open the settings dialog: " << ErrorText(error) << '\n';
    return kExitFailed;
  }
  int status = kExitOk;
  try {
    SettingsSession session(options, run, *display, *widget_text.text, ini, err);
    status = session.Run();
  } catch (const platform::ScriptedInputError& error) {
    err << ErrorText(error) << '\n';
    status = kExitFailed;
  }
  run.owned->CloseDisplay();
  return status;
}

}  // namespace kest::shell
