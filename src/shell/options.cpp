#include "shell/options.h"

#include <charconv>

namespace kest::shell {

namespace {

std::optional<std::uint32_t> ParseNumber(const std::string& text) {
  std::uint32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

// Options of later subsystems: recognised, with whether they take a value.
struct LaterOption {
  std::string_view name;
  bool takes_value;
};
constexpr LaterOption kLaterOptions[] = {
    {"--date", true}, {"--screenshot", true}, {"--save-dir", true}, {"--scale", true}, {"--fullscreen", false},
};

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
    } else if (argument == "/config" || argument == "/CONFIG" || argument == "--config") {
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
    } else if (argument.starts_with("--")) {
      bool known = false;
      for (const LaterOption& later : kLaterOptions) {
        if (argument != later.name) continue;
        known = true;
        if (later.takes_value) value();
        options.not_available.push_back(argument);
      }
      if (!known) parsed.error = "unknown option " + argument;
    } else {
      options.game_folders.push_back(argument);
    }
    if (!parsed.error.empty()) return parsed;
  }
  return parsed;
}

std::string UsageText() {
  return R"usage(Usage: kestplayer --headless GAME_FOLDER [OPTIONS]

Plays a title. Today only headless runs work: the scenario runs frame by frame on a virtual
clock, with flow control, calls, waits, event handlers and variables. Display objects,
drawing, text, sound, and saving and loading games are not built yet: their commands report
"not available yet" and the script goes on.

Options that work:
  --headless           run without a window (required for now)
  --frames N           stop after N frames (default: run until the script ends)
  --frame-ms N         virtual frame time in milliseconds, 1 to 3000 (default 16)
  --seed N             seed of the built-in random function
  --input FILE         scripted input; "FRAME event HANDLER [SENDER]" queues a script event
  --trace FILE|-       one line per executed command, "%.8x : %s(%d)"; - for standard output
  --dump-vars FILE     every variable at exit: NAME<TAB>SCOPE<TAB>TYPE<TAB>VALUE, sorted by name
  --help, --version

Not available yet (refused with exit status 2): playing in a window, /config,
--screenshot, --date, --save-dir, --fullscreen, --scale.

Exit status: 0 the run ended normally (script ended, title terminated, frame limit reached);
1 start-up or the run failed (one line on standard error); 2 bad options.
)usage";
}

}  // namespace kest::shell
