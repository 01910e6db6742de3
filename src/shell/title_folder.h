#pragma once
// Why a title does not start, said so that a user can act on it: the folder named on the
// command line does not exist or cannot be read, it holds no title, or its project file is from a
// newer player. The player itself closes without a word in the last two cases.

#include <string>

#include "scenario/project.h"

namespace kest::shell {

// "" when `folder` is a folder the player can read; otherwise why not (UTF-8).
std::string WhyFolderCannotBeRead(const std::string& folder);

// Why the start-up in `game_folder` stopped without a message of its own (UTF-8), or "".
std::string WhyProjectDidNotStart(TProject::SilentStop stop, std::int32_t version, const std::string& game_folder);

}  // namespace kest::shell
