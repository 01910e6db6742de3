#include "shell/settings_dialog.h"

#include <array>

#include "shell/messages.h"
#include "shell/ui/group_frame.h"
#include "shell/ui/paint.h"
#include "shell/ui/palette.h"
#include "shell/ui/virtual_keys.h"

namespace kest::shell {

namespace {

namespace vk = ui::vk;

constexpr std::array<SettingsControl, 4> kTabOrder{SettingsControl::kDirectSound, SettingsControl::kDelay,
                                                   SettingsControl::kOk, SettingsControl::kCancel};
constexpr Rect kGroup{8, 6, 252, 92};

std::size_t IndexOf(SettingsControl control) {
  for (std::size_t i = 0; i < kTabOrder.size(); ++i)
    if (kTabOrder[i] == control) return i;
  return 0;
}

}  // namespace

SettingsDialog::SettingsDialog(ui::UiText& text, SettingsModel& model)
    : text_(text),
      model_(model),
      box_({18, 18}, Message(ShellMessage::SettingsDirectSound)),
      delay_label_({18, 38, 200, 52}, Message(ShellMessage::SettingsDelay)),
      bar_{.at = {14, 56}, .width = 160, .minimum = SettingsModel::kMinPosition, .maximum = SettingsModel::kMaxPosition},
      value_label_({176, 58, 244, 72}, model.DelayText(), ui::Align::kRight),
      ok_({96, 100, 171, 123}, Message(ShellMessage::ButtonOk), ui::DefaultButton::kYes),
      cancel_({177, 100, 252, 123}, Message(ShellMessage::ButtonCancel)) {}

bool SettingsDialog::Focusable(SettingsControl control) const {
  return control != SettingsControl::kDelay || model_.DelayControlsEnabled();
}

void SettingsDialog::MoveFocus(int step) {
  const std::size_t forward = step > 0 ? 1 : kTabOrder.size() - 1;
  std::size_t index = IndexOf(focus_);
  for (std::size_t tries = 0; tries < kTabOrder.size(); ++tries) {
    index = (index + forward) % kTabOrder.size();
    if (Focusable(kTabOrder[index])) break;
  }
  focus_ = kTabOrder[index];
}

SettingsOutcome SettingsDialog::Press() {
  switch (focus_) {
    case SettingsControl::kDirectSound: model_.SetDirectSound(!model_.DirectSound()); break;
    case SettingsControl::kOk: return SettingsOutcome::kOk;
    case SettingsControl::kCancel: return SettingsOutcome::kCancel;
    case SettingsControl::kDelay: break;
  }
  return SettingsOutcome::kOpen;
}

SettingsOutcome SettingsDialog::KeyDown(std::uint8_t key) {
  if (key == vk::kShift) shift_ = true;
  if (key == vk::kAlt) alt_ = true;
  if (alt_ && key == box_.caption.key) {
    focus_ = SettingsControl::kDirectSound;
    return Press();
  }
  if (alt_ && key == delay_label_.caption.key) {
    if (model_.DelayControlsEnabled()) focus_ = SettingsControl::kDelay;
    return SettingsOutcome::kOpen;
  }
  switch (key) {
    case vk::kTab: MoveFocus(shift_ ? -1 : 1); return SettingsOutcome::kOpen;
    case vk::kSpace: return Press();
    case vk::kEscape: return SettingsOutcome::kCancel;
    case vk::kReturn: return focus_ == SettingsControl::kCancel ? SettingsOutcome::kCancel : SettingsOutcome::kOk;
    default: break;
  }
  if (focus_ != SettingsControl::kDelay || !model_.DelayControlsEnabled()) return SettingsOutcome::kOpen;
  const std::int32_t position = model_.Position();
  switch (key) {
    case vk::kLeft: case vk::kUp: case vk::kPageUp: model_.SetPosition(position - 1); break;
    case vk::kRight: case vk::kDown: case vk::kPageDown: model_.SetPosition(position + 1); break;
    case vk::kHome: model_.SetPosition(SettingsModel::kMinPosition); break;
    case vk::kEnd: model_.SetPosition(SettingsModel::kMaxPosition); break;
    default: break;
  }
  return SettingsOutcome::kOpen;
}

SettingsDialog::Held SettingsDialog::ControlAt(ui::Point p) {
  if (ui::Contains(box_.HitArea(text_), p.x, p.y)) return Held::kBox;
  if (model_.DelayControlsEnabled() && ui::Contains(bar_.Bounds(), p.x, p.y)) return Held::kBar;
  if (ui::Contains(ok_.bounds, p.x, p.y)) return Held::kOk;
  if (ui::Contains(cancel_.bounds, p.x, p.y)) return Held::kCancel;
  return Held::kNone;
}

SettingsOutcome SettingsDialog::Release() {
  const Held held = held_;
  held_ = Held::kNone;
  if (held == Held::kBar || held == Held::kNone || ControlAt(pointer_) != held) return SettingsOutcome::kOpen;
  switch (held) {
    case Held::kBox: model_.SetDirectSound(!model_.DirectSound()); break;
    case Held::kOk: return SettingsOutcome::kOk;
    case Held::kCancel: return SettingsOutcome::kCancel;
    default: break;
  }
  return SettingsOutcome::kOpen;
}

SettingsOutcome SettingsDialog::Handle(const platform::InputEvent& event) {
  if (std::holds_alternative<platform::CloseRequest>(event)) return SettingsOutcome::kCancel;
  if (const auto* key = std::get_if<platform::KeyDown>(&event)) return KeyDown(key->virtual_key);
  if (const auto* up = std::get_if<platform::KeyUp>(&event)) {
    if (up->virtual_key == vk::kShift) shift_ = false;
    if (up->virtual_key == vk::kAlt) alt_ = false;
    return SettingsOutcome::kOpen;
  }
  if (std::holds_alternative<platform::Deactivate>(event)) {
    shift_ = alt_ = false;  // their releases go elsewhere
    return SettingsOutcome::kOpen;
  }
  if (const auto* move = std::get_if<platform::MouseMove>(&event)) {
    pointer_ = {move->position.x, move->position.y};
    if (held_ == Held::kBar && model_.DelayControlsEnabled()) model_.SetPosition(bar_.PositionAt(pointer_.x));
    return SettingsOutcome::kOpen;
  }
  if (const auto* down = std::get_if<platform::ButtonDown>(&event)) {
    if (down->button != platform::MouseButton::kLeft) return SettingsOutcome::kOpen;
    held_ = ControlAt(pointer_);
    switch (held_) {
      case Held::kBox: focus_ = SettingsControl::kDirectSound; break;
      case Held::kBar:
        focus_ = SettingsControl::kDelay;
        model_.SetPosition(bar_.PositionAt(pointer_.x));
        break;
      case Held::kOk: focus_ = SettingsControl::kOk; break;
      case Held::kCancel: focus_ = SettingsControl::kCancel; break;
      case Held::kNone: break;
    }
    return SettingsOutcome::kOpen;
  }
  if (const auto* up = std::get_if<platform::ButtonUp>(&event)) {
    if (up->button != platform::MouseButton::kLeft) return SettingsOutcome::kOpen;
    return Release();
  }
  return SettingsOutcome::kOpen;
}

void SettingsDialog::Draw(TCustomDIBX& picture) {
  const bool delay_enabled = model_.DelayControlsEnabled();
  const ui::Enabled delay = delay_enabled ? ui::Enabled::kYes : ui::Enabled::kNo;
  ui::FillColour(picture, {0, 0, kSize.width, kSize.height}, ui::kFaceColour);
  ui::GroupFrame{kGroup, {}}.Draw(picture, text_);
  const Held under = ControlAt(pointer_);
  const auto state = [&](SettingsControl control, Held held, bool enabled) {
    return ui::WidgetState{.enabled = enabled,
                           .focused = focus_ == control,
                           .hover = under == held,
                           .pressed = held_ == held && under == held};
  };
  box_.Draw(picture, text_, model_.DirectSound(), state(SettingsControl::kDirectSound, Held::kBox, true));
  delay_label_.Draw(picture, text_, delay);
  bar_.Draw(picture, model_.Position(), state(SettingsControl::kDelay, Held::kBar, delay_enabled));
  ui::Label value = value_label_;
  value.caption = ui::ParseMnemonic(model_.DelayText());
  value.Draw(picture, text_, delay);
  // Enter goes to the focused button, else OK: the default frame follows it.
  ui::Button ok = ok_;
  ok.is_default = focus_ == SettingsControl::kCancel ? ui::DefaultButton::kNo : ui::DefaultButton::kYes;
  ok.Draw(picture, text_, state(SettingsControl::kOk, Held::kOk, true));
  cancel_.Draw(picture, text_, state(SettingsControl::kCancel, Held::kCancel, true));
}

}  // namespace kest::shell
