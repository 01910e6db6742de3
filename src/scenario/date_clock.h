#pragma once
// The date and time that scripts read ("@Year" to "@Sec"). They are sampled from the system
// clock at most once per frame-clock value and reused while the frame clock stands still, so
// every command of one frame sees the same moment. A run may fix the starting moment instead:
// the date then moves on with the frame clock alone, and two runs read the same dates.

#include <cstdint>
#include <optional>

namespace kest {

struct CivilTime {
  std::int32_t year = 0, month = 0, day = 0;
  std::int32_t week = 0;  // 1 = Sunday .. 7 = Saturday
  std::int32_t hour = 0, minute = 0, second = 0;
};

// The local civil time of a count of seconds since 1970-01-01 00:00:00 in that same local
// time (no zone applied).
CivilTime CivilFromSeconds(std::int64_t seconds);

// "YYYY-MM-DDTHH:MM:SS" as seconds since 1970-01-01T00:00:00; none when it is not a valid date.
std::optional<std::int64_t> ParseDateTime(const char* text);

class TDateClock {
 public:
  // Reads the system's local time.
  TDateClock() = default;
  // Starts at a fixed local time and moves on with the frame clock only.
  explicit TDateClock(std::int64_t fixed_start_seconds) : fixed_start_(fixed_start_seconds) {}

  const CivilTime& Now(std::int32_t frame_clock);

 private:
  std::optional<std::int64_t> fixed_start_;
  std::optional<std::int32_t> sampled_at_;
  CivilTime sampled_;
};

}  // namespace kest
