#pragma once
// The player shell's own message texts.

#include <string>

#include "core/messages.h"

namespace kest::shell {

enum class ShellMessage {
  ExitQuestion,         // %s is the title
  CaptionConfirmation,  // the caption of the exit question
  kCount
};

const std::string& Message(ShellMessage id);

}  // namespace kest::shell
