#pragma once
// The platform without a screen, for tests, CI and batch runs. Everything is driven by the
// runner and by the scripted input, so two runs of the same title and script are identical:
//  - the clock is virtual: it starts at 0 and moves only by AdvanceClock (the runner gives it the
//    frame time once per frame); Sleep returns at once without moving it;
//  - input comes from the script: BeginFrame(F) releases every action of frames up to F;
//  - the display is the window's picture in memory, black at first, that changes only
//    through presented rectangles, so a part of the scene that was drawn but not presented
//    shows as a stale pixel in a screenshot;
//  - sound is a null device that pulls the mixer by virtual time (44100 sample frames per
//    virtual second, exactly, with no drift) while it plays;
//  - message boxes (drawn by the shell) take the scripted answers in order; without one they
//    take the default button, as Enter would (OK, OK, Yes). Each box is written as one line to
//    the log;
//  - opening a URL or file only writes a line to the log.

#include <cstdint>
#include <deque>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "platform/headless/scripted_input.h"
#include "platform/platform.h"

namespace kest::platform {

// A script event requested by the input script ("event HANDLER [SENDER]"), CP932.
struct ScriptEventRequest {
  std::string handler;
  std::string sender;
  std::uint32_t frame = 0;
};

struct HeadlessOptions {
  ScriptedInput input;
  std::ostream* log = nullptr;  // message boxes and desktop requests; nullptr: standard error
};

// The modes a headless display reports, all at 32 bits and 60 Hz, and its desktop mode.
const std::vector<DisplayMode>& HeadlessDisplayModes();
DisplayMode HeadlessDesktopMode();

class HeadlessDisplay;
class NullSoundOutput;

class HeadlessPlatform : public Platform {
 public:
  explicit HeadlessPlatform(HeadlessOptions options);
  ~HeadlessPlatform() override;

  // ---- Platform
  Display& OpenDisplay(const DisplaySpec& spec) override;
  Display* CurrentDisplay() override;
  void CloseDisplay() override;
  std::optional<InputEvent> PollEvent() override;
  std::optional<InputEvent> WaitEvent(std::uint32_t timeout_ms) override;
  std::uint32_t Tick() override { return tick_; }
  void Sleep(std::uint32_t milliseconds) override { slept_ms_ += milliseconds; }
  SoundOutput& OpenSound(MixCallback callback) override;
  SoundOutput* CurrentSound() override;
  void CloseSound() override;
  bool OpenWithDefaultHandler(std::string_view cp932_target) override;

  // ---- The runner's controls
  // The answer to a message box: the next scripted answer once its frame has begun, else the
  // default button. Writes the box's line to the log. Throws ScriptedInputError when the
  // scripted answer is not one of the box's buttons.
  MessageAnswer AnswerMessageBox(const MessageBoxRequest& request);

  // Releases the scripted actions of every frame up to `frame`: input events to PollEvent,
  // script events to TakeScriptEvents, and answers to the message boxes shown from now on.
  void BeginFrame(std::uint32_t frame);
  // Moves the virtual clock on, and the sound device with it.
  void AdvanceClock(std::uint32_t milliseconds);
  std::vector<ScriptEventRequest> TakeScriptEvents();
  // Whether actions of later frames are still waiting.
  bool ScriptPending() const { return next_action_ < input_.actions.size(); }

  // The window's picture as presented so far. Throws PlatformError when no display is open.
  const Image& Framebuffer() const;
  // Writes Framebuffer() as a PNG file.
  void WriteScreenshot(const std::string& path) const;

  // Milliseconds asked of Sleep so far (they never pass on the virtual clock).
  std::uint64_t SleptMs() const { return slept_ms_; }

 private:
  friend class HeadlessDisplay;

  void Deliver(const ScriptedAction& action);
  std::ostream& Log() const;

  ScriptedInput input_;
  std::ostream* log_;
  std::size_t next_action_ = 0;
  std::uint32_t current_frame_ = 0;
  std::deque<InputEvent> events_;
  std::deque<ScriptedAction> answers_;
  std::vector<ScriptEventRequest> script_events_;
  Point pointer_{-1, -1};  // outside the scene until the script moves it
  std::uint32_t tick_ = 0;
  std::uint64_t slept_ms_ = 0;
  std::unique_ptr<HeadlessDisplay> display_;
  std::unique_ptr<NullSoundOutput> sound_;
};

}  // namespace kest::platform
