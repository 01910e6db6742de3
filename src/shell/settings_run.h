#pragma once
// The player started with "/config": only the settings dialog, in a window of its own titled
// "動作設定" and centred on the desktop; no title is loaded. OK writes game.ini (a failed write
// shows an error box and the dialog stays open); Cancel, Escape and closing the window write
// nothing. Headless, the dialog runs on the scripted input, one 16-millisecond frame (or
// --frame-ms) at a time, with --screenshot and --dialog-shots, until it closes, the frame limit
// is reached or the script has ended (then it closes as Cancel would, and says so).

#include <iosfwd>
#include <string>

#include "shell/options.h"

namespace kest::shell {

// Returns the exit status.
int RunSettingsDialog(const PlayerOptions& options, const std::string& program_folder, std::ostream& err);

}  // namespace kest::shell
