#pragma once
// The interpreter's trace: one line per executed command, "%.8x : %s(%d)" with the frame clock
// in milliseconds, the page name and the command's source line number; "<Event>" before the
// page name when an event handler starts. Lines are CP932, as the page names are; the sink
// converts them for its output. Without a sink nothing is formatted.

#include <cstdint>
#include <string>
#include <string_view>

namespace kest {

class TTraceLog {
 public:
  virtual ~TTraceLog() = default;
  virtual void Write(std::string_view cp932_line) = 0;
};

enum class TraceKind {
  Command,  // "0000a0b0 : start.ksb(12)"
  Event,    // "0000a0b0 : <Event>click.ksb(3)"
  Dropped,  // "0000a0b0 : <Dropped>gone.ksb:label(0)": an event whose page is in no reachable place
};

std::string FormatTraceLine(std::int32_t frame_clock, std::string_view page_name, std::int32_t line_number,
                            TraceKind kind = TraceKind::Command);

// A note of the player about the run, such as a kind of object it cannot draw yet:
// "0000a0b0 : <Note>LT_IMAGES: drawing is not available yet".
std::string FormatTraceNote(std::int32_t frame_clock, std::string_view text);

}  // namespace kest
