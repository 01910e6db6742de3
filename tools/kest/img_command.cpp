// kest img: lists a layered image (info), turns its frames into PNG pictures (to-png), and
// writes PNG pictures as a layered image (from-png).

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <span>
#include <string>

#include "arguments.h"
#include "command.h"
#include "core/errors.h"
#include "image_tool.h"
#include "output_files.h"

namespace kest::tool {
namespace {

constexpr std::string_view kUsage =
    "kest img info FILE [--json] | kest img to-png FILE -o DIR [--id CODE] | "
    "kest img from-png A.png [B.png ...] -o OUT.zel [--kind 0|1|2] [--quality Q] [--id CODE]";

int Usage(const std::string& why) {
  std::cerr << "kest img: " << why << "\nusage: " << kUsage << "\n";
  return 2;
}

Bytes ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw KestError(path + ": the file cannot be opened");
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

struct Options {
  std::vector<std::string> files;
  std::string output;
  bool json = false;
  std::int32_t id = 0;
  std::int32_t kind = 0;
  std::int32_t quality = 70;
};

// Parses the options after the action; the message of the first bad one, or empty.
std::string Parse(std::span<const std::string> arguments, Options& options, bool allow_json, bool allow_write) {
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& a = arguments[i];
    auto value = [&]() -> const std::string* { return i + 1 < arguments.size() ? &arguments[++i] : nullptr; };
    if (a == "--json" && allow_json) {
      options.json = true;
    } else if (a == "-o" && !allow_json) {
      const std::string* v = value();
      if (!v) return "-o needs a path";
      options.output = *v;
    } else if (a == "--id" && !allow_json) {
      const std::string* v = value();
      const auto n = v ? WholeNumber(*v) : std::nullopt;
      if (!n) return "--id needs a 32-bit number";
      options.id = *n;
    } else if ((a == "--kind" || a == "--quality") && allow_write) {
      const std::string* v = value();
      const auto n = v ? WholeNumber(*v) : std::nullopt;
      if (a == "--kind") {
        if (!n || *n < 0 || *n > 2) return "--kind is 0, 1 or 2";
        options.kind = *n;
      } else {
        if (!n || *n < 1 || *n > 100) return "--quality is 1 to 100";
        options.quality = *n;
      }
    } else if (!a.empty() && a[0] == '-') {
      return "unknown option " + a;
    } else {
      options.files.push_back(a);
    }
  }
  return {};
}

int RunImg(std::span<const std::string> arguments) {
  if (arguments.empty()) return Usage("no action");
  const std::string& action = arguments[0];
  Options options;
  if (action == "info") {
    if (const std::string why = Parse(arguments.subspan(1), options, true, false); !why.empty()) return Usage(why);
    if (options.files.size() != 1) return Usage("info takes one file");
    std::cout << DescribeLayeredImage(ReadWhole(options.files[0]), options.files[0], options.json);
    return 0;
  }
  if (action == "to-png") {
    if (const std::string why = Parse(arguments.subspan(1), options, false, false); !why.empty()) return Usage(why);
    if (options.files.size() != 1 || options.output.empty()) return Usage("to-png takes one file and -o DIR");
    const std::vector<RgbaPicture> frames = FramesAsRgba(ReadWhole(options.files[0]), options.files[0], options.id);
    std::filesystem::create_directories(options.output);
    for (std::size_t i = 0; i < frames.size(); ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "frame%03zu.png", i + 1);
      WriteNewFile((std::filesystem::path(options.output) / name).string(), EncodeRgbaPng(frames[i]));
    }
    std::cout << frames.size() << " frames written to " << options.output << "\n";
    return 0;
  }
  if (action == "from-png") {
    if (const std::string why = Parse(arguments.subspan(1), options, false, true); !why.empty()) return Usage(why);
    if (options.files.empty() || options.output.empty()) return Usage("from-png takes PNG files and -o OUT.zel");
    std::vector<RgbaPicture> pictures;
    for (const std::string& file : options.files) pictures.push_back(DecodeRgbaPng(ReadWhole(file), file));
    const Bytes zel = LayeredImageFromRgba(
        pictures, {static_cast<ZelkCompression>(options.kind), options.quality, options.id});
    WriteNewFile(options.output, zel);
    return 0;
  }
  return Usage("unknown action " + action);
}

}  // namespace

extern const Command kImgCommand{
    "img",
    "list a layered image (info), write its frames as PNG pictures (to-png), or write PNG "
    "pictures as a layered image (from-png)",
    kUsage,
    RunImg,
};

}  // namespace kest::tool
