#pragma once
// The lines of an INI file as Windows' private-profile functions see them: "[section]" lines
// open a section, "key=value" lines inside one hold its keys, and everything else (comments after
// ";", blank lines, lines without "=") is kept as it stands. Section and key names are compared
// without regard to case, with blanks around them ignored; the first section of a name and the
// first key of a name within it are the ones read and written.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kest::shell {

struct IniLine {
  std::string_view text;    // without its line ending
  std::string_view ending;  // "\r\n", "\n" or "" (the last line of a file without a final break)
};

std::vector<IniLine> SplitIniLines(std::string_view file);

std::string_view TrimIniBlanks(std::string_view text);

// The lines of the first section called `name`: from its header line to the line before the next
// header (or the end). Nothing when the file has no such section.
struct IniSection {
  std::size_t header = 0;
  std::size_t end = 0;  // one past the section's last line
};
std::optional<IniSection> FindIniSection(const std::vector<IniLine>& lines, std::string_view name);

// The first line of the section holding `key`, and where its value starts within that line.
struct IniKey {
  std::size_t line = 0;
  std::size_t value_start = 0;
};
std::optional<IniKey> FindIniKey(const std::vector<IniLine>& lines, const IniSection& section, std::string_view key);

}  // namespace kest::shell
