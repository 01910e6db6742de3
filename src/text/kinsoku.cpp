#include "text/kinsoku.h"

#include <algorithm>

namespace kest {

bool CannotStartRow(std::uint16_t code) {
  return std::find(kNoLineStartCodes.begin(), kNoLineStartCodes.end(), code) != kNoLineStartCodes.end();
}

bool CannotEndRow(std::uint16_t code) {
  return std::find(kNoLineEndCodes.begin(), kNoLineEndCodes.end(), code) != kNoLineEndCodes.end();
}

}  // namespace kest
