#include "shell/play_loop.h"

#include <algorithm>

#include "core/errors.h"
#include "core/text_format.h"
#include "platform/headless/headless_platform.h"
#include "platform/png_writer.h"
#include "scenario/call_man.h"
#include "shell/input_dispatch.h"
#include "shell/messages.h"

namespace kest::shell {

namespace {

constexpr std::uint8_t kVkReturn = 0x0D;
constexpr std::uint8_t kVkControl = 0x11;
constexpr std::uint8_t kVkAlt = 0x12;
constexpr std::uint8_t kVkQ = 0x51;

// While the player is in the background it waits for input instead of spinning.
constexpr std::uint32_t kInactiveWaitMs = 100;

platform::SurfaceView ViewOf(TDIBX& surface) {
  if (surface.Width() <= 0 || surface.Height() <= 0) return {};
  return {surface.PixelAddress(0, 0), surface.Pitch(), {surface.Width(), surface.Height()}};
}

}  // namespace

PlayLoop::PlayLoop(PlayerSession& session, platform::Platform& platform, platform::HeadlessPlatform* headless,
                   PlatformHost& host, TScreenManager& screen, ErrorLog& log, LoopOptions options)
    : session_(session),
      platform_(platform),
      headless_(headless),
      host_(host),
      screen_(screen),
      log_(log),
      options_(std::move(options)),
      driver_(session.Project(), session.Scene(), session.Clock(),
              [this](const std::string& message) { log_.Line(cp932::ToUtf8Message(message)); }),
      pointer_(session.Files(), [this](const std::string& text) { session_.Scene().Note(text); }) {
  std::stable_sort(options_.screenshots.begin(), options_.screenshots.end(),
                   [](const Screenshot& a, const Screenshot& b) { return a.frame < b.frame; });
}

LoopEnd PlayLoop::Run() {
  TProject& project = session_.Project();
  TCallMan& call_man = *project.CallMan();
  session_.Clock().Restart(platform_.Tick());
  for (std::uint32_t frame = 0;;) {  // the number of the next frame
    if (options_.frames && frame >= *options_.frames) return LoopEnd::FrameLimit;
    if (headless_) headless_->BeginFrame(frame);
    while (const std::optional<platform::InputEvent> event = platform_.PollEvent()) Handle(*event);
    if (close_requested_ || host_.CloseRequested()) return LoopEnd::Closed;

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
    if (result == FrameResult::Skipped) continue;  // a gap too long to count (a stalled system)
    if (result == FrameResult::Drawn) Present();
    ShowPointer();
    if (!TakeScreenshots(frame)) return LoopEnd::Failed;
    ++frame;
    if (result == FrameResult::Quit || (headless_ && project.QuitRequested())) return LoopEnd::Closed;
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
  DeliverInput(event, session_.Scene(), active_ ? Foreground::Yes : Foreground::No);
}

bool PlayLoop::HandleShortcut(const platform::InputEvent& event) {
  if (const auto* up = std::get_if<platform::KeyUp>(&event)) {
    if (up->virtual_key == kVkControl) control_held_ = false;
    if (up->virtual_key == kVkAlt) alt_held_ = false;
    return false;
  }
  const auto* down = std::get_if<platform::KeyDown>(&event);
  if (!down) return false;
  if (down->virtual_key == kVkControl) control_held_ = true;
  if (down->virtual_key == kVkAlt) alt_held_ = true;
  if (!active_ || down->repeat == platform::KeyRepeat::kRepeat) return false;
  if (control_held_ && down->virtual_key == kVkQ) {
    AskToQuit();
    return true;
  }
  if (alt_held_ && down->virtual_key == kVkReturn) {
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
  if (platform_.ShowMessageBox(question) == platform::MessageAnswer::kYes) {
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
  screen_.Present(ViewOf(scene.Surface()), changed_);
}

void PlayLoop::ShowPointer() {
  platform::Display* display = platform_.CurrentDisplay();
  if (!display) return;
  const std::string& wanted = session_.Scene().ActiveScreen().cursor_name;
  pointer_.Show(wanted.empty() ? session_.Params().Values().cursor_name : wanted, session_.Clock().LastFrameTime,
                *display);
}

bool PlayLoop::TakeScreenshots(std::uint32_t frame) {
  for (; next_screenshot_ < options_.screenshots.size() && options_.screenshots[next_screenshot_].frame <= frame;
       ++next_screenshot_) {
    const Screenshot& shot = options_.screenshots[next_screenshot_];
    try {
      platform::Display* display = platform_.CurrentDisplay();
      if (!display) throw platform::PlatformError("no display is open");
      platform::WritePngFile(shot.path, display->CaptureOutput().View());
    } catch (const KestError& error) {
      log_.Line(shot.path + ": cannot write the screenshot: " + ErrorText(error));
      return false;
    }
  }
  return true;
}

}  // namespace kest::shell
