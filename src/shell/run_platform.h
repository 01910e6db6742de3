#pragma once
// The platform of a run: the headless one (with its scripted input) or the window's.

#include <iosfwd>
#include <memory>

#include "platform/headless/headless_platform.h"
#include "shell/options.h"

namespace kest::shell {

struct RunPlatform {
  std::unique_ptr<platform::Platform> owned;
  platform::HeadlessPlatform* headless = nullptr;
};

// Throws ScriptedInputError for a bad input script.
RunPlatform MakePlatform(const PlayerOptions& options, std::ostream& err);

}  // namespace kest::shell
