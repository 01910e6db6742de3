#pragma once
// The frame loop that plays a session on a platform. Each pass of the loop is what the window's
// idle handler does: take the waiting input, and, while the player is in the foreground and
// nothing asked it to quit, run one frame on the platform's tick, present what changed, and
// sleep out the rest of the frame when the title asks for frame pacing.
//
// The window and the headless runner share it. Headless, the clock is virtual: each pass first
// releases the scripted input of that pass's frame number and moves the clock on by the frame
// time, and the run ends by itself once the script has ended and nothing can start a handler.
//
// Two keys belong to the player, not the title: Ctrl+Q asks whether to quit, Alt+Enter switches
// between the window and full screen. The toolbar's buttons do the same two things.
//
// What the window shows is composed in a WindowPicture: the scene, the toolbar strip, and the
// player's own message boxes over them.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "shell/error_log.h"
#include "shell/frame.h"
#include "shell/message_boxes.h"
#include "shell/options.h"
#include "shell/platform_host.h"
#include "shell/player_session.h"
#include "shell/pointer_show.h"
#include "shell/screen_man.h"
#include "shell/toolbar_dock.h"
#include "shell/window_picture.h"

namespace kest::platform {
class HeadlessPlatform;
}

namespace kest::shell {

struct LoopOptions {
  std::optional<std::uint32_t> frames;  // stop after this many frames
  std::uint32_t frame_ms = 16;          // the virtual frame time of a headless run
  std::vector<Screenshot> screenshots;
  std::vector<Screenshot> window_screenshots;  // the window's whole picture (--screenshot-window)
};

// What the loop draws with and on: the window's picture, the toolbar (none: a window without
// one) and the player's message boxes.
struct LoopWindow {
  WindowPicture& picture;
  ToolbarDock* toolbar = nullptr;
  MessageBoxes& boxes;
};

// How the run ended.
enum class LoopEnd {
  Closed,      // the window was closed, the title terminated, or the user quit
  ScriptEnded, // headless: the script ended and nothing can start a handler any more
  FrameLimit,
  Failed,      // a screenshot could not be written; the message went to the log
};

class PlayLoop {
 public:
  // `headless` is the platform again when it is the headless one (it drives the virtual clock
  // and the scripted input), else none.
  PlayLoop(PlayerSession& session, platform::Platform& platform, platform::HeadlessPlatform* headless,
           PlatformHost& host, TScreenManager& screen, LoopWindow window, ErrorLog& log, LoopOptions options);

  LoopEnd Run();

  // The exit question: QuitRequested stays set while it is open, so no script runs; Yes closes
  // the player, No restores QuitRequested as it was. Answers whether the user chose to quit.
  bool AskToQuit();

 private:
  void Handle(const platform::InputEvent& event);
  // Consumes the player's own key combinations; answers whether `event` was one.
  bool HandleShortcut(const platform::InputEvent& event);
  void RunToolbarAction(ui::ToolbarAction action);
  // After a message box: the time it was open is not counted, and the keys held when it opened
  // were released into the box.
  void AfterModal();
  // Shows the toolbar as it is now and presents every change of the window's picture.
  void RefreshWindow();
  bool CloseWanted() const;
  void QueueScriptedEvents();
  void Present();
  // The cursor file of the object under the pointer, else the title's default ("@Cursor").
  void ShowPointer();
  bool TakeScreenshots(std::uint32_t frame);
  bool TakeShots(std::uint32_t frame, const std::vector<Screenshot>& shots, std::size_t& next, bool whole_window);

  PlayerSession& session_;
  platform::Platform& platform_;
  platform::HeadlessPlatform* headless_;
  PlatformHost& host_;
  TScreenManager& screen_;
  LoopWindow window_;
  ErrorLog& log_;
  LoopOptions options_;
  FrameDriver driver_;
  TPointerShow pointer_;
  bool active_ = true;
  bool close_requested_ = false;
  bool control_held_ = false, alt_held_ = false;
  std::size_t next_screenshot_ = 0;
  std::size_t next_window_screenshot_ = 0;
  std::uint64_t boxes_seen_ = 0;
  std::vector<platform::Rect> changed_;  // the scene's changed rectangles, kept between frames
};

}  // namespace kest::shell
