#include "scenario/trace.h"

#include <cstdio>

namespace kest {

namespace {
std::string Stamp(std::int32_t frame_clock) {
  char stamp[16];
  std::snprintf(stamp, sizeof stamp, "%.8x", static_cast<unsigned>(frame_clock));
  return std::string(stamp) + " : ";
}
}  // namespace

std::string FormatTraceNote(std::int32_t frame_clock, std::string_view text) {
  return Stamp(frame_clock) + "<Note>" + std::string(text);
}

std::string FormatTraceLine(std::int32_t frame_clock, std::string_view page_name, std::int32_t line_number,
                            TraceKind kind) {
  std::string line = Stamp(frame_clock);
  if (kind == TraceKind::Event) line += "<Event>";
  if (kind == TraceKind::Dropped) line += "<Dropped>";
  line += page_name;  // data, never a format
  line += '(';
  line += std::to_string(line_number);
  line += ')';
  return line;
}

}  // namespace kest
