#pragma once
// The settings dialog "動作設定": a framed group holding the check box "DirectSoundを使用する(&S)",
// the label "サウンドの遅延時間(&D)：" with the delay track bar and the delay shown right-aligned
// beside it, and the buttons "OK" (the default) and "キャンセル" below. The state lives in a
// SettingsModel; this is its look and its keys and mouse.
//  - Tab and Shift+Tab go round the check box, the bar, OK and Cancel (a disabled bar is
//    passed over);
//  - Space toggles the box or presses the focused button;
//  - on the bar: Left and Up step down, Right and Down up, PageUp and PageDown by its page of
//    one, Home and End to the ends;
//  - Alt+S focuses and toggles the box; Alt+D focuses the bar (when it is enabled);
//  - Enter presses the focused button, or OK when no button has the focus; Escape is Cancel;
//  - the mouse: the box and its caption toggle it on a press and release over them; the bar
//    moves to the position nearest a click and follows a drag; a button is pressed by a press
//    and release over it. Disabled controls ignore it.
// Pointer positions are the dialog picture's own.

#include <cstdint>
#include <optional>

#include "platform/platform.h"
#include "render/surface.h"
#include "shell/settings_model.h"
#include "shell/ui/button.h"
#include "shell/ui/check_box.h"
#include "shell/ui/label.h"
#include "shell/ui/track_bar.h"
#include "shell/ui/ui_text.h"

namespace kest::shell {

enum class SettingsControl { kDirectSound, kDelay, kOk, kCancel };
enum class SettingsOutcome { kOpen, kOk, kCancel };

class SettingsDialog {
 public:
  static constexpr ui::Size kSize{260, 131};

  SettingsDialog(ui::UiText& text, SettingsModel& model);

  SettingsOutcome Handle(const platform::InputEvent& event);
  SettingsControl Focus() const { return focus_; }
  void Draw(TCustomDIBX& picture);

  // Where the controls are, for tests and the pointer.
  const ui::CheckBox& DirectSoundBox() const { return box_; }
  const ui::TrackBar& DelayBar() const { return bar_; }
  const ui::Button& OkButton() const { return ok_; }
  const ui::Button& CancelButton() const { return cancel_; }

 private:
  enum class Held { kNone, kBox, kBar, kOk, kCancel };

  SettingsOutcome KeyDown(std::uint8_t key);
  SettingsOutcome Press();  // Space on the focused control
  void MoveFocus(int step);
  bool Focusable(SettingsControl control) const;
  Held ControlAt(ui::Point p);
  SettingsOutcome Release();

  ui::UiText& text_;
  SettingsModel& model_;
  ui::CheckBox box_;
  ui::Label delay_label_;
  ui::TrackBar bar_;
  ui::Label value_label_;
  ui::Button ok_;
  ui::Button cancel_;
  SettingsControl focus_ = SettingsControl::kDirectSound;
  ui::Point pointer_{-1, -1};
  Held held_ = Held::kNone;
  bool shift_ = false;
  bool alt_ = false;
};

}  // namespace kest::shell
