#pragma once
// Opening a URL or a file with the desktop's default handler: xdg-open, started directly with an
// argument vector (never through a shell, so no character of the target is ever interpreted).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kest::platform {

// The argument vector that opens `cp932_target`: {"xdg-open", UTF-8 target}. Nothing for a
// target that is empty, is not valid CP932, or starts with "-" (xdg-open would take it for one
// of its own options).
std::optional<std::vector<std::string>> DefaultHandlerCommand(std::string_view cp932_target);

// Starts the program argv[0] (searched on PATH) with the arguments and does not wait for it; the
// child is reaped in the background. False when it cannot be started.
bool SpawnDetached(const std::vector<std::string>& argv);

}  // namespace kest::platform
