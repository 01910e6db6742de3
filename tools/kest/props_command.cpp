// kest props: the display objects' property table, one property per line: id, name, value type
// (int, bool, float, string, event) and access (rw, or r for the properties that ignore or
// refuse writes). --kinds adds the kinds that implement each property.

#include <iostream>
#include <span>
#include <string>

#include "command.h"
#include "objects/kinds.h"
#include "objects/property_table.h"

namespace kest::tool {
namespace {

std::string KindsText(const PropertyRule& rule) {
  switch (rule.scope) {
    case KindScope::All: return "all";
    case KindScope::Visual: return "visual";
    case KindScope::VisualSound: return "visual,SOUND";
    case KindScope::Listed: break;
  }
  std::string text;
  for (std::uint8_t kind = 0; kind < kKindCount; ++kind) {
    if ((rule.kinds & KindBit(kind)) == 0) continue;
    if (!text.empty()) text += ",";
    text += KindName(kind).substr(3);  // without "LT_"
  }
  return text.empty() ? "none" : text;
}

int RunProps(std::span<const std::string> arguments) {
  bool with_kinds = false;
  for (const std::string& argument : arguments) {
    if (argument == "--kinds") {
      with_kinds = true;
    } else {
      std::cerr << "kest props: unknown argument '" << argument << "'\n";
      return 2;
    }
  }
  for (std::size_t id = 0; id < kPropertyCount; ++id) {
    const PropertyRule& rule = RuleOf(static_cast<std::uint8_t>(id));
    std::cout << id << "\t" << kProperties[id].name << "\t" << PropertyTypeName(kProperties[id].value) << "\t"
              << PropertyAccessName(rule.access);
    if (with_kinds) std::cout << "\t" << KindsText(rule);
    std::cout << "\n";
  }
  return 0;
}

}  // namespace

const Command kPropsCommand = {"props", "list the display objects' property table (id, name, type, access)",
                               "kest props [--kinds]", RunProps};

}  // namespace kest::tool
