#include "params/system_vars.h"

#include <numbers>
#include <optional>

#include "core/errors.h"
#include "params/conversions.h"
#include "params/messages.h"
#include "params/param_collection.h"

namespace kest {

namespace {

constexpr std::int32_t kKeyArraySize = 258;  // 256 keys, then wheel down and wheel up

// A text variable read as another type: integer text or 0, also when a real is asked for (so
// "1.5" reads as 0.0), and true whenever the text is not empty.
template <typename T>
T FromSystemText(const std::string& text) {
  if constexpr (std::is_same_v<T, bool>) return !text.empty();
  else if constexpr (std::is_same_v<T, long double>) return static_cast<long double>(ToInt(text));
  else return Convert<T>(text);
}

long double ConstantValue(std::uint8_t sys_index) {
  switch (sys_index) {
    case SV_PI: return std::numbers::pi_v<long double>;
    case 32: return 1.0L / 24;     // "@1Hour" as a date-time value
    case 33: return 1.0L / 1440;   // "@1Min"
    default: return 1.0L / 86400;  // "@1Sec"
  }
}

// Clears a flag when the forwarding that set it ends, so a chain that leads back to the same
// system variable reads as having no target instead of recursing.
struct BusyScope {
  explicit BusyScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~BusyScope() { flag_ = false; }
  bool& flag_;
};

}  // namespace

bool IsSystemArray(std::uint8_t sys_index) {
  return sys_index == SV_PARAMSTR || sys_index == SV_MIDIPORTS || sys_index == SV_KEYPUSH ||
         sys_index == SV_KEYCLICK || sys_index == SV_KEYREPEAT;
}

std::int32_t TSystemState::ElementCount(std::uint8_t sys_index) {
  if (sys_index == SV_KEYPUSH || sys_index == SV_KEYCLICK || sys_index == SV_KEYREPEAT) return kKeyArraySize;
  if (sys_index == SV_PARAMSTR || sys_index == SV_MIDIPORTS) return 0;
  return 1;
}

const SystemVariableInfo& TParamSystem::Info() const {
  if (sys_index_ >= kSystemVariableCount) throw KestError(Message(ParamsMessage::InternalError));
  return kSystemVariables[sys_index_];
}

bool TParamSystem::Forwards() const {
  const SystemSource source = Info().source;
  return source == SystemSource::Result || source == SystemSource::Temp;
}

TCustomParam* TParamSystem::Forwarded() const {
  if (busy_) return nullptr;
  TCustomParam* target = nullptr;
  if (Info().source == SystemSource::Result) {
    target = store_.SystemState().TopResult();
  } else if (!store_.Values().temp_name.empty()) {
    const TParamCollectionItem* item = store_.Find(store_.Values().temp_name);
    target = item ? &item->Value() : nullptr;
  }
  return target == this ? nullptr : target;
}

// Runs `op` on the forwarded value with this variable marked busy; `fallback` without one.
#define KEST_FORWARD(op, fallback)                              \
  do {                                                          \
    if (Forwards()) {                                           \
      TCustomParam* target_ = Forwarded();                      \
      if (!target_) return fallback;                            \
      BusyScope forwarding_(busy_);       \
      return target_->op;                                       \
    }                                                           \
  } while (false)

template <typename T>
T TParamSystem::Read(std::int32_t i) const {
  const SystemVariableInfo& info = Info();
  switch (info.source) {
    case SystemSource::TextDelay: return Convert<T>(store_.Values().text_delay);
    case SystemSource::SelIndex: return Convert<T>(store_.Values().sel_index);
    case SystemSource::Cursor: return FromSystemText<T>(store_.Values().cursor_name);
    case SystemSource::SelStr: return FromSystemText<T>(store_.Values().sel_str);
    case SystemSource::Constant: return Convert<T>(ConstantValue(sys_index_));
    default: break;
  }
  // Arrays read element i; other variables ignore the index.
  std::int32_t element = 0;
  if (IsSystemArray(sys_index_)) {
    if (i < 0 || i >= Count()) return T{};
    element = i;
  }
  TSystemState& state = store_.SystemState();
  switch (info.type) {
    case PT_INT: return Convert<T>(state.ReadInt(sys_index_, element));
    case PT_BOOL: return Convert<T>(state.ReadBool(sys_index_, element));
    default: return FromSystemText<T>(state.ReadStr(sys_index_, element));
  }
}

template <typename T>
void TParamSystem::Write(const T& value, bool indexed) {
  const SystemVariableInfo& info = Info();
  if (info.write == SystemWrite::Ignored) return;
  constexpr bool kText = std::is_same_v<T, std::string>;
  switch (info.type) {
    case PT_INT: {
      std::optional<std::int32_t> converted;
      if constexpr (kText) converted = indexed ? std::optional(ToInt(value)) : ParseIntText(value);
      else converted = Convert<std::int32_t>(value);
      if (!converted) return;  // text that is not integer text leaves the variable as it was
      if (info.source == SystemSource::TextDelay) store_.Values().text_delay = *converted;
      else if (info.source == SystemSource::SelIndex) store_.Values().sel_index = *converted;
      else store_.SystemState().WriteInt(sys_index_, *converted);
      return;
    }
    case PT_BOOL: {
      bool converted;
      if constexpr (kText) converted = indexed ? value == "TRUE" : ParseIntText(value).value_or(0) != 0;
      else converted = Convert<bool>(value);
      store_.SystemState().WriteBool(sys_index_, converted);
      return;
    }
    case PT_STR: {
      const std::string converted = Convert<std::string>(value);
      if (info.source == SystemSource::Cursor) store_.Values().cursor_name = converted;
      else if (info.source == SystemSource::SelStr) store_.Values().sel_str = converted;
      else store_.SystemState().WriteStr(sys_index_, converted);
      return;
    }
    default:
      return;
  }
}

std::int32_t TParamSystem::Count() const {
  KEST_FORWARD(Count(), 1);
  return IsSystemArray(sys_index_) ? store_.SystemState().ElementCount(sys_index_) : 1;
}
void TParamSystem::SetCount(std::int32_t count) { KEST_FORWARD(SetCount(count), void()); }

ParamTypeCode TParamSystem::ParamType() const {
  const SystemVariableInfo& info = Info();
  if (info.source == SystemSource::Result) return store_.SystemState().ResultType();
  KEST_FORWARD(ParamType(), PT_NONE);
  return info.type;
}

void TParamSystem::SetBool(bool value) {
  KEST_FORWARD(SetBool(value), void());
  Write(value, false);
}
void TParamSystem::SetFloat(long double value) {
  KEST_FORWARD(SetFloat(value), void());
  Write(value, false);
}
void TParamSystem::SetInt(std::int32_t value) {
  KEST_FORWARD(SetInt(value), void());
  Write(value, false);
}
void TParamSystem::SetStr(const std::string& value) {
  KEST_FORWARD(SetStr(value), void());
  Write(value, false);
}

std::int32_t TParamSystem::GetIntAt(std::int32_t i) const {
  KEST_FORWARD(GetIntAt(i), 0);
  return Read<std::int32_t>(i);
}
long double TParamSystem::GetFloatAt(std::int32_t i) const {
  KEST_FORWARD(GetFloatAt(i), 0.0L);
  return Read<long double>(i);
}
bool TParamSystem::GetBoolAt(std::int32_t i) const {
  KEST_FORWARD(GetBoolAt(i), false);
  return Read<bool>(i);
}
std::string TParamSystem::GetStrAt(std::int32_t i) const {
  KEST_FORWARD(GetStrAt(i), std::string());
  return Read<std::string>(i);
}
void TParamSystem::SetIntAt(std::int32_t i, std::int32_t value) {
  KEST_FORWARD(SetIntAt(i, value), void());
  Write(value, true);
}
void TParamSystem::SetFloatAt(std::int32_t i, long double value) {
  KEST_FORWARD(SetFloatAt(i, value), void());
  Write(value, true);
}
void TParamSystem::SetBoolAt(std::int32_t i, bool value) {
  KEST_FORWARD(SetBoolAt(i, value), void());
  Write(value, true);
}
void TParamSystem::SetStrAt(std::int32_t i, const std::string& value) {
  KEST_FORWARD(SetStrAt(i, value), void());
  Write(value, true);
}

std::int32_t TParamSystem::DimCount() const {
  KEST_FORWARD(DimCount(), 1);
  return 1;
}
std::int32_t TParamSystem::DimSize(std::int32_t dimension) const {
  KEST_FORWARD(DimSize(dimension), 1);
  return dimension == 0 ? Count() : 1;
}
void TParamSystem::Assign(const TCustomParam& other) { KEST_FORWARD(Assign(other), void()); }
void TParamSystem::SetDims(std::span<const std::int32_t> sizes) { KEST_FORWARD(SetDims(sizes), void()); }
void TParamSystem::FillInt(std::int32_t value) { KEST_FORWARD(FillInt(value), void()); }
void TParamSystem::FillFloat(long double value) { KEST_FORWARD(FillFloat(value), void()); }
void TParamSystem::FillBool(bool value) { KEST_FORWARD(FillBool(value), void()); }
void TParamSystem::FillStr(const std::string& value) { KEST_FORWARD(FillStr(value), void()); }
void TParamSystem::CopyMem(const TCustomParam& source) { KEST_FORWARD(CopyMem(source), void()); }
void TParamSystem::ClearDims() { KEST_FORWARD(ClearDims(), void()); }

std::int32_t TParamSystem::IndexOf(const std::string& text, CaseSensitivity sensitivity, MatchMode mode) const {
  KEST_FORWARD(IndexOf(text, sensitivity, mode), -1);
  return IndexOfElements(*this, text, sensitivity, mode);
}

const TCustomParam& TParamSystem::Resolved() const {
  KEST_FORWARD(Resolved(), *this);
  return *this;
}

#undef KEST_FORWARD

}  // namespace kest
