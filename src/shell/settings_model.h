#pragma once
// The settings dialog's state, apart from how it looks: the check box "DirectSound" and the
// delay track bar of positions 1 to 5 (hundreds of milliseconds).
//  - opening takes the values read from game.ini: the box from "DirectSound", the bar at
//    "DelayTime" div 100, kept within the bar's range;
//  - the delay controls are enabled exactly when the box is not ticked (greyed, they keep their
//    value, and OK still writes it);
//  - the delay label shows the position times 100 as "%dms";
//  - OK writes "DirectSound" as the box and "DelayTime" as the position times 100.

#include <cstdint>
#include <string>

#include "shell/game_ini.h"

namespace kest::shell {

class SettingsModel {
 public:
  static constexpr std::int32_t kMinPosition = 1;
  static constexpr std::int32_t kMaxPosition = 5;

  explicit SettingsModel(const SoundSettings& stored);

  bool DirectSound() const { return direct_sound_; }
  void SetDirectSound(bool on) { direct_sound_ = on; }
  bool DelayControlsEnabled() const { return !direct_sound_; }

  std::int32_t Position() const { return position_; }
  // Kept within kMinPosition..kMaxPosition.
  void SetPosition(std::int32_t position);
  // "200ms", CP932.
  std::string DelayText() const;

  SoundSettings ToWrite() const { return {.direct_sound = direct_sound_, .delay_time = position_ * 100}; }

 private:
  bool direct_sound_;
  std::int32_t position_ = kMaxPosition;
};

}  // namespace kest::shell
