#include "json_text.h"

#include <cstdio>

#include "core/cp932.h"

namespace kest::tool {

std::string JsonString(std::string_view cp932_text) {
  const std::string utf8 = cp932::ToUtf8Lenient(cp932_text);
  std::string out = "\"";
  for (const char ch : utf8) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += ch;
    } else if (c < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out += escaped;
    } else {
      out += ch;
    }
  }
  return out + "\"";
}

}  // namespace kest::tool
