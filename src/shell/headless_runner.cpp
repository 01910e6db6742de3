#include "shell/headless_runner.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <set>

#include "core/cp932.h"
#include "core/errors.h"
#include "params/param_collection.h"
#include "params/sys_func_man.h"
#include "platform/headless/headless_platform.h"
#include "scenario/call_man.h"
#include "scenario/frame_clock.h"
#include "scenario/page.h"
#include "scenario/project.h"
#include "scenario/scene.h"
#include "shell/frame.h"
#include "shell/run_output.h"
#include "vfs/file_manager.h"
#include "vfs/game_mount.h"

namespace kest::shell {

namespace {

using platform::HeadlessPlatform;

// The project's message boxes go to the headless platform, which takes scripted answers and
// logs every box; the last one is kept for the one-line start-up failure.
class HeadlessHost final : public TProjectHost {
 public:
  explicit HeadlessHost(HeadlessPlatform& platform) : platform_(platform) {}

  bool ShowMessage(const std::string& caption, const std::string& text, Icon icon, Buttons buttons) override {
    last_message = cp932::ToUtf8Lenient(caption) + ": " + cp932::ToUtf8Lenient(text);
    platform::MessageBoxRequest request{
        .caption = caption,
        .text = text,
        .buttons = buttons == Buttons::Ok ? platform::MessageButtons::kOk : platform::MessageButtons::kOkCancel,
        .icon = icon == Icon::Warning ? platform::MessageIcon::kWarning : platform::MessageIcon::kInformation};
    return platform_.ShowMessageBox(request) == platform::MessageAnswer::kOk;
  }
  void SetApplicationTitle(const std::string& /*title*/) override {}
  void RequestClose() override { close_requested = true; }

  std::string last_message;
  bool close_requested = false;

 private:
  HeadlessPlatform& platform_;
};

// Each distinct error of a command is logged once, however often the command fails.
class ErrorLog {
 public:
  explicit ErrorLog(std::ostream& err) : err_(err) {}
  void Script(const ScriptError& error) {
    std::string line = cp932::ToUtf8Lenient(error.page);
    if (error.line > 0) line += "(" + std::to_string(error.line) + ")";
    Line(line + ": " + cp932::ToUtf8Lenient(error.message));
  }
  void Line(const std::string& utf8) {
    if (seen_.insert(utf8).second) err_ << "kestplayer: " << utf8 << '\n' << std::flush;
  }

 private:
  std::ostream& err_;
  std::set<std::string> seen_;
};

bool WriteVariables(const TParamCollection& params, const std::string& path, std::ostream& err) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (out) DumpVariables(params, out);
  if (!out) {
    err << "kestplayer: " << path << ": cannot write the variable dump\n";
    return false;
  }
  return true;
}

}  // namespace

int RunHeadless(const PlayerOptions& options, const std::string& program_folder, std::ostream& err) {
  platform::HeadlessOptions platform_options{.log = &err};
  try {
    if (!options.input.empty()) platform_options.input = platform::LoadScriptedInput(options.input);
  } catch (const platform::ScriptedInputError& error) {
    err << error.what() << '\n';
    return kExitBadOptions;
  }
  std::optional<TraceFile> trace;
  try {
    if (!options.trace.empty()) trace.emplace(options.trace);
  } catch (const std::runtime_error& error) {
    err << "kestplayer: " << error.what() << '\n';
    return kExitBadOptions;
  }

  HeadlessPlatform platform(std::move(platform_options));
  HeadlessHost host(platform);
  ErrorLog log(err);
  TVrFileManager files;
  TParamCollection params;
  TSysFuncMan functions;
  if (options.seed) functions.SetRandomSeed(*options.seed);
  TEmptyScene scene;
  TFrameClock clock;

  std::unique_ptr<TProject> project;
  try {
    MountGameData(files, {.program_folder = program_folder, .game_folders = options.game_folders});
    const std::string first = options.game_folders.empty() ? program_folder : options.game_folders.front();
    project = std::make_unique<TProject>(
        files, params, host,
        ProjectStartup{.arguments = options.game_folders,
                       .program_folder = program_folder,
                       .save_file = (std::filesystem::path(first) / "save.dat").string()},
        ProjectRuntime{.functions = &functions, .scene = &scene, .clock = &clock});
  } catch (const std::exception& error) {  // the player's errors, and a page too old to run
    err << "kestplayer: " << cp932::ToUtf8Lenient(error.what()) << '\n';
    return kExitFailed;
  }
  if (project->QuitRequested()) {
    err << "kestplayer: "
        << (host.last_message.empty() ? "the title in " + (options.game_folders.empty() ? program_folder : options.game_folders.front()) +
                                            " could not be started (no project file kest.kpb, or one too new)"
                                      : host.last_message)
        << '\n';
    return kExitFailed;
  }
  TCallMan& call_man = *project->CallMan();
  if (trace) call_man.SetTrace(&*trace);
  call_man.SetErrorSink([&log](const ScriptError& error) { log.Script(error); });

  FrameDriver driver(*project, scene, clock, [&log](const std::string& message) {
    log.Line(cp932::ToUtf8Lenient(message));
  });
  int status = kExitOk;
  bool active = true;
  bool close_requested = false;
  clock.Restart(platform.Tick());
  try {
    for (std::uint32_t frame = 0; !options.frames || frame < *options.frames; ++frame) {
      platform.BeginFrame(frame);
      while (const std::optional<platform::InputEvent> event = platform.PollEvent()) {
        if (std::holds_alternative<platform::CloseRequest>(*event)) close_requested = true;
        if (std::holds_alternative<platform::Deactivate>(*event)) active = false;
        if (std::holds_alternative<platform::Activate>(*event) && !active) {
          active = true;
          clock.Restart(platform.Tick());  // the time spent in the background does not count
        }
      }
      if (close_requested) break;
      platform.AdvanceClock(options.frame_ms);
      if (!active) continue;
      const FrameResult result = driver.Tick(platform.Tick(), [&] {
        for (const platform::ScriptEventRequest& request : platform.TakeScriptEvents())
          scene.Events().Add({.Handler = request.handler, .Sender = scene.StandInSender(request.sender)});
      });
      if (result == FrameResult::Quit || project->QuitRequested()) break;
      // The script has ended and nothing can start a handler any more.
      if (call_man.MainScriptEnded() && scene.Events().Count() == 0 && !platform.ScriptPending()) break;
    }
    project->RunExitPage();
  } catch (const platform::ScriptedInputError& error) {
    err << error.what() << '\n';
    status = kExitFailed;
  } catch (const std::exception& error) {  // a page too old to run, or an exit page that failed
    err << "kestplayer: " << cp932::ToUtf8Lenient(error.what()) << '\n';
    status = kExitFailed;
  }
  project.reset();
  if (trace) trace->Flush();
  if (!options.dump_vars.empty() && !WriteVariables(params, options.dump_vars, err)) status = kExitFailed;
  return status;
}

}  // namespace kest::shell
