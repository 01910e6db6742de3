#pragma once
// The platform for play, on SDL2. The header names no SDL type, so the shell can create it
// without seeing the toolkit.

#include <memory>

#include "platform/platform.h"

namespace kest::platform {

// Nothing is opened yet: the window, the sound device and their SDL subsystems come with
// OpenDisplay and OpenSound. Message boxes work before either.
std::unique_ptr<Platform> CreateSdlPlatform();

}  // namespace kest::platform
