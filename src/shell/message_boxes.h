#pragma once
// Every message box of the player goes through here: the exit question, the scenario's start-up
// warnings, its disk prompt and its information boxes, and the settings dialog's error box.
//
// In a window the box is drawn by the player, over the window's picture, centred; before the
// main window exists, in a window of the box's own size titled with the caption. It is modal:
// input goes to the box, no frame runs (the frame loop restarts its clock afterwards, so the
// time in the box is not counted), and sound plays on. A close request gives the dismiss answer
// and is kept for the frame loop, which then closes the player.
//
// Headless, the scripted answers and the log line stand (HeadlessPlatform::AnswerMessageBox);
// the box is drawn only for --dialog-shots.

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <utility>

#include "platform/platform.h"
#include "shell/dialog_shots.h"
#include "shell/ui/ui_text.h"
#include "shell/window_picture.h"

namespace kest::platform {
class HeadlessPlatform;
}

namespace kest::shell {

class MessageBoxes {
 public:
  MessageBoxes(platform::Platform& platform, platform::HeadlessPlatform* headless, ui::UiText& text,
               DialogShots& shots, std::ostream& log);

  // The picture boxes are drawn over from now on; none: before the main window exists (or after
  // it is gone).
  void AttachWindow(WindowPicture* window) { window_ = window; }

  platform::MessageAnswer Show(const platform::MessageBoxRequest& request);

  // A close request arrived while a box was open.
  bool CloseRequested() const { return close_requested_; }
  // How many boxes were shown so far: the frame loop compares it to restart its clock.
  std::uint64_t Shown() const { return shown_; }
  // The last change of the foreground that arrived while a box was open (true: activated), for
  // the frame loop to follow; taken once.
  std::optional<bool> TakeActivation() { return std::exchange(activation_, std::nullopt); }

 private:
  platform::MessageAnswer ShowHeadless(const platform::MessageBoxRequest& request);
  platform::MessageAnswer ShowInOwnWindow(const platform::MessageBoxRequest& request);
  // Runs the box on `window` until it is answered.
  platform::MessageAnswer RunModal(const platform::MessageBoxRequest& request, WindowPicture& window);

  platform::Platform& platform_;
  platform::HeadlessPlatform* headless_;
  ui::UiText& text_;
  DialogShots& shots_;
  std::ostream& log_;
  WindowPicture* window_ = nullptr;
  bool close_requested_ = false;
  std::uint64_t shown_ = 0;
  std::optional<bool> activation_;
};

// The room a box has before the main window exists.
inline constexpr platform::Size kOwnWindowRoom{640, 480};

}  // namespace kest::shell
