#pragma once
// A script-visible constant: the name titles use for a number ("PR_LEFT", "HA_CENTER",
// "VK_RETURN"). Tables of them let the title tools write names instead of bare numbers.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace kest {

struct NamedCode {
  std::string_view name;
  std::int32_t code;
};

// A table's entry by name (exact, as scripts spell them) or by code (the first with it).
inline std::optional<std::int32_t> CodeOfName(std::span<const NamedCode> table, std::string_view name) {
  for (const NamedCode& entry : table)
    if (entry.name == name) return entry.code;
  return std::nullopt;
}
inline std::string_view NameOfCode(std::span<const NamedCode> table, std::int32_t code) {
  for (const NamedCode& entry : table)
    if (entry.code == code) return entry.name;
  return {};
}

}  // namespace kest
