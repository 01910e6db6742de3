// kest: the title tool. Each sub-command lives in its own file and is listed in kCommands.

#include <iostream>
#include <string>
#include <vector>

#include "command.h"
#include "core/errors.h"

namespace kest::tool {

namespace {

// Sub-commands join this table as the subsystems they serve are built.
const Command* const kCommands[] = {&kPackCommand,    &kLsCommand,   &kUnpackCommand, &kVerifyCommand,
                                    &kCompileCommand, &kDumpCommand, &kExprCommand,   &kPropsCommand,
                                    &kImgCommand,     &kWipeCommand, &kMotionCommand, &kGlyphsCommand};

void PrintHelp(std::ostream& out) {
  out << "usage: kest COMMAND [ARGUMENTS]\n"
         "The title tool: packs, inspects, compiles and decompiles titles.\n\n";
  for (const Command* command : kCommands) out << "  " << command->usage << "\n      " << command->summary << "\n";
  out << "\n  kest --help      this text\n  kest --version   the tool's version\n";
}

}  // namespace
}  // namespace kest::tool

int main(int argc, char** argv) {
  using namespace kest::tool;
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  if (arguments.empty() || arguments[0] == "--help" || arguments[0] == "-h" || arguments[0] == "help") {
    PrintHelp(arguments.empty() ? std::cerr : std::cout);
    return arguments.empty() ? 2 : 0;
  }
  if (arguments[0] == "--version") {
    std::cout << "kest " KEST_VERSION "\n";
    return 0;
  }
  for (const Command* command : kCommands) {
    if (command->name != arguments[0]) continue;
    // Whatever a sub-command's work raises for bad data (the player's errors, a page too old,
    // the file system's, memory) ends it with one line that says what is wrong; never a signal.
    try {
      return command->run(std::span(arguments).subspan(1));
    } catch (const std::exception& error) {
      std::cerr << "kest " << command->name << ": " << kest::ErrorText(error) << "\n";
      return 1;
    }
  }
  std::cerr << "kest: unknown command '" << arguments[0] << "' (see kest --help)\n";
  return 2;
}
