#pragma once
// Scripted input for headless runs: a text file, one action per line,
//
//   FRAME EVENT ARGS
//
// FRAME is the decimal number of the frame before which the action is delivered (the first frame
// is 0); frames never decrease from one line to the next. Fields are separated by spaces or
// tabs. Blank lines and lines whose first non-blank character is "#" are ignored; a CR before
// the line break is ignored too. The events:
//
//   move X Y              the pointer moves to scene position X, Y (may be negative)
//   down left|right       a button goes down
//   up left|right         a button goes up
//   click X Y             move, left button down and up, in one frame
//   wheel up|down         one notch of the wheel
//   key VK                key down and up; VK is a virtual-key code 1..255, decimal or 0x hex
//   keydown VK / keyup VK one edge of a key
//   text UTF8             text typed; the rest of the line after one separator, in UTF-8
//   deactivate / activate the window loses / regains the foreground
//   answer ok|cancel|yes|no  the answer of the next message box shown from this frame on
//   event HANDLER [SENDER]   a script event, as an object would raise it (HANDLER is a page name
//                            with an optional ":" and label); handed to the runner
//   quit                  a close request, as when the user closes the window
//
// A line that breaks these rules is an error naming the file, the line and what is wrong.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace kest::platform {

enum class ScriptedKind {
  kMove, kDown, kUp, kClick, kWheel, kKey, kKeyDown, kKeyUp, kText, kDeactivate, kActivate,
  kAnswer, kEvent, kQuit
};

struct ScriptedAction {
  std::uint32_t frame = 0;
  int line = 0;  // 1-based line in the file, for later complaints about this action
  ScriptedKind kind = ScriptedKind::kQuit;
  Point position;                                // move, click
  MouseButton button = MouseButton::kLeft;       // down, up
  WheelDirection wheel = WheelDirection::kUp;    // wheel
  std::uint8_t virtual_key = 0;                  // key, keydown, keyup
  MessageAnswer answer = MessageAnswer::kOk;     // answer
  std::string text;                              // text; event: the handler (both CP932)
  std::string sender;                            // event: the sender's name, CP932, may be empty
};

struct ScriptedInput {
  std::string file;  // as given, for messages
  std::vector<ScriptedAction> actions;  // in file order, frames non-decreasing
};

// A script that breaks the format, or an answer that does not fit the box it meets. Not a
// KestError: the interpreter must never swallow it; the runner reports it and stops. The text is
// UTF-8: "FILE:LINE: what is wrong".
class ScriptedInputError : public std::runtime_error {
 public:
  ScriptedInputError(std::string_view file, int line, std::string_view problem);
  ScriptedInputError(std::string_view file, std::string_view problem);  // the file as a whole

  const std::string& File() const { return file_; }
  int Line() const { return line_; }  // 0 for the file as a whole
  const std::string& Problem() const { return problem_; }

 private:
  std::string file_;
  int line_;
  std::string problem_;
};

// Largest script file read, so that a wrong path to a huge file fails at once.
inline constexpr std::size_t kMaxScriptBytes = 64u << 20;

ScriptedInput ParseScriptedInput(std::string_view text, std::string_view file);

// Reads and parses the file; a file that cannot be read is an error for the file as a whole.
ScriptedInput LoadScriptedInput(const std::string& path);

}  // namespace kest::platform
