#pragma once
// Reading the values of sub-command options.

#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>

namespace kest::tool {

// A whole decimal number that is the whole text (no sign but "-", no blanks, no rest).
inline std::optional<std::int32_t> WholeNumber(std::string_view text) {
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace kest::tool
