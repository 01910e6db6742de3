#pragma once
// kestplayer's command line. Game folders and "/config" as the player has always taken them,
// plus the options of headless and batch runs. Options whose subsystems are not built yet are
// recognised and refused with a clear message.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kest::shell {

struct PlayerOptions {
  std::vector<std::string> game_folders;
  bool config = false;  // "/config" or "--config": the settings dialog
  bool headless = false;
  std::optional<std::uint32_t> frames;  // stop after this many frames
  std::uint32_t frame_ms = 16;
  std::optional<std::uint32_t> seed;
  std::string input;      // scripted input file
  std::string trace;      // trace file, "-" for standard output
  std::string dump_vars;  // variable dump file
  bool help = false;
  bool version = false;
  // Options that were given but need subsystems not built yet, as written ("--screenshot").
  std::vector<std::string> not_available;
};

// Longest virtual frame: a longer one would never be counted by the frame clock.
inline constexpr std::uint32_t kLongestFrameMs = 3000;

struct ParsedOptions {
  PlayerOptions options;
  std::string error;  // UTF-8; empty when the command line was good
};

ParsedOptions ParseOptions(std::span<const std::string> arguments);

// The --help text: what works today, and what does not yet.
std::string UsageText();

}  // namespace kest::shell
