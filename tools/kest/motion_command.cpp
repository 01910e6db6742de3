// kest motion info FILE [--json] [--at TICK ...]: a motion file's header, its tracks with every
// field, and what each track hands its object at the given ticks.

#include <charconv>
#include <iostream>
#include <span>
#include <string>
#include <vector>

#include "command.h"
#include "motion_tool.h"
#include "vfs/real_files.h"

namespace kest::tool {
namespace {

constexpr std::string_view kUsage = "kest motion info FILE [--json] [--at TICK ...]";

int Usage(const std::string& why) {
  std::cerr << "kest motion: " << why << "\nusage: " << kUsage << "\n";
  return 2;
}

int RunMotion(std::span<const std::string> arguments) {
  if (arguments.empty()) return Usage("no action");
  if (arguments[0] != "info") return Usage("unknown action " + arguments[0]);
  std::vector<std::string> files;
  std::vector<std::int64_t> at;
  bool json = false;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const std::string& a = arguments[i];
    if (a == "--json") {
      json = true;
    } else if (a == "--at") {
      // Every tick after --at up to the next option or the end.
      bool any = false;
      while (i + 1 < arguments.size() && !(arguments[i + 1].size() > 1 && arguments[i + 1][0] == '-' &&
                                           !(arguments[i + 1][1] >= '0' && arguments[i + 1][1] <= '9'))) {
        const std::string& text = arguments[++i];
        std::int64_t tick = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), tick);
        if (error != std::errc() || end != text.data() + text.size())
          return Usage("--at takes ticks (whole numbers), not " + text);
        at.push_back(tick);
        any = true;
      }
      if (!any) return Usage("--at needs at least one tick");
    } else if (!a.empty() && a[0] == '-') {
      return Usage("unknown option " + a);
    } else {
      files.push_back(a);
    }
  }
  if (files.size() != 1) return Usage("info takes one file");
  std::cout << DescribeMotion(real_files::Load(files[0]), files[0], json, at);
  return 0;
}

}  // namespace

extern const Command kMotionCommand{
    "motion",
    "list a motion file's header and tracks with every field, and what each track shows at given ticks",
    kUsage,
    RunMotion,
};

}  // namespace kest::tool
