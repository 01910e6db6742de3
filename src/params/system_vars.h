#pragma once
// The 49 system variables: names beginning with "@" that sit in the store like ordinary
// variables, but whose value objects (TParamSystem) hold nothing; every read and write goes to
// player state. The table below is the one list of them; the store creates them, in this order,
// as its first items.
//
// Player state (pointer, keys, time, the running call, screens, sound) is reached through
// TSystemState. The player's subsystems that own that state provide the real one; until they
// exist, the store uses TSystemState itself, a stand-in that answers what a player with nothing
// loaded would: 0, "", false, one element (no arguments, no MIDI ports, 258 keys none held), and
// that ignores writes. The variables kept by the store itself ("@TextDelay", "@Cursor",
// "@SelStr", "@SelIndex", "@Temp") and the constants ("@Pi", "@1Hour", "@1Min", "@1Sec") are
// answered for real.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "params/custom_param.h"

namespace kest {

class TParamCollection;

// Where a system variable's value comes from.
enum class SystemSource : std::uint8_t {
  Player,     // player state, through TSystemState
  TextDelay,  // the store's player values
  Cursor,
  SelStr,
  SelIndex,
  Constant,   // a fixed real
  Result,     // forwards every operation to the running call's result value
  Temp,       // forwards every operation to the variable named by TempName
};

enum class SystemWrite : std::uint8_t { Ignored, Applied };

struct SystemVariableInfo {
  std::string_view name;
  ParamTypeCode type;  // PT_NONE for the forwarding ones, whose type is their target's
  SystemSource source;
  SystemWrite write;
};

inline constexpr std::size_t kSystemVariableCount = 49;

// Numbers of the system variables the code refers to by name.
enum SystemVariable : std::uint8_t {
  SV_RESULT = 0, SV_LCLICK = 1, SV_RCLICK = 2, SV_MOUSEX = 5, SV_MOUSEY = 6, SV_TEXTDELAY = 7,
  SV_PARAMCOUNT = 9, SV_PARAMSTR = 10, SV_SENDER = 11, SV_FULLSCR = 26, SV_CURSOR = 27,
  SV_SELSTR = 28, SV_SELINDEX = 29, SV_PI = 30, SV_KEYPUSH = 35, SV_KEYCLICK = 36,
  SV_KEYREPEAT = 42, SV_TEMP = 44, SV_MIDIPORTS = 46, SV_WHEELUP = 48,
};

inline constexpr std::array<SystemVariableInfo, kSystemVariableCount> kSystemVariables = {{
    {"@Result", PT_NONE, SystemSource::Result, SystemWrite::Applied},
    {"@LClick", PT_BOOL, SystemSource::Player, SystemWrite::Applied},
    {"@RClick", PT_BOOL, SystemSource::Player, SystemWrite::Applied},
    {"@LPush", PT_BOOL, SystemSource::Player, SystemWrite::Ignored},
    {"@RPush", PT_BOOL, SystemSource::Player, SystemWrite::Ignored},
    {"@MouseX", PT_INT, SystemSource::Player, SystemWrite::Applied},
    {"@MouseY", PT_INT, SystemSource::Player, SystemWrite::Applied},
    {"@TextDelay", PT_INT, SystemSource::TextDelay, SystemWrite::Applied},
    {"@HistoryCount", PT_INT, SystemSource::Player, SystemWrite::Ignored},
    {"@ParamCount", PT_INT, SystemSource::Player, SystemWrite::Ignored},
    {"@ParamStr", PT_STR, SystemSource::Player, SystemWrite::Ignored},
    {"@Sender", PT_STR, SystemSource::Player, SystemWrite::Ignored},
    {"@ScrWidth", PT_INT, SystemSource::Player, SystemWrite::Ignored},
    {"@ScrHeight", PT_INT, SystemSource::Player, SystemWrite::Ignored},
    {"@TickCount", PT_INT, SystemSource::Player, SystemWrite::Ignored},
    {"@PCTickCount", PT_INT, SystemSource::Player, SystemWrite::Ignored},
    {"@UpdateCount", PT_INT, SystemSource::Player, SystemWrite::Ignored},
    {"@Year", PT_INT, SystemSource::Player, SystemWrite::Ignored},
    {"@Month", PT_INT, SystemSource::Player, SystemWrite::Ignored},
    {"@Day", PT_INT, SystemSource::Player, SystemWrite::Ignored},
    {"@Week", PT_INT, SystemSource::Player, SystemWrite::Ignored},
    {"@Hour", PT_INT, SystemSource::Player, SystemWrite::Ignored},
    {"@Min", PT_INT, SystemSource::Player, SystemWrite::Ignored},
    {"@Sec", PT_INT, SystemSource::Player, SystemWrite::Ignored},
    {"@Fonts", PT_STR, SystemSource::Player, SystemWrite::Ignored},
    {"@FixedFonts", PT_STR, SystemSource::Player, SystemWrite::Ignored},
    {"@FullScr", PT_BOOL, SystemSource::Player, SystemWrite::Applied},
    {"@Cursor", PT_STR, SystemSource::Cursor, SystemWrite::Applied},
    {"@SelStr", PT_STR, SystemSource::SelStr, SystemWrite::Applied},
    {"@SelIndex", PT_INT, SystemSource::SelIndex, SystemWrite::Applied},
    {"@Pi", PT_FLOAT, SystemSource::Constant, SystemWrite::Ignored},
    {"@CGDither", PT_BOOL, SystemSource::Player, SystemWrite::Applied},
    {"@1Hour", PT_FLOAT, SystemSource::Constant, SystemWrite::Ignored},
    {"@1Min", PT_FLOAT, SystemSource::Constant, SystemWrite::Ignored},
    {"@1Sec", PT_FLOAT, SystemSource::Constant, SystemWrite::Ignored},
    {"@KeyPush", PT_BOOL, SystemSource::Player, SystemWrite::Ignored},
    {"@KeyClick", PT_BOOL, SystemSource::Player, SystemWrite::Ignored},
    {"@DisplayModeCount", PT_INT, SystemSource::Player, SystemWrite::Ignored},
    {"@DisplayModeIndex", PT_INT, SystemSource::Player, SystemWrite::Applied},
    {"@Title", PT_STR, SystemSource::Player, SystemWrite::Ignored},
    {"@SoundON", PT_BOOL, SystemSource::Player, SystemWrite::Applied},
    {"@ActiveCompo", PT_STR, SystemSource::Player, SystemWrite::Applied},
    {"@KeyRepeat", PT_BOOL, SystemSource::Player, SystemWrite::Ignored},
    {"@HistoryMaxCount", PT_INT, SystemSource::Player, SystemWrite::Applied},
    {"@Temp", PT_NONE, SystemSource::Temp, SystemWrite::Applied},
    {"@MidiPort", PT_STR, SystemSource::Player, SystemWrite::Applied},
    {"@MidiPorts", PT_STR, SystemSource::Player, SystemWrite::Ignored},
    {"@WheelDown", PT_BOOL, SystemSource::Player, SystemWrite::Ignored},
    {"@WheelUp", PT_BOOL, SystemSource::Player, SystemWrite::Ignored},
}};

// True for the system variables that are arrays: "@ParamStr", "@MidiPorts" and the key arrays.
bool IsSystemArray(std::uint8_t sys_index);

// Player state behind the system variables whose source is Player. Reads answer in the
// variable's own type; `element` is the element asked for (0 for a scalar read). This base class
// is the stand-in for a player with nothing loaded.
class TSystemState {
 public:
  virtual ~TSystemState() = default;

