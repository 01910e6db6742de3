#include "scenario/interpreter_state.h"

#include "scenario/call_man.h"
#include "scenario/frame_clock.h"
#include "scenario/page.h"

namespace kest {

namespace {
constexpr std::uint8_t kTickCount = 14;
constexpr std::uint8_t kUpdateCount = 16;
constexpr std::uint8_t kYear = 17;  // then @Month, @Day, @Week, @Hour, @Min, @Sec
constexpr std::uint8_t kSec = 23;
}  // namespace

std::int32_t TInterpreterState::ElementCount(std::uint8_t sys_index) {
  if (sys_index == SV_PARAMSTR) return call_man_.ArgCount();
  return TSystemState::ElementCount(sys_index);
}

std::int32_t TInterpreterState::ReadInt(std::uint8_t sys_index, std::int32_t element) {
  switch (sys_index) {
    case SV_PARAMCOUNT: return call_man_.ArgCount();
    case kTickCount: return clock_.FrameClock;
    case kUpdateCount: return clock_.UpdateCount;
    default:
      if (sys_index >= kYear && sys_index <= kSec) {
        const CivilTime& now = clock_.Date();
        const std::int32_t fields[] = {now.year, now.month, now.day, now.week, now.hour, now.minute, now.second};
        return fields[sys_index - kYear];
      }
      return TSystemState::ReadInt(sys_index, element);
  }
}

std::string TInterpreterState::ReadStr(std::uint8_t sys_index, std::int32_t element) {
  switch (sys_index) {
    case SV_PARAMSTR: return call_man_.Arg(element);
    case SV_SENDER: return call_man_.SenderName();
    default: return TSystemState::ReadStr(sys_index, element);
  }
}

TCustomParam* TInterpreterState::TopResult() { return call_man_.TopResult(); }

ParamTypeCode TInterpreterState::ResultType() {
  if (!call_man_.CurrentPage) return PT_NONE;
  return static_cast<ParamTypeCode>(call_man_.CurrentPage->ResultType);
}

}  // namespace kest
