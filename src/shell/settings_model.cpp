#include "shell/settings_model.h"

#include <algorithm>

#include "core/text_format.h"
#include "shell/messages.h"

namespace kest::shell {

SettingsModel::SettingsModel(const SoundSettings& stored) : direct_sound_(stored.direct_sound) {
  SetPosition(stored.delay_time / 100);
}

void SettingsModel::SetPosition(std::int32_t position) {
  position_ = std::clamp(position, kMinPosition, kMaxPosition);
}

std::string SettingsModel::DelayText() const {
  return FillMessage(Message(ShellMessage::SettingsDelayValue), {std::to_string(position_ * 100)});
}

}  // namespace kest::shell
