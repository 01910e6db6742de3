#pragma once
// The toolbar on the main window. In a window it sits in the dock above the panel: pointer rows
// -22 to -1 in panel coordinates. In full screen there is no dock: the strip is drawn over the
// scene's top rows once the pointer touches row 0, and stays while the pointer is on it (as a
// toolbar that has come out covers the panel there); leaving it downwards hides it again.
//
// Pointer events on the strip belong to it and never reach the scene, and so does the release
// of a press that began on it.

#include <optional>

#include "platform/platform.h"
#include "render/dibx.h"
#include "shell/ui/toolbar.h"
#include "shell/ui/ui_text.h"
#include "shell/window_picture.h"

namespace kest::shell {

enum class ScreenIs { kWindow, kFullScreen };

class ToolbarDock {
 public:
  ToolbarDock(ui::UiText& text, std::int32_t scene_width);

  // Whether `event` belongs to the strip; a click on one of its buttons is kept for TakeAction.
  bool Handle(const platform::InputEvent& event, ScreenIs screen);
  ui::ToolbarAction TakeAction();

  // Gives `window` the strip as it must show now (none in a full screen with the strip away).
  void Refresh(WindowPicture& window, ScreenIs screen);

  bool ShownInFullScreen() const { return shown_in_full_screen_; }
  const ui::Toolbar& Toolbar() const { return toolbar_; }

 private:
  // The pointer in strip coordinates, none when it is off the strip.
  std::optional<ui::Point> OnStrip(platform::Point panel, ScreenIs screen);

  ui::UiText& text_;
  ui::Toolbar toolbar_;
  TDIBX strip_;
  bool pointer_on_strip_ = false;
  bool press_on_strip_ = false;
  bool shown_in_full_screen_ = false;
  std::optional<bool> strip_given_;  // whether the window has the strip, once it was told
  ui::ToolbarAction action_ = ui::ToolbarAction::kNone;
};

}  // namespace kest::shell