  // Elements of an array variable: 258 for the key arrays, otherwise none without arguments or
  // MIDI ports. Scalars always have one.
  virtual std::int32_t ElementCount(std::uint8_t sys_index);
  virtual std::int32_t ReadInt(std::uint8_t /*sys_index*/, std::int32_t /*element*/) { return 0; }
  virtual bool ReadBool(std::uint8_t /*sys_index*/, std::int32_t /*element*/) { return false; }
  virtual std::string ReadStr(std::uint8_t /*sys_index*/, std::int32_t /*element*/) { return {}; }
  // Writes, already converted to the variable's own type; only variables whose write is
  // Applied get here.
  virtual void WriteInt(std::uint8_t /*sys_index*/, std::int32_t /*value*/) {}
  virtual void WriteBool(std::uint8_t /*sys_index*/, bool /*value*/) {}
  virtual void WriteStr(std::uint8_t /*sys_index*/, const std::string& /*value*/) {}

  // "@Result": the running call's result value (none without a call frame), and the result
  // type of the current page (0 without one).
  virtual TCustomParam* TopResult() { return nullptr; }
  virtual ParamTypeCode ResultType() { return PT_NONE; }
};

class TParamSystem final : public TCustomParam {
 public:
  TParamSystem(TParamCollection& store, std::uint8_t sys_index) : store_(store), sys_index_(sys_index) {}

  std::uint8_t SysIndex() const { return sys_index_; }

  std::int32_t Count() const override;
  void SetCount(std::int32_t count) override;
  ParamTypeCode ParamType() const override;

  bool AsBool() const override { return GetBoolAt(0); }
  long double AsFloat() const override { return GetFloatAt(0); }
  std::int32_t AsInt() const override { return GetIntAt(0); }
  std::string AsStr() const override { return GetStrAt(0); }
  void SetBool(bool value) override;
  void SetFloat(long double value) override;
  void SetInt(std::int32_t value) override;
  void SetStr(const std::string& value) override;

  std::int32_t GetIntAt(std::int32_t i) const override;
  long double GetFloatAt(std::int32_t i) const override;
  bool GetBoolAt(std::int32_t i) const override;
  std::string GetStrAt(std::int32_t i) const override;
  void SetIntAt(std::int32_t i, std::int32_t value) override;
  void SetFloatAt(std::int32_t i, long double value) override;
  void SetBoolAt(std::int32_t i, bool value) override;
  void SetStrAt(std::int32_t i, const std::string& value) override;

  std::int32_t DimCount() const override;
  std::int32_t DimSize(std::int32_t dimension) const override;
  void Assign(const TCustomParam& other) override;
  void SetDims(std::span<const std::int32_t> sizes) override;
  void FillInt(std::int32_t value) override;
  void FillFloat(long double value) override;
  void FillBool(bool value) override;
  void FillStr(const std::string& value) override;
  void CopyMem(const TCustomParam& source) override;
  void ClearDims() override;
  std::int32_t IndexOf(const std::string& text, CaseSensitivity sensitivity, MatchMode mode) const override;

  const TCustomParam& Resolved() const override;

 private:
  const SystemVariableInfo& Info() const;  // raises "内部エラー" for a number outside the table
  bool Forwards() const;
  TCustomParam* Forwarded() const;
  // Reads element `i` in the variable's own type, then converts by the system variables' rules.
  template <typename T> T Read(std::int32_t i) const;
  // Converts a written value to the variable's own type and applies it (`indexed` selects the
  // element rules for written text).
  template <typename T> void Write(const T& value, bool indexed);

  TParamCollection& store_;
  std::uint8_t sys_index_;
  mutable bool busy_ = false;  // set while an operation is forwarded, to cut loops
};

}  // namespace kest
