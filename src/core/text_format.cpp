#include "core/text_format.h"

#include "core/cp932.h"

namespace kest {

std::string FillMessage(std::string_view pattern, std::initializer_list<std::string_view> arguments) {
  std::string result;
  auto next = arguments.begin();
  for (std::size_t i = 0; i < pattern.size();) {
    const std::size_t length = cp932::CharLength(pattern, i);
    const bool placeholder = length == 1 && pattern[i] == '%' && i + 1 < pattern.size() &&
                             (pattern[i + 1] == 's' || pattern[i + 1] == 'd');
    if (placeholder && next != arguments.end()) {
      result += *next++;
      i += 2;
      continue;
    }
    result.append(pattern.substr(i, length));
    i += length;
  }
  return result;
}

}  // namespace kest
