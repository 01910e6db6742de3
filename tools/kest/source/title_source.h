#pragma once
// Whole titles to and from source. A source folder holds "project.kest" (the project file),
// one ".kss" file per page, and any other files, which are copied as they are.

#include <string>
#include <vector>

namespace kest::source {

struct CompileOptions {
  std::string source_folder;
  std::string output_folder;  // kest.kpb, the pages and the other files go here...
  std::string archive;        // ...or, when set, into this one archive instead
};

struct CompileReport {
  std::size_t pages = 0;
  std::size_t copied = 0;
};

// Raises SourceErrorList (each error as file:line:column: message) when the source has errors,
// after reading all of it, and KestError for files; nothing is written then.
CompileReport CompileTitle(const CompileOptions& options);

struct DumpReport {
  std::size_t pages = 0;
  std::size_t copied = 0;
  std::vector<std::string> warnings;  // files kept as they were because they could not be read
};

// Writes a title (a folder, or an archive holding kest.kpb and the pages) back as source.
DumpReport DumpTitle(const std::string& title, const std::string& source_folder);

// The source of one page file or project file (UTF-8).
std::string DumpFile(const std::string& path);

// The page name a source file stands for: "sub/start.kss" → "sub\start.ksb" (CP932);
// "X.KSB.kss" → "X.KSB". And back: the source file for a page name.
std::string PageNameOf(const std::string& relative_source_path);
std::string SourcePathOf(const std::string& page_name);

}  // namespace kest::source
