// kest compile and kest dump: titles from source and back.

#include <algorithm>
#include <iostream>

#include "command.h"
#include "core/errors.h"
#include "source/source_text.h"
#include "source/title_source.h"

namespace kest::tool {

namespace {

constexpr std::string_view kCompileUsage = "kest compile SRC_DIR (-o OUT_DIR | --pack FILE)";
constexpr std::string_view kDumpUsage = "kest dump TITLE -o SRC_DIR | kest dump FILE.ksb | kest dump kest.kpb";

constexpr std::size_t kMaxErrorsShown = 50;

int Usage(std::string_view usage) {
  std::cerr << "usage: " << usage << "\n";
  return 2;
}

int RunCompile(std::span<const std::string> arguments) {
  source::CompileOptions options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    if (arguments[i] == "-o" && i + 1 < arguments.size()) options.output_folder = arguments[++i];
    else if (arguments[i] == "--pack" && i + 1 < arguments.size()) options.archive = arguments[++i];
    else if (options.source_folder.empty() && !arguments[i].starts_with("-")) options.source_folder = arguments[i];
    else return Usage(kCompileUsage);
  }
  if (options.source_folder.empty() || options.output_folder.empty() == options.archive.empty()) return Usage(kCompileUsage);
  try {
    const source::CompileReport report = source::CompileTitle(options);
    std::cout << "compiled " << report.pages << " pages, copied " << report.copied << " files\n";
    return 0;
  } catch (const source::SourceErrorList& list) {
    const std::vector<source::SourceError>& errors = list.All();
    const std::size_t shown = std::min(errors.size(), kMaxErrorsShown);
    for (std::size_t i = 0; i < shown; ++i) std::cerr << "kest compile: " << ErrorText(errors[i]) << "\n";
    if (errors.size() > shown) std::cerr << "kest compile: and " << errors.size() - shown << " more\n";
    std::cerr << "kest compile: " << options.source_folder << ": " << errors.size()
              << (errors.size() == 1 ? " error" : " errors") << ", nothing written\n";
    return 1;
  }
}

int RunDump(std::span<const std::string> arguments) {
  if (arguments.size() == 1) {
    std::cout << source::DumpFile(arguments[0]);
    return 0;
  }
  if (arguments.size() != 3 || arguments[1] != "-o") return Usage(kDumpUsage);
  const source::DumpReport report = source::DumpTitle(arguments[0], arguments[2]);
  for (const std::string& warning : report.warnings) std::cerr << "kest dump: " << warning << "\n";
  std::cout << "dumped " << report.pages << " pages, copied " << report.copied << " files\n";
  return 0;
}

}  // namespace

extern const Command kCompileCommand{"compile", "compiles title source into kest.kpb and pages (or one archive)",
                                     kCompileUsage, RunCompile};
extern const Command kDumpCommand{"dump", "writes a title, or one page or project file, back as source", kDumpUsage,
                                  RunDump};

}  // namespace kest::tool
