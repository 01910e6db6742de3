#include "shell/ui/text_wrap.h"

#include "core/cp932.h"
#include "text/kinsoku.h"

namespace kest::ui {

namespace {

constexpr std::string_view kEllipsis = "\x81\x63";  // …

struct Character {
  std::size_t offset;
  std::size_t length;
  std::uint16_t code;
};

std::vector<Character> Characters(std::string_view text) {
  std::vector<Character> characters;
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (cp932::IsLeadByte(lead) && i + 1 < text.size()) {
      characters.push_back({i, 2, static_cast<std::uint16_t>(lead << 8 | static_cast<unsigned char>(text[i + 1]))});
      i += 2;
    } else {
      characters.push_back({i, 1, lead});
      ++i;
    }
  }
  return characters;
}

// Splits at CR LF, CR or LF. A trail byte is never 0x0D or 0x0A, so bytes can be scanned.
std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  lines.push_back(text.substr(start));
  return lines;
}

void WrapLine(UiText& text, std::string_view line, std::int32_t max_width, std::vector<std::string>& rows) {
  const std::vector<Character> characters = Characters(line);
  std::size_t first = 0;  // the first character of the row being filled
  while (first < characters.size()) {
    // The most characters that fit, at least one.
    std::size_t end = first + 1;
    while (end < characters.size()) {
      const std::size_t from = characters[first].offset;
      const std::size_t to = characters[end].offset + characters[end].length;
      if (text.Width(line.substr(from, to - from)) > max_width) break;
      ++end;
    }
    if (end < characters.size()) {
      // Step the break back over a character that may not start the next row or end this one.
      std::size_t adjusted = end;
      while (adjusted > first + 1 &&
             (CannotStartRow(characters[adjusted].code) || CannotEndRow(characters[adjusted - 1].code))) {
        --adjusted;
      }
      end = adjusted;
    }
    const std::size_t from = characters[first].offset;
    const std::size_t to = characters[end - 1].offset + characters[end - 1].length;
    rows.emplace_back(line.substr(from, to - from));
    first = end;
  }
  if (characters.empty()) rows.emplace_back();
}

}  // namespace

std::vector<std::string> WrapText(UiText& text, std::string_view cp932, std::int32_t max_width) {
  std::vector<std::string> rows;
  for (std::string_view line : Lines(cp932)) WrapLine(text, line, max_width, rows);
  return rows;
}

std::vector<std::string> CutRows(UiText& text, std::vector<std::string> rows, std::size_t max_rows,
                                 std::int32_t max_width) {
  if (rows.size() <= max_rows) return rows;
  rows.resize(max_rows);
  if (max_rows == 0) return rows;
  std::string& last = rows.back();
  std::vector<Character> characters = Characters(last);
  while (!characters.empty() && text.Width(last + std::string(kEllipsis)) > max_width) {
    last.resize(characters.back().offset);
    characters.pop_back();
  }
  last += kEllipsis;
  return rows;
}

}  // namespace kest::ui
