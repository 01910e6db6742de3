#pragma once
// The player shell's own message texts and the captions of its own widgets.

#include <string>

#include "core/messages.h"

namespace kest::shell {

enum class ShellMessage {
  ExitQuestion,         // %s is the title
  CaptionConfirmation,  // the caption of the exit question
  ButtonOk,
  ButtonCancel,
  ButtonYes,
  ButtonNo,
  ToolbarExit,
  ToolbarScreenSwitch,
  SettingsCaption,      // the settings dialog's title
  SettingsDirectSound,  // its check box
  SettingsDelay,        // the label of its track bar
  SettingsDelayValue,   // %d is the delay in milliseconds
  kCount
};

const std::string& Message(ShellMessage id);

}  // namespace kest::shell
