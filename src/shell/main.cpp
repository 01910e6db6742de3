// kestplayer: plays a title in a window, or headless for tests and batch runs.

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "shell/options.h"
#include "shell/runner.h"
#include "shell/settings_run.h"

namespace {

std::string ProgramFolder(const char* argv0) {
  std::error_code error;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) self = std::filesystem::absolute(argv0, error);
  return self.parent_path().string() + "/";
}

// Without game folders the player plays the title beside it; when there is none, the demo title
// that the build compiled.
std::vector<std::string> GameFolders(std::vector<std::string> folders, const std::string& program_folder) {
  if (!folders.empty()) return folders;
  std::error_code error;
  const bool title_beside = std::filesystem::exists(program_folder + "kest.kpb", error) ||
                            std::filesystem::exists(program_folder + "game.dat", error);
  if (!title_beside && std::filesystem::exists(KEST_DEMO_FOLDER "/kest.kpb", error)) folders.push_back(KEST_DEMO_FOLDER);
  return folders;
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
  PlayerOptions options = parsed.options;
  if (options.help) {
    std::cout << UsageText();
    return kExitOk;
  }
  if (options.version) {
    std::cout << "kestplayer " << KEST_VERSION << '\n';
    return kExitOk;
  }
  const std::string program_folder = ProgramFolder(argv[0]);
  if (options.config) return RunSettingsDialog(options, program_folder, std::cerr);
  options.game_folders = GameFolders(std::move(options.game_folders), program_folder);
  return RunPlayer(options, program_folder, std::cerr);
}
