#pragma once
// The run's error lines on standard error: each distinct error is written once, however often a
// command fails, so a title that keeps failing in a loop does not flood the terminal.

#include <ostream>
#include <set>
#include <string>

#include "core/cp932.h"
#include "scenario/call_man.h"

namespace kest::shell {

class ErrorLog {
 public:
  explicit ErrorLog(std::ostream& err) : err_(err) {}

  void Script(const ScriptError& error) {
    std::string line = cp932::ToUtf8Message(error.page);
    if (error.line > 0) line += "(" + std::to_string(error.line) + ")";
    Line(line + ": " + cp932::ToUtf8Message(error.message));
  }
  void Line(const std::string& utf8) {
    if (seen_.insert(utf8).second) err_ << "kestplayer: " << utf8 << '\n' << std::flush;
  }

 private:
  std::ostream& err_;
  std::set<std::string> seen_;
};

}  // namespace kest::shell
