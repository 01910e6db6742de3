#pragma once
// The project file in title source ("project.kest", UTF-8): one setting per line, `key value`.
// See docs/title-source.md.

#include <string>
#include <string_view>

#include "scenario/project_file.h"
#include "source/source_text.h"

namespace kest::source {

// Every error goes into `errors`, and the faulty lines are left out; the second form raises the
// first error.
ProjectFile CompileProjectSource(std::string_view utf8, const std::string& file, SourceErrors& errors);
ProjectFile CompileProjectSource(std::string_view utf8, const std::string& file);
std::string DumpProjectSource(const ProjectFile& project);

}  // namespace kest::source
