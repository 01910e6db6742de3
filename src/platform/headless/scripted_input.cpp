#include "platform/headless/scripted_input.h"

#include <array>
#include <charconv>
#include <fstream>
#include <optional>

#include "core/cp932.h"
#include "core/errors.h"
#include "platform/message_box.h"

namespace kest::platform {
namespace {

// The shape of an event's arguments; each shape is parsed by one function below.
enum class Arguments { kNone, kPoint, kButton, kWheel, kKey, kText, kAnswer, kEvent };

struct EventSyntax {
  std::string_view name;
  ScriptedKind kind;
  Arguments arguments;
  std::string_view usage;
};

constexpr std::array<EventSyntax, 14> kEvents{{
    {"move", ScriptedKind::kMove, Arguments::kPoint, "move X Y"},
    {"down", ScriptedKind::kDown, Arguments::kButton, "down left|right"},
    {"up", ScriptedKind::kUp, Arguments::kButton, "up left|right"},
    {"click", ScriptedKind::kClick, Arguments::kPoint, "click X Y"},
    {"wheel", ScriptedKind::kWheel, Arguments::kWheel, "wheel up|down"},
    {"key", ScriptedKind::kKey, Arguments::kKey, "key VK"},
    {"keydown", ScriptedKind::kKeyDown, Arguments::kKey, "keydown VK"},
    {"keyup", ScriptedKind::kKeyUp, Arguments::kKey, "keyup VK"},
    {"text", ScriptedKind::kText, Arguments::kText, "text UTF8"},
    {"deactivate", ScriptedKind::kDeactivate, Arguments::kNone, "deactivate"},
    {"activate", ScriptedKind::kActivate, Arguments::kNone, "activate"},
    {"answer", ScriptedKind::kAnswer, Arguments::kAnswer, "answer ok|cancel|yes|no"},
    {"event", ScriptedKind::kEvent, Arguments::kEvent, "event HANDLER [SENDER]"},
    {"quit", ScriptedKind::kQuit, Arguments::kNone, "quit"},
}};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// A token from the file, fit to be quoted in a message: printable ASCII as it is, any other
// byte as \xNN, and long tokens cut short.
std::string Quote(std::string_view token) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  constexpr std::size_t kLongest = 40;
  std::string result = "\"";
  for (std::size_t i = 0; i < token.size() && i < kLongest; ++i) {
    const auto byte = static_cast<unsigned char>(token[i]);
    if (byte >= 0x20 && byte < 0x7F) {
      result += static_cast<char>(byte);
    } else {
      result += {'\\', 'x', kHex[byte >> 4], kHex[byte & 15]};
    }
  }
  if (token.size() > kLongest) result += "...";
  return result + "\"";
}

// The fields of one line after the frame number, read one at a time.
class Fields {
 public:
  explicit Fields(std::string_view rest) : rest_(rest) {}

  std::optional<std::string_view> Next() {
    SkipBlanks();
    if (rest_.empty()) return std::nullopt;
    std::size_t end = 0;
    while (end < rest_.size() && !IsBlank(rest_[end])) ++end;
    const std::string_view field = rest_.substr(0, end);
    rest_.remove_prefix(end);
    return field;
  }

  // Everything after the one separator that follows the previous field, blanks included.
  std::string_view Rest() {
    if (!rest_.empty() && IsBlank(rest_.front())) rest_.remove_prefix(1);
    const std::string_view rest = rest_;
    rest_ = {};
    return rest;
  }

  bool AtEnd() {
    SkipBlanks();
    return rest_.empty();
  }

 private:
  void SkipBlanks() {
    while (!rest_.empty() && IsBlank(rest_.front())) rest_.remove_prefix(1);
  }

  std::string_view rest_;
};

// Parses one line; problems are thrown as plain strings and given file and line by the caller.
class LineParser {
 public:
  LineParser(std::string_view line, std::uint32_t previous_frame)
      : fields_(line), previous_frame_(previous_frame) {}

  ScriptedAction Parse() {
    ScriptedAction action;
    action.frame = ParseFrame(*fields_.Next());
    const std::optional<std::string_view> name = fields_.Next();
    if (!name) throw std::string("no event after the frame number");
    const EventSyntax* syntax = Find(*name);
    if (!syntax) throw "unknown event " + Quote(*name);
    syntax_ = syntax;
    action.kind = syntax->kind;
    ParseArguments(action);
    if (!fields_.AtEnd()) Usage("too many arguments");
    return action;
  }

 private:
  static const EventSyntax* Find(std::string_view name) {
    for (const EventSyntax& syntax : kEvents) {
      if (syntax.name == name) return &syntax;
    }
    return nullptr;
  }

  [[noreturn]] void Usage(std::string_view problem) const {
    throw std::string(problem) + "; expected " + std::string(syntax_->usage);
  }

  std::string_view Required(std::string_view what) {
    const std::optional<std::string_view> field = fields_.Next();
    if (!field) Usage("missing " + std::string(what));
    return *field;
  }

