#pragma once
// The scenario layer's own message texts.

#include <string>

#include "core/messages.h"

namespace kest {

enum class ScenarioMessage {
  CaptionWarning,       // "警告"
  CaptionInformation,   // "情報", also the title of a project before its file is read
  NoProject,            // kest.kpb is empty
  NoStartPage,          // the start page is not in the title
  Reinstall,            // install.dat is missing
  InsertDisk,           // no drive holds the title's disk
  DefaultDiskPrompt,    // %d is the disk number
  DefaultExitMessage,
  Rebuild,              // a page too old for the player
  BadCommand,           // a command type outside the table
  StackError,           // a return with no call to return to
  NotAvailableYet,      // %s is a command or a request whose subsystem is not built
  CallTooDeep,          // %s is the deepest call depth allowed
  kCount
};

const std::string& Message(ScenarioMessage id);

}  // namespace kest
