#pragma once
// The archive and file layer's own message texts.

#include <string>

#include "core/messages.h"

namespace kest {

enum class VfsMessage {
  FileMissing,        // a name found nowhere; %s is the name
  ResourceMissing,    // a resource archive that is empty or absent
  TempFileFailed,     // a temporary copy that cannot be made
  kCount
};

const std::string& Message(VfsMessage id);

}  // namespace kest
