#pragma once
// Breaks a CP932 text into rows no wider than a width: at its line breaks (CR LF, CR or LF),
// and by characters where a row is full, never inside a double-byte character. The Japanese
// rules hold where they can: a row does not start with closing punctuation or end with an
// opening bracket (a row of one character is kept even so). A single character wider than the
// width gets a row of its own.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "shell/ui/ui_text.h"

namespace kest::ui {

std::vector<std::string> WrapText(UiText& text, std::string_view cp932, std::int32_t max_width);

// Fits `rows` into `max_rows`: when there are more, the last row kept ends with "…" (U+2026,
// CP932 0x81 0x63), characters taken off its end until it fits `max_width`.
std::vector<std::string> CutRows(UiText& text, std::vector<std::string> rows, std::size_t max_rows,
                                 std::int32_t max_width);

}  // namespace kest::ui
