#include "platform/headless/headless_platform.h"

#include <algorithm>
#include <iostream>

#include "core/cp932.h"
#include "platform/desktop.h"
#include "platform/headless/headless_display.h"
#include "platform/headless/null_sound.h"
#include "platform/message_box.h"
#include "platform/png_writer.h"

namespace kest::platform {

const std::vector<DisplayMode>& HeadlessDisplayModes() {
  static const std::vector<DisplayMode> modes{
      {640, 480, 32, 60}, {800, 600, 32, 60}, {1024, 768, 32, 60}, {1280, 720, 32, 60}, {1920, 1080, 32, 60},
  };
  return modes;
}

DisplayMode HeadlessDesktopMode() { return {1920, 1080, 32, 60}; }

HeadlessPlatform::HeadlessPlatform(HeadlessOptions options)
    : input_(std::move(options.input)), log_(options.log) {
  // Answers wait in their own queue: each becomes usable once its frame has begun, and those of
  // frame 0 already before it, for the boxes of start-up.
  for (const ScriptedAction& action : input_.actions) {
    if (action.kind == ScriptedKind::kAnswer) answers_.push_back(action);
  }
}

HeadlessPlatform::~HeadlessPlatform() = default;

std::ostream& HeadlessPlatform::Log() const { return log_ ? *log_ : std::cerr; }

Display& HeadlessPlatform::OpenDisplay(const DisplaySpec& spec) {
  if (display_) throw PlatformError("a display is already open");
  display_ = std::make_unique<HeadlessDisplay>(*this, spec);
  return *display_;
}

Display* HeadlessPlatform::CurrentDisplay() { return display_.get(); }

void HeadlessPlatform::CloseDisplay() { display_.reset(); }

MessageAnswer HeadlessPlatform::AnswerMessageBox(const MessageBoxRequest& request) {
  MessageAnswer answer = DefaultAnswer(request.buttons);
  std::string_view how = "default";
  if (!answers_.empty() && answers_.front().frame <= current_frame_) {
    const ScriptedAction scripted = answers_.front();
    answers_.pop_front();
    if (!Offers(request.buttons, scripted.answer)) {
      throw ScriptedInputError(input_.file, scripted.line,
                               "the answer \"" + std::string(AnswerName(scripted.answer)) +
                                   "\" does not fit the message box it met: " + DescribeMessageBox(request));
    }
    answer = scripted.answer;
    how = "scripted";
  }
  Log() << DescribeMessageBox(request, answer, how) << '\n' << std::flush;
  return answer;
}

void HeadlessPlatform::Deliver(const ScriptedAction& action) {
  switch (action.kind) {
    case ScriptedKind::kMove:
      events_.push_back(MouseMove{action.position});
      break;
    case ScriptedKind::kDown:
      events_.push_back(ButtonDown{action.button});
      break;
    case ScriptedKind::kUp:
      events_.push_back(ButtonUp{action.button});
      break;
    case ScriptedKind::kClick:
      events_.push_back(MouseMove{action.position});
      events_.push_back(ButtonDown{MouseButton::kLeft});
      events_.push_back(ButtonUp{MouseButton::kLeft});
      break;
    case ScriptedKind::kWheel:
      events_.push_back(Wheel{action.wheel});
      break;
    case ScriptedKind::kKey:
      events_.push_back(KeyDown{action.virtual_key});
      events_.push_back(KeyUp{action.virtual_key});
      break;
    case ScriptedKind::kKeyDown:
      events_.push_back(KeyDown{action.virtual_key});
      break;
    case ScriptedKind::kKeyUp:
      events_.push_back(KeyUp{action.virtual_key});
      break;
    case ScriptedKind::kText:
      events_.push_back(TextInput{action.text});
      break;
    case ScriptedKind::kDeactivate:
      events_.push_back(Deactivate{});
      break;
    case ScriptedKind::kActivate:
      events_.push_back(Activate{});
      break;
    case ScriptedKind::kAnswer:  // queued from the start, see the constructor
      break;
    case ScriptedKind::kEvent:
      script_events_.push_back({action.text, action.sender, action.frame});
      break;
    case ScriptedKind::kQuit:
      events_.push_back(CloseRequest{});
      break;
  }
}

void HeadlessPlatform::BeginFrame(std::uint32_t frame) {
  current_frame_ = std::max(current_frame_, frame);
  while (next_action_ < input_.actions.size() && input_.actions[next_action_].frame <= frame) {
    Deliver(input_.actions[next_action_++]);
  }
}

std::optional<InputEvent> HeadlessPlatform::PollEvent() {
  if (events_.empty()) return std::nullopt;
  InputEvent event = std::move(events_.front());
  events_.pop_front();
  if (const auto* move = std::get_if<MouseMove>(&event)) pointer_ = move->position;
  return event;
}

std::optional<InputEvent> HeadlessPlatform::WaitEvent(std::uint32_t /*timeout_ms*/) {
  // Nothing arrives while waiting: input comes only with the next frame's script lines.
  return PollEvent();
}

void HeadlessPlatform::AdvanceClock(std::uint32_t milliseconds) {
  tick_ += milliseconds;  // wraps at 2^32 like the real tick
  if (sound_) sound_->Advance(milliseconds);
}

std::vector<ScriptEventRequest> HeadlessPlatform::TakeScriptEvents() {
  std::vector<ScriptEventRequest> taken;
  taken.swap(script_events_);
  return taken;
}

SoundOutput& HeadlessPlatform::OpenSound(MixCallback callback) {
  if (sound_) throw PlatformError("a sound output is already open");
  sound_ = std::make_unique<NullSoundOutput>(std::move(callback));
  return *sound_;
}

SoundOutput* HeadlessPlatform::CurrentSound() { return sound_.get(); }

void HeadlessPlatform::CloseSound() { sound_.reset(); }

bool HeadlessPlatform::OpenWithDefaultHandler(std::string_view cp932_target) {
  // Refuses what the real desktop would refuse, but starts nothing.
  const bool accepted = DefaultHandlerCommand(cp932_target).has_value();
  Log() << "open with the default handler: " << cp932::ToUtf8Message(cp932_target)
        << (accepted ? " (not opened: headless)\n" : " (refused)\n") << std::flush;
  return accepted;
}

const Image& HeadlessPlatform::Framebuffer() const {
  if (!display_) throw PlatformError("no display is open");
  return display_->Framebuffer();
}

void HeadlessPlatform::WriteScreenshot(const std::string& path) const {
  WritePngFile(path, Framebuffer().View());
}

}  // namespace kest::platform
