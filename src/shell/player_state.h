#pragma once
// The player state behind the system variables that belong to the scene and the screen: the
// mouse ("@LClick", "@RClick", "@LPush", "@RPush", "@MouseX", "@MouseY", "@WheelDown",
// "@WheelUp"), the keys ("@KeyPush", "@KeyClick", "@KeyRepeat": 256 keys, then wheel down and
// wheel up), the focus ("@ActiveCompo"), the screen ("@ScrWidth", "@ScrHeight", "@FullScr",
// "@DisplayModeCount", "@DisplayModeIndex") and "@Title". Everything else goes on to the
// interpreter's state.

#include <memory>

#include "params/system_vars.h"

namespace kest {
class TKestBaseList;
class TProject;
}  // namespace kest

namespace kest::platform {
class Display;
}

namespace kest::shell {

class PlayerSession;
class TScreenManager;

class TPlayerState final : public TSystemState {
 public:
  TPlayerState(std::unique_ptr<TSystemState> interpreter, TProject& project, TKestBaseList& scene,
               TScreenManager& screen, platform::Display& display);

  std::int32_t ElementCount(std::uint8_t sys_index) override { return interpreter_->ElementCount(sys_index); }
  std::int32_t ReadInt(std::uint8_t sys_index, std::int32_t element) override;
  bool ReadBool(std::uint8_t sys_index, std::int32_t element) override;
  std::string ReadStr(std::uint8_t sys_index, std::int32_t element) override;
  void WriteInt(std::uint8_t sys_index, std::int32_t value) override;
  void WriteBool(std::uint8_t sys_index, bool value) override;
  void WriteStr(std::uint8_t sys_index, const std::string& value) override;
  TCustomParam* TopResult() override { return interpreter_->TopResult(); }
  ParamTypeCode ResultType() override { return interpreter_->ResultType(); }

 private:
  std::unique_ptr<TSystemState> interpreter_;
  TProject& project_;
  TKestBaseList& scene_;
  TScreenManager& screen_;
  platform::Display& display_;
};

// Puts the session's variables on the player state of this screen. The project's end takes it
// off again (before the screen goes).
void ConnectPlayerState(PlayerSession& session, TScreenManager& screen, platform::Display& display);

}  // namespace kest::shell
