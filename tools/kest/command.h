#pragma once
// One sub-command of the title tool: its name, a one-line summary for --help, its usage line,
// and the function that runs it with the arguments after its name. Exit codes: 0 done,
// 1 the work failed (the message says what and where), 2 bad arguments.

#include <span>
#include <string>
#include <string_view>

namespace kest::tool {

struct Command {
  std::string_view name;
  std::string_view summary;
  std::string_view usage;
  int (*run)(std::span<const std::string> arguments);
};

// The commands, each defined in the file of its subsystem.
extern const Command kPackCommand;
extern const Command kLsCommand;
extern const Command kUnpackCommand;
extern const Command kVerifyCommand;
extern const Command kCompileCommand;
extern const Command kDumpCommand;
extern const Command kExprCommand;
extern const Command kPropsCommand;
extern const Command kImgCommand;
extern const Command kWipeCommand;
extern const Command kMotionCommand;
extern const Command kGlyphsCommand;

}  // namespace kest::tool
