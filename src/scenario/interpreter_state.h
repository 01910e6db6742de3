#pragma once
// The player state behind the system variables that belong to the interpreter and the frame
// clock: "@Result" (the running call's result), "@ParamCount" and "@ParamStr" (its arguments),
// "@Sender" (the object whose event is handled), "@TickCount" and "@UpdateCount". The other
// system variables answer as a player with nothing loaded until their subsystems exist.

#include "params/system_vars.h"

namespace kest {

class TCallMan;
class TFrameClock;

class TInterpreterState final : public TSystemState {
 public:
  TInterpreterState(TCallMan& call_man, TFrameClock& clock) : call_man_(call_man), clock_(clock) {}

  std::int32_t ElementCount(std::uint8_t sys_index) override;
  std::int32_t ReadInt(std::uint8_t sys_index, std::int32_t element) override;
  std::string ReadStr(std::uint8_t sys_index, std::int32_t element) override;
  TCustomParam* TopResult() override;
  ParamTypeCode ResultType() override;

 private:
  TCallMan& call_man_;
  TFrameClock& clock_;  // not const: reading the date samples it
};

}  // namespace kest
