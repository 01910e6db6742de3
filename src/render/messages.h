#pragma once
// The surface layer's own message texts.

#include <string>

#include "core/messages.h"

namespace kest {

enum class RenderMessage {
  ScanlineOutOfRange,  // a row address outside the surface; %d is the row
  kCount
};

const std::string& Message(RenderMessage id);

}  // namespace kest
