#pragma once
// The image library's own message texts.

#include <string>

#include "core/messages.h"

namespace kest {

enum class ImageMessage {
  SetIdentificationCode,  // a scrambled picture is to be written while the identification code is 0
  kCount
};

const std::string& Message(ImageMessage id);

}  // namespace kest
