#include "shell/runner.h"

#include <chrono>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>

#include "core/cp932.h"
#include "core/errors.h"
#include "platform/headless/headless_platform.h"
#include "platform/sdl/sdl_platform.h"
#include "render/wipes/wipe.h"
#include "scenario/call_man.h"
#include "scenario/trace.h"
#include "shell/error_log.h"
#include "shell/game_ini.h"
#include "shell/game_ini_location.h"
#include "shell/dialog_shots.h"
#include "shell/instance_lock.h"
#include "shell/message_boxes.h"
#include "shell/platform_host.h"
#include "shell/play_loop.h"
#include "shell/player_session.h"
#include "shell/player_state.h"
#include "shell/run_platform.h"
#include "shell/run_ui_text.h"
#include "shell/run_output.h"
#include "shell/save_location.h"
#include "shell/screen_man.h"
#include "shell/title_folder.h"
#include "shell/toolbar_dock.h"
#include "shell/window_picture.h"
#include "vfs/cd_roots.h"

namespace kest::shell {

namespace {

bool WriteVariables(const TParamCollection& params, const std::string& path, std::ostream& err) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (out) DumpVariables(params, out);
  if (!out) {
    err << "kestplayer: " << path << ": cannot write the variable dump\n";
    return false;
  }
  return true;
}

std::uint32_t TimeOfDaySeed() {
  return static_cast<std::uint32_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

// Why a title that started cannot be played (UTF-8), or "" when it can.
std::string WhyTitleCannotPlay(const TProject& project, const PlatformHost& host, const std::string& game_folder) {
  if (project.QuitRequested()) {
    if (!host.LastMessage().empty()) return host.LastMessage();
    const std::string why = WhyProjectDidNotStart(project.StartStop(), project.ProjectVersionRead(), game_folder);
    return why.empty() ? "the title in " + game_folder + " could not be started" : why;
  }
  const std::string size = std::to_string(project.ScreenWidth) + " x " + std::to_string(project.ScreenHeight);
  if (project.ScreenWidth <= 0 || project.ScreenHeight <= 0)
    return "the title sets no screen size (" + size + "), so it has nothing to show";
  if (!SceneSizeFits(project.ScreenWidth, project.ScreenHeight))
    return "the title's screen size " + size + " is larger than the player can show (at most " +
           std::to_string(kMaxScenePixels) + " pixels)";
  return {};
}

// The player is installed to the hard disk; run from a title's CD it ends at once, silently.
bool RunsFromOpticalDisk(const std::string& program_folder) {
  for (const std::string& mount_point : SystemOpticalMountPoints())
    if (program_folder.starts_with(mount_point)) return true;
  return false;
}

}  // namespace

int RunPlayer(const PlayerOptions& options, const std::string& program_folder, std::ostream& err) {
  if (RunsFromOpticalDisk(program_folder)) return kExitOk;
  const std::string game_folder = options.game_folders.empty() ? program_folder : options.game_folders.front();
  for (const std::string& folder : options.game_folders) {
    if (const std::string why = WhyFolderCannotBeRead(folder); !why.empty()) {
      err << "kestplayer: " << cp932::SanitizeUtf8Line(why) << '\n';
      return kExitFailed;
    }
  }
  // One player per game folder; a headless run (a test, a batch job) is not a player the user
  // could start twice by mistake.
  std::optional<InstanceLock> lock;
  if (!options.headless) {
    lock.emplace(game_folder);
    if (lock->HeldByAnother()) return kExitOk;
  }

  RunPlatform run_platform;
  std::optional<TraceFile> trace;
  try {
    run_platform = MakePlatform(options, err);
    if (!options.trace.empty()) trace.emplace(options.trace);
  } catch (const platform::ScriptedInputError& error) {
    err << ErrorText(error) << '\n';
    return kExitBadOptions;
  } catch (const std::runtime_error& error) {
    err << "kestplayer: " << ErrorText(error) << '\n';
    return kExitBadOptions;
  }
  platform::Platform& platform = *run_platform.owned;

  // The sound settings wait for the media layer, which reads them when it opens its output.
  [[maybe_unused]] const SoundSettings sound = ReadGameIni(ChooseGameIni(program_folder, options.ini).read_path);

  const SaveLocation save = ChooseSaveFolder(game_folder, options.save_dir);
  if (save.moved) err << "kestplayer: " << game_folder << " cannot be written; saves are kept in " << save.folder << '\n';

  RunUiText widget_text;
  try {
    widget_text = MakeRunUiText(options);
  } catch (const KestError& error) {
    err << "kestplayer: " << ErrorText(error) << '\n';
    return kExitBadOptions;
  }
  ui::UiText& ui_text = *widget_text.text;
  DialogShots dialog_shots(options.dialog_shots);
  MessageBoxes boxes(platform, run_platform.headless, ui_text, dialog_shots, err);
  PlatformHost host(platform, boxes);
  ErrorLog log(err);
  std::unique_ptr<PlayerSession> session;
  try {
    session = std::make_unique<PlayerSession>(
        SessionStart{.game_folders = options.game_folders,
                     .program_folder = program_folder,
                     .save_folder = save.folder,
                     .seed = options.seed ? options.seed : options.headless ? std::optional<std::uint32_t>(0)
                                                                            : TimeOfDaySeed()},
        host);
  } catch (const std::exception& error) {  // the player's errors, and a page too old to run
    err << "kestplayer: " << ErrorText(error) << '\n';
    return kExitFailed;
  }
  TProject& project = session->Project();
  if (const std::string why = WhyTitleCannotPlay(project, host, game_folder); !why.empty()) {
    err << "kestplayer: " << cp932::SanitizeUtf8Line(why) << '\n';
    return kExitFailed;
  }
  if (options.date) session->Clock().Dates = TDateClock(*options.date);

  platform::Display* display = nullptr;
  try {
    display = &platform.OpenDisplay({.scene = {project.ScreenWidth, project.ScreenHeight},
                                     .title = project.Title,
                                     .scale = static_cast<int>(options.scale),
                                     .dock_height = ui::Toolbar::kDockHeight});
  } catch (const platform::NoDisplayError& error) {
    err << "kestplayer: no display can be opened (" << ErrorText(error)
        << "); run with --headless to play without a window\n";
    return kExitFailed;
  } catch (const platform::PlatformError& error) {
    err << "kestplayer: cannot open the window: " << ErrorText(error) << '\n';
    return kExitFailed;
  }
  host.SetApplicationTitle(project.Title);
  TScreenManager screen(*display, {project.ScreenWidth, project.ScreenHeight},
                        {project.FullScreenWidth, project.FullScreenHeight});
  WindowPicture window(*display, [&screen](const platform::SurfaceView& picture,
                                           std::span<const platform::Rect> changed) {
    return screen.Present(picture, changed);
  });
  ToolbarDock toolbar(ui_text, project.ScreenWidth);
  boxes.AttachWindow(&window);
  if (options.fullscreen) screen.ToggleFullScreen(true);
  ConnectPlayerState(*session, screen, *display);

  TCallMan& call_man = *project.CallMan();
  if (trace) call_man.SetTrace(&*trace);
  call_man.SetErrorSink([&log](const ScriptError& error) { log.Script(error); });
  session->Scene().SetNotice([&](const std::string& note) {
    if (trace) trace->Write(FormatTraceNote(session->Clock().FrameClock, note));
    log.Line(cp932::ToUtf8Message(note));
  });
  SetWipeNotice([&](const std::string& note) {
    if (trace) trace->Write(FormatTraceNote(session->Clock().FrameClock, note));
    log.Line(cp932::ToUtf8Lenient(note));
  });
  // The hook names this run's trace and log: it goes when they do.
  struct WipeNoticeScope {
    ~WipeNoticeScope() { SetWipeNotice({}); }
  } wipe_notice_scope;

  int status = kExitOk;
  PlayLoop loop(*session, platform, run_platform.headless, host, screen,
                {.picture = window, .toolbar = &toolbar, .boxes = boxes}, log,
                {.frames = options.frames,
                 .frame_ms = options.frame_ms,
                 .screenshots = options.screenshots,
                 .window_screenshots = options.window_screenshots});
  try {
    if (loop.Run() == LoopEnd::Failed) status = kExitFailed;
    project.RunExitPage();
  } catch (const platform::ScriptedInputError& error) {
    err << ErrorText(error) << '\n';
    status = kExitFailed;
  } catch (const std::exception& error) {  // a page too old to run, or an exit page that failed
    err << "kestplayer: " << ErrorText(error) << '\n';
    status = kExitFailed;
  }
  session->EndProject();  // writes the status data
  if (trace) trace->Flush();
  if (!options.dump_vars.empty() && !WriteVariables(session->Params(), options.dump_vars, err)) status = kExitFailed;
  boxes.AttachWindow(nullptr);
  platform.CloseDisplay();
  return status;
}

}  // namespace kest::shell
