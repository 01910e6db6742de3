// kest wipe: one step of a screen transition between two pictures, written as a PNG, or the
// kind table with --list. KIND is a code or a name ("WP_FADE"); --at POS/DURATION gives the step.

#include <iostream>
#include <optional>
#include <span>
#include <string>

#include "arguments.h"
#include "command.h"
#include "core/errors.h"
#include "output_files.h"
#include "render/dibx.h"
#include "render/row_engine.h"
#include "render/wipes/wipe.h"
#include "vfs/real_files.h"

namespace kest::tool {
namespace {

std::optional<std::int32_t> KindOf(const std::string& text) {
  if (const auto code = WholeNumber(text)) return code;
  for (const WipeKindInfo& kind : WipeKinds())
    if (kind.name == text) return kind.code;
  return std::nullopt;
}

void LoadPicture(const std::string& path, TDIBX& picture) {
  const Bytes bytes = real_files::Load(path);
  if (!picture.LoadFromStream(bytes, 0, path)) throw KestError(path + ": not a picture this tool reads (BMP or PNG)");
}

void ListKinds() {
  for (const WipeKindInfo& kind : WipeKinds())
    std::cout << kind.code << "\t" << kind.name << "\t" << kind.label << "\t"
              << (kind.class_name.empty() ? "-" : kind.class_name) << "\t" << kind.p0 << "\t" << kind.p1 << "\n";
  for (const FlipOptionInfo& option : FlipOptions())
    std::cout << option.code << "\t" << option.name << "\t" << option.label << "\n";
}

int Usage(const std::string& why) {
  std::cerr << "kest wipe: " << why << "\n";
  return 2;
}

int RunWipe(std::span<const std::string> arguments) {
  if (arguments.size() == 1 && arguments[0] == "--list") {
    ListKinds();
    return 0;
  }
  std::vector<std::string> positional;
  std::optional<std::int32_t> position, duration, p0, p1;
  bool reverse = false;
  std::string mask, output;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& a = arguments[i];
    const auto value = [&]() -> std::optional<std::string> {
      if (i + 1 >= arguments.size()) return std::nullopt;
      return arguments[++i];
    };
    if (a == "--reverse") {
      reverse = true;
    } else if (a == "--at") {
      const auto text = value();
      const std::size_t slash = text ? text->find('/') : std::string::npos;
      if (slash == std::string::npos) return Usage("--at takes POS/DURATION");
      position = WholeNumber(std::string_view(*text).substr(0, slash));
      duration = WholeNumber(std::string_view(*text).substr(slash + 1));
      if (!position || !duration) return Usage("--at takes two whole numbers, POS/DURATION");
    } else if (a == "--p0" || a == "--p1") {
      const auto text = value();
      const auto number = text ? WholeNumber(*text) : std::nullopt;
      if (!number) return Usage(a + " takes a whole number");
      (a == "--p0" ? p0 : p1) = number;
    } else if (a == "--mask") {
      const auto text = value();
      if (!text) return Usage("--mask takes a file");
      mask = *text;
    } else if (a == "-o") {
      const auto text = value();
      if (!text) return Usage("-o takes a file");
      output = *text;
    } else if (!a.empty() && a[0] == '-') {
      return Usage("unknown option '" + a + "'");
    } else {
      positional.push_back(a);
    }
  }
  if (positional.size() != 3 || !position || output.empty()) return Usage("usage: " + std::string(kWipeCommand.usage));
  const auto kind = KindOf(positional[0]);
  if (!kind) return Usage("unknown kind '" + positional[0] + "' (kest wipe --list shows them)");
  try {
    TDIBX from, to;
    LoadPicture(positional[1], from);
    LoadPicture(positional[2], to);
    TDIBX destination(from.Width(), from.Height(), 32);
    destination.Draw(0, 0, from, from.Bounds());
    auto wipe = CreateWipe(*kind, destination, from, to);
    if (!wipe) {
      std::cerr << "kest wipe: kind " << *kind << " has no transition (the flip is immediate)\n";
      return 1;
    }
    if (!mask.empty()) {
      SetMaskPictureLoader([](const std::string& name, TCustomDIBX& picture) {
        const Bytes bytes = real_files::Load(name);
        return picture.LoadFromStream(bytes, 0, name);
      });
      SetWipeNotice([](const std::string& text) { std::cerr << "kest wipe: " << text << "\n"; });
    }
    wipe->SetReverse(reverse);
    if (p0) wipe->SetParam(0, *p0);
    if (p1) wipe->SetParam(1, *p1);
    wipe->SetMaskName(mask);
    wipe->SetDuration(*duration);
    wipe->Prepare();
    wipe->SetPosition(*position);
    if (wipe->Step()) destination.Draw(0, 0, to, to.Bounds());  // done: the new picture
    WritePicturePng(output, destination);
  } catch (const KestError& error) {
    std::cerr << "kest wipe: " << error.what() << "\n";
    return 1;
  }
  return 0;
}

}  // namespace

const Command kWipeCommand = {
    "wipe", "draw one step of a screen transition between two pictures, or list the kinds",
    "kest wipe KIND FROM.png TO.png --at POS/DURATION [--reverse] [--p0 N] [--p1 N] [--mask FILE] -o OUT.png | "
    "kest wipe --list",
    RunWipe};

}  // namespace kest::tool
