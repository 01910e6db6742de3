#include "shell/ini_lines.h"

#include "core/cp932.h"

namespace kest::shell {

std::vector<IniLine> SplitIniLines(std::string_view file) {
  std::vector<IniLine> lines;
  while (!file.empty()) {
    const std::size_t lf = file.find('\n');
    if (lf == std::string_view::npos) {
      lines.push_back({file, {}});
      break;
    }
    const std::size_t text_end = lf > 0 && file[lf - 1] == '\r' ? lf - 1 : lf;
    lines.push_back({file.substr(0, text_end), file.substr(text_end, lf + 1 - text_end)});
    file.remove_prefix(lf + 1);
  }
  return lines;
}

std::string_view TrimIniBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

namespace {

// The name of a "[name]" line, or nothing for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = TrimIniBlanks(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  const std::size_t close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return TrimIniBlanks(line.substr(1, close - 1));
}

}  // namespace

std::optional<IniSection> FindIniSection(const std::vector<IniLine>& lines, std::string_view name) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const auto found = SectionName(lines[i].text);
    if (!found || !cp932::SameText(*found, name)) continue;
    std::size_t end = i + 1;
    while (end < lines.size() && !SectionName(lines[end].text)) ++end;
    return IniSection{i, end};
  }
  return std::nullopt;
}

std::optional<IniKey> FindIniKey(const std::vector<IniLine>& lines, const IniSection& section, std::string_view key) {
  for (std::size_t i = section.header + 1; i < section.end; ++i) {
    const std::string_view text = lines[i].text;
    const std::string_view trimmed = TrimIniBlanks(text);
    if (trimmed.empty() || trimmed.front() == ';') continue;
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) continue;
    if (cp932::SameText(TrimIniBlanks(text.substr(0, equals)), key)) return IniKey{i, equals + 1};
  }
  return std::nullopt;
}

}  // namespace kest::shell
