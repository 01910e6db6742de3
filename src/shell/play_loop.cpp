#include "shell/play_loop.h"

#include <algorithm>

#include "core/errors.h"
#include "core/text_format.h"
#include "platform/headless/headless_platform.h"
#include "platform/png_writer.h"
#include "scenario/call_man.h"
#include "shell/input_dispatch.h"
#include "shell/messages.h"
#include "shell/ui/virtual_keys.h"

namespace kest::shell {

namespace {

// While the player is in the background it waits for input instead of spinning.
constexpr std::uint32_t kInactiveWaitMs = 100;

}  // namespace

PlayLoop::PlayLoop(PlayerSession& session, platform::Platform& platform, platform::HeadlessPlatform* headless,
                   PlatformHost& host, TScreenManager& screen, LoopWindow window, ErrorLog& log,
                   LoopOptions options)
    : session_(session),
      platform_(platform),
      headless_(headless),
      host_(host),
      screen_(screen),
      window_(window),
      log_(log),
      options_(std::move(options)),
      driver_(session.Project(), session.Scene(), session.Clock(),
              [this](const std::string& message) { log_.Line(cp932::ToUtf8Message(message)); }),
      pointer_(session.Files(), [this](const std::string& text) { session_.Scene().Note(text); }) {
  const auto by_frame = [](const Screenshot& a, const Screenshot& b) { return a.frame < b.frame; };
  std::stable_sort(options_.screenshots.begin(), options_.screenshots.end(), by_frame);
  std::stable_sort(options_.window_screenshots.begin(), options_.window_screenshots.end(), by_frame);
  boxes_seen_ = window_.boxes.Shown();
}

bool PlayLoop::CloseWanted() const {
  return close_requested_ || host_.CloseRequested() || window_.boxes.CloseRequested();
}

void PlayLoop::AfterModal() {
  if (window_.boxes.Shown() == boxes_seen_) return;
  boxes_seen_ = window_.boxes.Shown();
  session_.Clock().Restart(platform_.Tick());
  session_.Scene().ClearKeys();
  control_held_ = alt_held_ = false;
  if (const std::optional<bool> activated = window_.boxes.TakeActivation()) {
    if (*activated) {
      Handle(platform::Activate{});
    } else {
      Handle(platform::Deactivate{});
    }
  }
}

void PlayLoop::RefreshWindow() {
  if (window_.toolbar)
    window_.toolbar->Refresh(window_.picture, screen_.FullScreen() ? ScreenIs::kFullScreen : ScreenIs::kWindow);
  window_.picture.Flush();
}

LoopEnd PlayLoop::Run() {
  TProject& project = session_.Project();
  TCallMan& call_man = *project.CallMan();
  session_.Clock().Restart(platform_.Tick());
  for (std::uint32_t frame = 0;;) {  // the number of the next frame
    if (options_.frames && frame >= *options_.frames) return LoopEnd::FrameLimit;
    if (headless_) headless_->BeginFrame(frame);
    while (const std::optional<platform::InputEvent> event = platform_.PollEvent()) Handle(*event);
    AfterModal();
    RefreshWindow();
    if (CloseWanted()) return LoopEnd::Closed;

    if (headless_) {
      headless_->AdvanceClock(options_.frame_ms);
      // Nobody is there to close a headless run once the title gave up.
      if (project.QuitRequested()) return LoopEnd::Closed;
      if (!active_) {  // the scripted frame passes in the background, without running
        ++frame;
        continue;
      }
    } else if (!active_ || project.QuitRequested()) {
      if (const std::optional<platform::InputEvent> event = platform_.WaitEvent(kInactiveWaitMs)) Handle(*event);
      continue;
    }

    const std::uint32_t start = platform_.Tick();
    const FrameResult result = driver_.Tick(start, [this] { QueueScriptedEvents(); });
    AfterModal();  // a box the script showed during the frame
    if (result == FrameResult::Skipped) continue;  // a gap too long to count (a stalled system)
    if (result == FrameResult::Drawn) Present();
    RefreshWindow();
    ShowPointer();
    if (!TakeScreenshots(frame)) return LoopEnd::Failed;
    ++frame;
    if (result == FrameResult::Quit || (headless_ && project.QuitRequested()) || CloseWanted()) return LoopEnd::Closed;
    if (headless_ && call_man.MainScriptEnded() && session_.Scene().Events().Count() == 0 &&
        !headless_->ScriptPending())
      return LoopEnd::ScriptEnded;
    if (project.FrameWait) platform_.Sleep(TFrameClock::SleepAfterFrame(start, platform_.Tick()));
  }
}

void PlayLoop::Handle(const platform::InputEvent& event) {
  if (std::holds_alternative<platform::CloseRequest>(event)) {
    close_requested_ = true;
    return;
  }
  if (std::holds_alternative<platform::Activate>(event)) {
    if (!active_) session_.Clock().Restart(platform_.Tick());  // the time in the background does not count
    active_ = true;
    return;
  }
  if (std::holds_alternative<platform::Deactivate>(event)) {
    active_ = false;
    control_held_ = alt_held_ = false;
  }
  if (HandleShortcut(event)) return;
  if (window_.toolbar &&
      window_.toolbar->Handle(event, screen_.FullScreen() ? ScreenIs::kFullScreen : ScreenIs::kWindow)) {
    RunToolbarAction(window_.toolbar->TakeAction());
    return;
  }
  DeliverInput(event, session_.Scene(), active_ ? Foreground::Yes : Foreground::No);
}

void PlayLoop::RunToolbarAction(ui::ToolbarAction action) {
  switch (action) {
    case ui::ToolbarAction::kExit:
      AskToQuit();
      break;
    case ui::ToolbarAction::kScreenSwitch:
      screen_.ToggleFullScreen(!screen_.FullScreen());
      break;
    case ui::ToolbarAction::kNone:
      break;
  }
}

bool PlayLoop::HandleShortcut(const platform::InputEvent& event) {
  if (const auto* up = std::get_if<platform::KeyUp>(&event)) {
    if (up->virtual_key == ui::vk::kControl) control_held_ = false;
    if (up->virtual_key == ui::vk::kAlt) alt_held_ = false;
    return false;
  }
  const auto* down = std::get_if<platform::KeyDown>(&event);
  if (!down) return false;
  if (down->virtual_key == ui::vk::kControl) control_held_ = true;
  if (down->virtual_key == ui::vk::kAlt) alt_held_ = true;
  if (!active_ || down->repeat == platform::KeyRepeat::kRepeat) return false;
  if (control_held_ && down->virtual_key == ui::vk::kQ) {
    AskToQuit();
    return true;
  }
  if (alt_held_ && down->virtual_key == ui::vk::kReturn) {
    screen_.ToggleFullScreen(!screen_.FullScreen());
    return true;
  }
  return false;
}

bool PlayLoop::AskToQuit() {
  TProject& project = session_.Project();
  const bool was_quit_requested = project.QuitRequested();
  project.SetQuitRequested(true);
  const platform::MessageBoxRequest question{
      .caption = Message(ShellMessage::CaptionConfirmation),
      .text = FillMessage(Message(ShellMessage::ExitQuestion), {project.Title}),
      .buttons = platform::MessageButtons::kYesNo,
      .icon = platform::MessageIcon::kQuestion};
  if (window_.boxes.Show(question) == platform::MessageAnswer::kYes) {
    close_requested_ = true;
    return true;
  }
  project.SetQuitRequested(was_quit_requested);
  return false;
}

void PlayLoop::QueueScriptedEvents() {
  if (!headless_) return;
  TKestBaseList& scene = session_.Scene();
  for (const platform::ScriptEventRequest& request : headless_->TakeScriptEvents())
    scene.Events().Add({.Handler = request.handler, .Sender = scene.StandInSender(request.sender)});
}

void PlayLoop::Present() {
  TKestBaseList& scene = session_.Scene();
  changed_.clear();
  for (const Rect& r : scene.PresentRects()) changed_.push_back({r.left, r.top, r.right, r.bottom});
  window_.picture.UpdateScene(ViewOf(scene.Surface()), changed_);
}

void PlayLoop::ShowPointer() {
  platform::Display* display = platform_.CurrentDisplay();
  if (!display) return;
  const std::string& wanted = session_.Scene().ActiveScreen().cursor_name;
  pointer_.Show(wanted.empty() ? session_.Params().Values().cursor_name : wanted, session_.Clock().LastFrameTime,
                *display);
}

bool PlayLoop::TakeScreenshots(std::uint32_t frame) {
  return TakeShots(frame, options_.screenshots, next_screenshot_, false) &&
         TakeShots(frame, options_.window_screenshots, next_window_screenshot_, true);
}

bool PlayLoop::TakeShots(std::uint32_t frame, const std::vector<Screenshot>& shots, std::size_t& next,
                         bool whole_window) {
  for (; next < shots.size() && shots[next].frame <= frame; ++next) {
    const Screenshot& shot = shots[next];
    try {
      platform::Display* display = platform_.CurrentDisplay();
      if (!display) throw platform::PlatformError("no display is open");
      platform::WritePngFile(shot.path, (whole_window ? display->CaptureWindow() : display->CaptureOutput()).View());
    } catch (const KestError& error) {
      log_.Line(shot.path + ": cannot write the screenshot: " + ErrorText(error));
      return false;
    }
  }
  return true;
}

}  // namespace kest::shell
