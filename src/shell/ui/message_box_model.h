#pragma once
// What a message box does with keys and the mouse, apart from how it looks. Buttons are counted
// from the left; the first has the focus at the start.
//  - Tab, Right: the focus moves to the next button; Shift+Tab, Left: to the one before (both
//    wrap round);
//  - Enter and Space press the focused button;
//  - Escape gives the dismiss answer (Cancel or No where the box has them, else OK);
//  - Y and N answer Yes and No on a box that has them;
//  - the mouse: a button under the pointer shows hover; a press on a button focuses it and
//    holds it down, and a release over the same button presses it (released anywhere else,
//    nothing happens);
//  - a close request gives the dismiss answer.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/platform.h"

namespace kest::ui {

class MessageBoxModel {
 public:
  explicit MessageBoxModel(platform::MessageButtons buttons);

  std::size_t ButtonCount() const { return answers_.size(); }
  platform::MessageAnswer AnswerOf(std::size_t button) const { return answers_[button]; }

  std::size_t Focus() const { return focus_; }
  std::optional<std::size_t> Hover() const { return hover_; }
  // The button held down by the mouse, only while the pointer is over it.
  std::optional<std::size_t> ShownPressed() const;

  std::optional<platform::MessageAnswer> KeyDown(std::uint8_t virtual_key);
  void KeyUp(std::uint8_t virtual_key);
  // `over` is the button under the pointer, none when it is over no button.
  void PointerMoved(std::optional<std::size_t> over);
  void LeftPressed(std::optional<std::size_t> over);
  std::optional<platform::MessageAnswer> LeftReleased(std::optional<std::size_t> over);
  platform::MessageAnswer CloseRequested() const;

 private:
  platform::MessageButtons buttons_;
  std::vector<platform::MessageAnswer> answers_;
  std::size_t focus_ = 0;
  std::optional<std::size_t> hover_;
  std::optional<std::size_t> held_;
  bool shift_ = false;
};

}  // namespace kest::ui
