#include "shell/message_boxes.h"

#include <algorithm>
#include <memory>
#include <ostream>

#include "core/errors.h"
#include "platform/headless/headless_platform.h"
#include "platform/message_box.h"
#include "shell/ui/message_box_model.h"
#include "shell/ui/message_box_view.h"

namespace kest::shell {

namespace {

// Where the box goes in a picture: centred, never above or left of it.
platform::Point CentredIn(platform::Size picture, ui::Size box) {
  return {std::max((picture.width - box.width) / 2, 0), std::max((picture.height - box.height) / 2, 0)};
}

ui::Size RoomOf(platform::Size size) { return {size.width, size.height}; }

// Draws the box alone into a surface of its own size.
std::unique_ptr<TDIBX> DrawBox(const ui::MessageBoxView& view, const ui::MessageBoxModel& model) {
  auto box = std::make_unique<TDIBX>(view.BoxSize().width, view.BoxSize().height, 32);
  view.Draw(*box, {0, 0}, model);
  return box;
}

}  // namespace

MessageBoxes::MessageBoxes(platform::Platform& platform, platform::HeadlessPlatform* headless, ui::UiText& text,
                           DialogShots& shots, std::ostream& log)
    : platform_(platform), headless_(headless), text_(text), shots_(shots), log_(log) {}

platform::MessageAnswer MessageBoxes::Show(const platform::MessageBoxRequest& request) {
  ++shown_;
  if (headless_) return ShowHeadless(request);
  if (window_) return RunModal(request, *window_);
  return ShowInOwnWindow(request);
}

platform::MessageAnswer MessageBoxes::ShowHeadless(const platform::MessageBoxRequest& request) {
  if (shots_.Enabled()) {
    // The shot shows the box as it would first be drawn: over the window, or alone.
    const platform::Size room = window_ ? window_->Size() : kOwnWindowRoom;
    const ui::MessageBoxView view(text_, request, RoomOf(room));
    const ui::MessageBoxModel model(request.buttons);
    const std::unique_ptr<TDIBX> box = DrawBox(view, model);
    try {
      if (window_) {
        window_->ShowOverlay(*box, CentredIn(room, view.BoxSize()));
        window_->Flush();
        shots_.Write(window_->Display().CaptureWindow());
        window_->HideOverlay();
        window_->Flush();
      } else {
        shots_.Write(ImageOf(*box));
      }
    } catch (const KestError& error) {
      log_ << "kestplayer: " << ErrorText(error) << '\n';
    }
  }
  return headless_->AnswerMessageBox(request);
}

platform::MessageAnswer MessageBoxes::ShowInOwnWindow(const platform::MessageBoxRequest& request) {
  const ui::MessageBoxView measured(text_, request, RoomOf(kOwnWindowRoom));
  const platform::Size size{measured.BoxSize().width, measured.BoxSize().height};
  try {
    platform::Display& display = platform_.OpenDisplay({.scene = size, .title = request.caption});
    WindowPicture window(display);
    const platform::MessageAnswer answer = RunModal(request, window);
    platform_.CloseDisplay();
    return answer;
  } catch (const platform::PlatformError& error) {
    // No window can be opened (no display at all), or it failed while shown: the message still
    // reaches the user, and a window left open does not stand in the way of the next one.
    if (platform_.CurrentDisplay() != nullptr) platform_.CloseDisplay();
    const platform::MessageAnswer answer = platform::DefaultAnswer(request.buttons);
    log_ << platform::DescribeMessageBox(request, answer, "no message box could be shown") << '\n' << std::flush;
    return answer;
  }
}

platform::MessageAnswer MessageBoxes::RunModal(const platform::MessageBoxRequest& request, WindowPicture& window) {
  const platform::Size room = window.Size();
  const ui::MessageBoxView view(text_, request, RoomOf(room));
  ui::MessageBoxModel model(request.buttons);
  const platform::Point at = CentredIn(room, view.BoxSize());
  const auto redraw = [&] {
    window.ShowOverlay(*DrawBox(view, model), at);
    window.Flush();
  };
  redraw();
  if (shots_.Enabled()) {
    try {
      shots_.Write(window.Display().CaptureWindow());
    } catch (const KestError& error) {
      log_ << "kestplayer: " << ErrorText(error) << '\n';
    }
  }
  // Pointer positions are the panel's; the box is placed in the picture.
  const auto button_under = [&](platform::Point panel) {
    return view.ButtonAt({panel.x - at.x, panel.y + window.PanelTop() - at.y});
  };
  platform::Point pointer = window.Display().PointerPosition();
  std::optional<platform::MessageAnswer> answer;
  while (!answer) {
    const std::optional<platform::InputEvent> event = platform_.WaitEvent(100);
    if (!event) continue;
    if (std::holds_alternative<platform::CloseRequest>(*event)) {
      close_requested_ = true;
      answer = model.CloseRequested();
    } else if (const auto* move = std::get_if<platform::MouseMove>(&*event)) {
      pointer = move->position;
      model.PointerMoved(button_under(pointer));
    } else if (const auto* down = std::get_if<platform::ButtonDown>(&*event)) {
      if (down->button == platform::MouseButton::kLeft) model.LeftPressed(button_under(pointer));
    } else if (const auto* up = std::get_if<platform::ButtonUp>(&*event)) {
      if (up->button == platform::MouseButton::kLeft) answer = model.LeftReleased(button_under(pointer));
    } else if (const auto* key = std::get_if<platform::KeyDown>(&*event)) {
      answer = model.KeyDown(key->virtual_key);
    } else if (const auto* key_up = std::get_if<platform::KeyUp>(&*event)) {
      model.KeyUp(key_up->virtual_key);
    } else {
      // The foreground changes nothing in the box, but the frame loop must hear of it.
      if (std::holds_alternative<platform::Activate>(*event)) activation_ = true;
      if (std::holds_alternative<platform::Deactivate>(*event)) activation_ = false;
      continue;
    }
    if (!answer) redraw();
  }
  window.HideOverlay();
  window.Flush();
  return *answer;
}

}  // namespace kest::shell
