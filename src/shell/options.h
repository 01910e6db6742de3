#pragma once
// kestplayer's command line: game folders and "/config" as the player has always taken them,
// plus the options of headless and batch runs and of the window.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kest::shell {

struct Screenshot {
  std::uint32_t frame = 0;  // taken after the frame of this number (counted from 0) has run
  std::string path;
};

// Where the glyphs of text come from: the installed fonts, or boxes drawn from the codes (for
// pixel tests that must not depend on fonts).
enum class GlyphSource { kReal, kFake };

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
  std::vector<Screenshot> screenshots;
  std::vector<Screenshot> window_screenshots;  // --screenshot-window: dock, scene and any box
  std::string dialog_shots;                    // --dialog-shots DIR: each box as first drawn
  std::string ini;                             // --ini FILE: the game.ini read and written
  GlyphSource glyphs = GlyphSource::kReal;     // --glyphs fake|real
  std::string font_dir;                        // --font-dir DIR: where the glyph cache finds faces
  std::optional<std::int64_t> date;  // --date: the fixed start of the date variables, in seconds
  std::string save_dir;
  std::uint32_t scale = 1;
  bool fullscreen = false;
  bool help = false;
  bool version = false;
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
