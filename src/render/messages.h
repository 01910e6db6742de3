#pragma once
// The surface layer's own message texts.

#include <string>

#include "core/messages.h"

namespace kest {

enum class RenderMessage {
  ScanlineOutOfRange,  // a row address outside the surface; %d is the row
  MaskPictureMissing,  // a transition's mask picture could not be read; %s is its name
  kCount
};

const std::string& Message(RenderMessage id);

}  // namespace kest
