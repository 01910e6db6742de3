#include "scenario/date_clock.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace kest {

namespace {
constexpr std::int64_t kSecondsPerDay = 86400;
}  // namespace

CivilTime CivilFromSeconds(std::int64_t seconds) {
  namespace chrono = std::chrono;
  std::int64_t days = seconds / kSecondsPerDay;
  std::int64_t rest = seconds % kSecondsPerDay;
  if (rest < 0) {
    rest += kSecondsPerDay;
    --days;
  }
  const chrono::sys_days day_point{chrono::days{days}};
  const chrono::year_month_day date{day_point};
  const chrono::weekday day_of_week{day_point};
  return {.year = static_cast<int>(date.year()),
          .month = static_cast<std::int32_t>(static_cast<unsigned>(date.month())),
          .day = static_cast<std::int32_t>(static_cast<unsigned>(date.day())),
          .week = static_cast<std::int32_t>(day_of_week.c_encoding()) + 1,
          .hour = static_cast<std::int32_t>(rest / 3600),
          .minute = static_cast<std::int32_t>(rest / 60 % 60),
          .second = static_cast<std::int32_t>(rest % 60)};
}

std::optional<std::int64_t> ParseDateTime(const char* text) {
  using namespace std::chrono;
  int y = 0;
  unsigned mo = 0, d = 0, h = 0, mi = 0, s = 0;
  int consumed = 0;
  if (std::sscanf(text, "%4d-%2u-%2uT%2u:%2u:%2u%n", &y, &mo, &d, &h, &mi, &s, &consumed) != 6 ||
      text[consumed] != '\0')
    return std::nullopt;
  const year_month_day date{year{y}, month{mo}, day{d}};
  if (!date.ok() || h > 23 || mi > 59 || s > 59) return std::nullopt;
  return std::int64_t{sys_days{date}.time_since_epoch().count()} * kSecondsPerDay + h * 3600 + mi * 60 + s;
}

const CivilTime& TDateClock::Now(std::int32_t frame_clock) {
  if (sampled_at_ == frame_clock) return sampled_;
  sampled_at_ = frame_clock;
  if (fixed_start_) {
    // The frame clock counts milliseconds as an unsigned 32-bit sum read as int32.
    sampled_ = CivilFromSeconds(*fixed_start_ + static_cast<std::uint32_t>(frame_clock) / 1000);
    return sampled_;
  }
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  sampled_ = {.year = local.tm_year + 1900, .month = local.tm_mon + 1, .day = local.tm_mday,
              .week = local.tm_wday + 1, .hour = local.tm_hour, .minute = local.tm_min, .second = local.tm_sec};
  return sampled_;
}

}  // namespace kest
