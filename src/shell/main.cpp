// kestplayer: plays a title. Today it runs titles headless; the window comes with the display.

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "shell/headless_runner.h"
#include "shell/options.h"

namespace {

std::string ProgramFolder(const char* argv0) {
  std::error_code error;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) self = std::filesystem::absolute(argv0, error);
  return self.parent_path().string() + "/";
}

}  // namespace

int main(int argc, char** argv) {
  using namespace kest::shell;
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const ParsedOptions parsed = ParseOptions(arguments);
  if (!parsed.error.empty()) {
    std::cerr << "kestplayer: " << parsed.error << "\nTry kestplayer --help.\n";
    return kExitBadOptions;
  }
  const PlayerOptions& options = parsed.options;
  if (options.help) {
    std::cout << UsageText();
    return kExitOk;
  }
  if (options.version) {
    std::cout << "kestplayer " << KEST_VERSION << '\n';
    return kExitOk;
  }
  if (!options.not_available.empty()) {
    std::cerr << "kestplayer: " << options.not_available.front() << ": not available yet\n";
    return kExitBadOptions;
  }
  if (options.config) {
    std::cerr << "kestplayer: the settings dialog (/config) is not available yet\n";
    return kExitBadOptions;
  }
  if (!options.headless) {
    std::cerr << "kestplayer: playing in a window is not available yet; run with --headless\n";
    return kExitBadOptions;
  }
  if (options.game_folders.empty()) {
    std::cerr << "kestplayer: --headless needs a GAME_FOLDER\nTry kestplayer --help.\n";
    return kExitBadOptions;
  }
  return RunHeadless(options, ProgramFolder(argv[0]), std::cerr);
}
