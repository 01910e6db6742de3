// kestplayer: plays a title in a window, or headless for tests and batch runs.

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "shell/options.h"
#include "shell/runner.h"

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
  if (options.config) {
    std::cerr << "kestplayer: the settings dialog (/config) is not available yet; edit game.ini beside the "
                 "player (section [Sound], keys DirectSound and DelayTime)\n";
    return kExitBadOptions;
  }
  return RunPlayer(options, ProgramFolder(argv[0]), std::cerr);
}
