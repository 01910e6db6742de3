#pragma once
// What a run writes for its caller: the trace file and the variable dump, both UTF-8.

#include <fstream>
#include <iosfwd>
#include <string>

#include "scenario/trace.h"

namespace kest {
class TParamCollection;
}

namespace kest::shell {

// Trace lines into a file, or standard output for "-". Page names become UTF-8.
class TraceFile final : public TTraceLog {
 public:
  // Raises std::runtime_error (UTF-8) when the file cannot be written.
  explicit TraceFile(const std::string& path);
  void Write(std::string_view cp932_line) override;
  void Flush();

 private:
  std::ofstream file_;
  std::ostream* out_;
};

// Every variable but the system ones, sorted by name, one per line:
// NAME<TAB>SCOPE<TAB>TYPE<TAB>VALUE, with SCOPE global, local, auto or status, TYPE int, float,
// bool or str, VALUE the value's own text (CR and LF as \r and \n), an array as its elements'
// texts joined by "," inside "[" and "]" (a value of one element in one dimension is written as
// a scalar).
void DumpVariables(const TParamCollection& params, std::ostream& out);

}  // namespace kest::shell
