#include "scenario/trace.h"

#include <cstdio>

namespace kest {

std::string FormatTraceLine(std::int32_t frame_clock, std::string_view page_name, std::int32_t line_number,
                            TraceKind kind) {
  char stamp[16];
  std::snprintf(stamp, sizeof stamp, "%.8x", static_cast<unsigned>(frame_clock));
  std::string line = stamp;
  line += " : ";
  if (kind == TraceKind::Event) line += "<Event>";
  if (kind == TraceKind::Dropped) line += "<Dropped>";
  line += page_name;  // data, never a format
  line += '(';
  line += std::to_string(line_number);
  line += ')';
  return line;
}

}  // namespace kest