  std::uint32_t ParseFrame(std::string_view field) const {
    std::uint32_t frame = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), frame);
    if (error == std::errc::result_out_of_range) throw "the frame number " + Quote(field) + " is too large";
    if (error != std::errc() || end != field.data() + field.size()) {
      throw "the frame number " + Quote(field) + " is not a decimal number";
    }
    if (frame < previous_frame_) {
      throw "frame " + std::to_string(frame) + " comes after frame " + std::to_string(previous_frame_) +
          "; frames must not decrease";
    }
    return frame;
  }

  int ParseCoordinate(std::string_view what) {
    const std::string_view field = Required(what);
    int value = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (error != std::errc() || end != field.data() + field.size()) {
      Usage(std::string(what) + " " + Quote(field) + " is not a whole number");
    }
    return value;
  }

  std::uint8_t ParseVirtualKey() {
    const std::string_view field = Required("the key code");
    const bool hex = field.size() > 2 && field[0] == '0' && (field[1] == 'x' || field[1] == 'X');
    const std::string_view digits = hex ? field.substr(2) : field;
    unsigned value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, hex ? 16 : 10);
    if (error != std::errc() || end != digits.data() + digits.size() || value < 1 || value > 255) {
      Usage("the key code " + Quote(field) + " is not a number from 1 to 255 (or 0x01 to 0xFF)");
    }
    return static_cast<std::uint8_t>(value);
  }

  template <typename T>
  T ParseChoice(std::string_view what, std::string_view first_name, T first, std::string_view second_name, T second) {
    const std::string_view field = Required(what);
    if (field == first_name) return first;
    if (field == second_name) return second;
    Usage(std::string(what) + " " + Quote(field) + " is not " + std::string(first_name) + " or " +
          std::string(second_name));
  }

  std::string ToCp932(std::string_view utf8, std::string_view what) const {
    try {
      return cp932::FromUtf8(utf8);
    } catch (const KestError&) {
      throw std::string(what) + " is not UTF-8, or has a character with no Shift-JIS form";
    }
  }

  void ParseArguments(ScriptedAction& action) {
    switch (syntax_->arguments) {
      case Arguments::kNone:
        break;
      case Arguments::kPoint:
        action.position.x = ParseCoordinate("X");
        action.position.y = ParseCoordinate("Y");
        break;
      case Arguments::kButton:
        action.button = ParseChoice("the button", "left", MouseButton::kLeft, "right", MouseButton::kRight);
        break;
      case Arguments::kWheel:
        action.wheel = ParseChoice("the direction", "up", WheelDirection::kUp, "down", WheelDirection::kDown);
        break;
      case Arguments::kKey:
        action.virtual_key = ParseVirtualKey();
        break;
      case Arguments::kText: {
        const std::string_view text = fields_.Rest();
        if (text.empty()) Usage("missing the text");
        action.text = ToCp932(text, "the text");
        break;
      }
      case Arguments::kAnswer: {
        const std::string_view field = Required("the answer");
        const std::optional<MessageAnswer> answer = AnswerFromName(field);
        if (!answer) Usage("the answer " + Quote(field) + " is not ok, cancel, yes or no");
        action.answer = *answer;
        break;
      }
      case Arguments::kEvent:
        action.text = ToCp932(Required("the handler"), "the handler");
        if (const std::optional<std::string_view> sender = fields_.Next()) {
          action.sender = ToCp932(*sender, "the sender");
        }
        break;
    }
  }

  Fields fields_;
  std::uint32_t previous_frame_;
  const EventSyntax* syntax_ = nullptr;
};

}  // namespace

ScriptedInputError::ScriptedInputError(std::string_view file, int line, std::string_view problem)
    : std::runtime_error(std::string(file) + ":" + std::to_string(line) + ": " + std::string(problem)),
      file_(file),
      line_(line),
      problem_(problem) {}

ScriptedInputError::ScriptedInputError(std::string_view file, std::string_view problem)
    : std::runtime_error(std::string(file) + ": " + std::string(problem)), file_(file), line_(0), problem_(problem) {}

ScriptedInput ParseScriptedInput(std::string_view text, std::string_view file) {
  ScriptedInput input{std::string(file), {}};
  std::uint32_t previous_frame = 0;
  int line_number = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++line_number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::size_t first = 0;
    while (first < line.size() && IsBlank(line[first])) ++first;
    if (first == line.size() || line[first] == '#') continue;
    try {
      ScriptedAction action = LineParser(line, previous_frame).Parse();
      action.line = line_number;
      previous_frame = action.frame;
      input.actions.push_back(std::move(action));
    } catch (const std::string& problem) {
      throw ScriptedInputError(file, line_number, problem);
    }
  }
  return input;
}

ScriptedInput LoadScriptedInput(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ScriptedInputError(path, "cannot be opened");
  std::string text;
  char buffer[65536];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    text.append(buffer, static_cast<std::size_t>(in.gcount()));
    if (text.size() > kMaxScriptBytes) {
      throw ScriptedInputError(path, "is larger than " + std::to_string(kMaxScriptBytes >> 20) + " MiB");
    }
  }
  if (in.bad()) throw ScriptedInputError(path, "cannot be read");
  return ParseScriptedInput(text, path);
}

}  // namespace kest::platform
