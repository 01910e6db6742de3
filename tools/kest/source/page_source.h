#pragma once
// Pages in title source (".kss" files, UTF-8): one command per line, block structure by
// indentation (two spaces per level), `Name first, key: value, ...`. See docs/title-source.md.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "scenario/page.h"
#include "source/source_text.h"

namespace kest::source {

// A page compiled from source, with the page references still to resolve.
struct CompiledPage {
  std::unique_ptr<TPage> page;
  std::string file;  // the source file, for errors
  struct PendingTarget {
    std::size_t command;      // index in the page
    std::size_t field;        // the Target field to fill
    std::string page_name;    // CP932
    std::string label;        // CP932
    SourceLine line;          // where it was written, for errors
    std::size_t offset = 0;
  };
  std::vector<PendingTarget> pending;
  bool has_errors = false;  // lines of it failed and were left out
};

// Compiles one page's source. `page_name` is the page's name in the title ("start.ksb"). Every
// error goes into `errors`, and the faulty lines are left out of the page.
CompiledPage CompilePageSource(std::string_view utf8, const std::string& file, const std::string& page_name,
                               SourceErrors& errors);
// The same, raising the first error.
CompiledPage CompilePageSource(std::string_view utf8, const std::string& file, const std::string& page_name);

// Resolves the page:label references of every page, now that all labels are known. A label
// that no page holds is a SourceError at the reference, kept in `errors` (or raised, without).
void ResolveTargets(std::map<std::string, CompiledPage>& pages, SourceErrors& errors);
void ResolveTargets(std::map<std::string, CompiledPage>& pages);

// The source of a page (UTF-8). `find_page` gives the other pages of the title (or nullptr), so
// that jump targets can be written as labels.
std::string DumpPageSource(const TPage& page, const std::function<const TPage*(std::string_view)>& find_page);

}  // namespace kest::source
