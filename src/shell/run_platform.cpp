#include "shell/run_platform.h"

#include "platform/sdl/sdl_platform.h"

namespace kest::shell {

RunPlatform MakePlatform(const PlayerOptions& options, std::ostream& err) {
  if (!options.headless) return {platform::CreateSdlPlatform(), nullptr};
  platform::HeadlessOptions headless_options{.log = &err};
  if (!options.input.empty()) headless_options.input = platform::LoadScriptedInput(options.input);
  auto headless = std::make_unique<platform::HeadlessPlatform>(std::move(headless_options));
  platform::HeadlessPlatform* raw = headless.get();
  return {std::move(headless), raw};
}

}  // namespace kest::shell
