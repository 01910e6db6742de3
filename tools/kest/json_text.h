#pragma once
// Small pieces of the tool's JSON listings.

#include <string>
#include <string_view>

namespace kest::tool {

// A CP932 text as a JSON string (converted to UTF-8, quotes, backslashes and control bytes
// escaped).
std::string JsonString(std::string_view cp932_text);

}  // namespace kest::tool
