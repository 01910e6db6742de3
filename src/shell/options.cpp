#include "shell/options.h"

#include <charconv>

#include "platform/geometry.h"
#include "scenario/date_clock.h"

namespace kest::shell {

namespace {

std::optional<std::uint32_t> ParseNumber(const std::string& text) {
  std::uint32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

// "/config" as the player has always taken it, compared without regard to case, and "--config".
bool IsConfigArgument(const std::string& argument) {
  if (argument == "--config") return true;
  static constexpr std::string_view kConfig = "/config";
  if (argument.size() != kConfig.size()) return false;
  for (std::size_t i = 0; i < kConfig.size(); ++i) {
    const char c = argument[i];
    if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != kConfig[i]) return false;
  }
  return true;
}

}  // namespace

ParsedOptions ParseOptions(std::span<const std::string> arguments) {
  ParsedOptions parsed;
  PlayerOptions& options = parsed.options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const auto value = [&]() -> std::optional<std::string> {
      if (i + 1 >= arguments.size()) {
        parsed.error = argument + " needs a value";
        return std::nullopt;
      }
      return arguments[++i];
    };
    const auto number = [&](std::uint32_t low, std::uint32_t high) -> std::optional<std::uint32_t> {
      const std::optional<std::string> text = value();
      if (!text) return std::nullopt;
      const std::optional<std::uint32_t> result = ParseNumber(*text);
      if (!result || *result < low || *result > high) {
        parsed.error = argument + " needs a whole number from " + std::to_string(low) + " to " +
                       std::to_string(high) + ", not \"" + *text + "\"";
        return std::nullopt;
      }
      return result;
    };

    if (argument == "--help" || argument == "-h") {
      options.help = true;
    } else if (argument == "--version") {
      options.version = true;
    } else if (argument == "--headless") {
      options.headless = true;
    } else if (IsConfigArgument(argument)) {
      options.config = true;
    } else if (argument == "--frames") {
      options.frames = number(0, UINT32_MAX);
    } else if (argument == "--frame-ms") {
      if (const auto ms = number(1, kLongestFrameMs)) options.frame_ms = *ms;
    } else if (argument == "--seed") {
      options.seed = number(0, UINT32_MAX);
    } else if (argument == "--input") {
      options.input = value().value_or("");
    } else if (argument == "--trace") {
      options.trace = value().value_or("");
    } else if (argument == "--dump-vars") {
      options.dump_vars = value().value_or("");
    } else if (argument == "--screenshot" || argument == "--screenshot-window") {
      if (const std::optional<std::string> text = value()) {
        const std::size_t colon = text->find(':');
        const std::optional<std::uint32_t> frame =
            colon == std::string::npos ? std::nullopt : ParseNumber(text->substr(0, colon));
        if (!frame || colon + 1 >= text->size())
          parsed.error = argument + " needs FRAME:FILE.png, not \"" + *text + "\"";
        else
          (argument == "--screenshot" ? options.screenshots : options.window_screenshots)
              .push_back({*frame, text->substr(colon + 1)});
      }
    } else if (argument == "--dialog-shots") {
      options.dialog_shots = value().value_or("");
    } else if (argument == "--ini") {
      options.ini = value().value_or("");
    } else if (argument == "--font-dir") {
      options.font_dir = value().value_or("");
    } else if (argument == "--glyphs") {
      if (const std::optional<std::string> text = value()) {
        if (*text == "fake") options.glyphs = GlyphSource::kFake;
        else if (*text == "real") options.glyphs = GlyphSource::kReal;
        else parsed.error = "--glyphs needs fake or real, not \"" + *text + "\"";
      }
    } else if (argument == "--date") {
      if (const std::optional<std::string> text = value()) {
        options.date = ParseDateTime(text->c_str());
        if (!options.date) parsed.error = "--date needs YYYY-MM-DDTHH:MM:SS, not \"" + *text + "\"";
      }
    } else if (argument == "--save-dir") {
      options.save_dir = value().value_or("");
    } else if (argument == "--scale") {
      if (const auto scale = number(1, platform::kMaxScale)) options.scale = *scale;
    } else if (argument == "--fullscreen") {
      options.fullscreen = true;
    } else if (argument.starts_with("--")) {
      parsed.error = "unknown option " + argument;
    } else {
      options.game_folders.push_back(argument);
    }
    if (!parsed.error.empty()) return parsed;
  }
  return parsed;
}

std::string UsageText() {
  return R"usage(Usage: kestplayer [OPTIONS] [GAME_FOLDER ...]

Plays a title in a window. GAME_FOLDER holds the title's "game.dat" (every folder given that
holds one is mounted, in order); without one the player plays the title beside it. A second
player for the same game folder ends at once, silently.

What works today: the scenario (flow control, calls, waits, event handlers, variables), boxes
that move and answer the mouse and keys, pictures that animate, zoom and turn, buttons, tiles,
motion files, objects' pointer pictures, screen transitions (Flip), the window with its toolbar
(exit question, window or full screen), the player's own message boxes, and the settings dialog.
Sound and saving and loading games are not built yet: their commands report "not available
yet" and the script goes on.

Options:
  --headless           run without a window: virtual clock, scripted input, memory screen
  --frames N           stop after N frames (default: until the window closes; headless, until
                       the script ends and no handler can start)
  --frame-ms N         virtual frame time of a headless run in milliseconds, 1 to 3000 (16)
  --seed N             seed of the built-in random function (default: from the time of day)
  --date YYYY-MM-DDTHH:MM:SS
                       the date variables start at this local time and move with the frame
                       clock only
  --input FILE         scripted input (headless): one "FRAME EVENT ARGS" per line
  --screenshot N:FILE.png
                       write what the screen shows of the scene after frame N (from 0);
                       repeatable
  --screenshot-window N:FILE.png
                       write the window's whole picture after frame N: the toolbar strip, the
                       scene and any box over them, at scene resolution; repeatable
  --dialog-shots DIR   write every message box and dialog, as first drawn, over the window's
                       picture to DIR/dialog-001.png, dialog-002.png, ...
  --ini FILE           the game.ini read at start-up and written by the settings dialog
                       (default: beside the player, else $XDG_CONFIG_HOME/kestplayer/game.ini)
  --glyphs fake|real   real: text in the installed fonts (default); fake: boxes drawn from the
                       codes, for pictures that must not depend on fonts
  --font-dir DIR       take the fonts from DIR only instead of the system's
  --trace FILE|-       one line per executed command, "%.8x : %s(%d)"; - for standard output
  --dump-vars FILE     every variable at exit: NAME<TAB>SCOPE<TAB>TYPE<TAB>VALUE, sorted by name
  --save-dir DIR       keep "save.dat" in DIR instead of the game folder
  --fullscreen         start in full screen
  --scale N            window scale, 1 to 8
  --help, --version
  /config, --config    only the settings dialog (any case: /CONFIG); with --headless it runs on
                       the scripted input until it closes

Keys: Ctrl+Q asks whether to quit; Alt+Enter switches between the window and full screen. The
toolbar's "終了" and "画面切替" do the same.

Exit status: 0 the run ended normally (window closed, script ended, title terminated, frame
limit reached); 1 start-up or the run failed (one line on standard error); 2 bad options.
)usage";
}

}  // namespace kest::shell
