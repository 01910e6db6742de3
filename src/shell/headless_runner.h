#pragma once
// The headless run: mounts the title, starts the project, runs frames on the virtual clock with
// scripted input, writes the trace and, at exit, the variables.

#include <iosfwd>

#include "shell/options.h"

namespace kest::shell {

// Exit statuses of kestplayer.
enum ExitStatus : int { kExitOk = 0, kExitFailed = 1, kExitBadOptions = 2 };

// Messages (UTF-8) go to `err`, one line each.
int RunHeadless(const PlayerOptions& options, const std::string& program_folder, std::ostream& err);

}  // namespace kest::shell
