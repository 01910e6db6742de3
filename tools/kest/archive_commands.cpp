// kest pack, ls, unpack and verify: archives and save files from the command line.

#include <cstdio>
#include <iostream>

#include "archive_tool.h"
#include "command.h"
#include "vfs/real_files.h"

namespace kest::tool {

namespace {

// "-o FILE" among the arguments, with the one positional argument the command takes.
struct InputAndOutput {
  std::string input, output;
  std::string version = "102";
};

bool ParseInputAndOutput(std::span<const std::string> arguments, InputAndOutput& parsed, bool allow_version) {
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    if (arguments[i] == "-o" && i + 1 < arguments.size()) {
      parsed.output = arguments[++i];
    } else if (allow_version && arguments[i] == "--version" && i + 1 < arguments.size()) {
      parsed.version = arguments[++i];
    } else if (parsed.input.empty() && !arguments[i].starts_with("-")) {
      parsed.input = arguments[i];
    } else {
      return false;
    }
  }
  return !parsed.input.empty() && !parsed.output.empty();
}

int Usage(std::string_view usage) {
  std::cerr << "usage: " << usage << "\n";
  return 2;
}

constexpr std::string_view kPackUsage = "kest pack DIR -o FILE [--version 0|100|101|102]";
constexpr std::string_view kLsUsage = "kest ls FILE";
constexpr std::string_view kUnpackUsage = "kest unpack FILE -o DIR";
constexpr std::string_view kVerifyUsage = "kest verify FILE";

int RunPack(std::span<const std::string> arguments) {
  InputAndOutput parsed;
  if (!ParseInputAndOutput(arguments, parsed, true)) return Usage(kPackUsage);
  if (parsed.version != "0" && parsed.version != "100" && parsed.version != "101" && parsed.version != "102")
    return Usage(kPackUsage);
  const std::size_t count = PackFolder(parsed.input, parsed.output, std::stoi(parsed.version));
  std::cout << "packed " << count << " files into " << parsed.output << " (version " << parsed.version << ")\n";
  return 0;
}

int RunLs(std::span<const std::string> arguments) {
  if (arguments.size() != 1) return Usage(kLsUsage);
  const Listing listing = ListArchive(arguments[0]);
  std::cout << "# archive version " << listing.version << ", " << listing.entries.size() << " entries\n";
  for (const ListedEntry& entry : listing.entries) {
    char line[96];
    std::snprintf(line, sizeof line, "%12lld  %-10s  %08X  %-19s  ", static_cast<long long>(entry.stored_size),
                  entry.stored ? "stored" : "compressed", entry.checksum,
                  real_files::FormatDosTimeStamp(entry.time_stamp).c_str());
    std::cout << line << entry.name << "\n";
  }
  return 0;
}

int PrintReport(const Report& report, std::string_view command, std::string_view done_verb) {
  for (const std::string& problem : report.problems) std::cerr << "kest " << command << ": " << problem << "\n";
  std::cout << done_verb << " " << report.done << " entries";
  if (!report.problems.empty()) std::cout << ", " << report.problems.size() << " bad";
  std::cout << "\n";
  return report.problems.empty() ? 0 : 1;
}

int RunUnpack(std::span<const std::string> arguments) {
  InputAndOutput parsed;
  if (!ParseInputAndOutput(arguments, parsed, false)) return Usage(kUnpackUsage);
  return PrintReport(UnpackArchive(parsed.input, parsed.output), "unpack", "unpacked");
}

int RunVerify(std::span<const std::string> arguments) {
  if (arguments.size() != 1) return Usage(kVerifyUsage);
  return PrintReport(VerifyArchive(arguments[0]), "verify", "verified");
}

}  // namespace

extern const Command kPackCommand{"pack", "packs the files below DIR into an archive", kPackUsage, RunPack};
extern const Command kLsCommand{"ls", "lists an archive: size, stored or compressed, CRC, time, name", kLsUsage, RunLs};
extern const Command kUnpackCommand{"unpack", "writes every entry of an archive below DIR", kUnpackUsage, RunUnpack};
extern const Command kVerifyCommand{"verify", "inflates every entry and checks its CRC", kVerifyUsage, RunVerify};

}  // namespace kest::tool
