#pragma once
// A whole run of the player: the single-instance guard, the platform (a window, or the headless
// one), the session's start-up, the frame loop, and the orderly end: the exit page, the status
// data, the trace and the variable dump.

#include <iosfwd>
#include <string>

#include "shell/options.h"

namespace kest::shell {

// Exit statuses of kestplayer.
enum ExitStatus : int { kExitOk = 0, kExitFailed = 1, kExitBadOptions = 2 };

// Messages (UTF-8) go to `err`, one line each.
int RunPlayer(const PlayerOptions& options, const std::string& program_folder, std::ostream& err);

}  // namespace kest::shell
