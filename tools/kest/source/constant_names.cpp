#include "source/constant_names.h"

#include <algorithm>
#include <charconv>
#include <unordered_map>

#include "core/cp932.h"
#include "objects/kinds.h"
#include "objects/property_enums.h"
#include "params/property_types.h"
#include "params/virtual_keys.h"
#include "render/wipes/wipe.h"

namespace kest::source {

namespace {

// Every name of every table, built once.
const std::unordered_map<std::string_view, std::int32_t>& AllNames() {
  static const auto names = [] {
    std::unordered_map<std::string_view, std::int32_t> all;
    for (std::size_t id = 0; id < kPropertyCount; ++id) all.emplace(kProperties[id].name, static_cast<std::int32_t>(id));
    for (std::uint8_t kind = 0; kind < kKindCount; ++kind) all.emplace(KindName(kind), kind);
    for (const PropertyEnum& table : PropertyEnums())
      for (const NamedCode& entry : table.codes) all.emplace(entry.name, entry.code);
    for (const NamedCode& entry : VirtualKeyNames()) all.emplace(entry.name, entry.code);
    for (const WipeKindInfo& kind : WipeKinds()) all.emplace(kind.name, kind.code);
    for (const FlipOptionInfo& option : FlipOptions()) all.emplace(option.name, option.code);
    return all;
  }();
  return names;
}

constexpr std::size_t kCompoTypeProperty = 140;  // PR_COMPOTYPE holds a kind

bool IsWordCharacter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

}  // namespace

std::optional<std::int32_t> ConstantValue(std::string_view name) {
  const auto& names = AllNames();
  const auto found = names.find(name);
  if (found == names.end()) return std::nullopt;
  return found->second;
}

std::string ReplaceConstantNames(std::string_view text) {
  std::string out;
  // A name may not continue a longer one: after a double-byte character or "@" (both part of
  // variable names) a word is left as it is.
  bool after_name_part = false;
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t length = cp932::CharLength(text, i);
    if (length == 1 && text[i] == '"') {
      // A string literal is copied whole: \" and \\ do not end it.
      std::size_t end = i + 1;
      while (end < text.size() && text[end] != '"') {
        const std::size_t step = cp932::CharLength(text, end);
        end += step == 1 && text[end] == '\\' && end + 1 < text.size() ? 2 : step;
      }
      end = std::min(end + 1, text.size());
      out.append(text.substr(i, end - i));
      i = end;
      after_name_part = false;
      continue;
    }
    if (length != 1 || !IsWordCharacter(text[i])) {
      after_name_part = length == 2 || text[i] == '@';
      out.append(text.substr(i, length));
      i += length;
      continue;
    }
    std::size_t end = i;
    while (end < text.size() && IsWordCharacter(text[end])) ++end;
    const bool runs_on = end < text.size() && (cp932::CharLength(text, end) == 2 || text[end] == '@');
    const std::string_view word = text.substr(i, end - i);
    const std::optional<std::int32_t> value = after_name_part || runs_on ? std::nullopt : ConstantValue(word);
    out += value ? std::to_string(*value) : std::string(word);
    after_name_part = false;
    i = end;
  }
  return out;
}

ConstantTable TableOfRole(FieldRole role) {
  switch (role) {
    case FieldRole::PropertyId: return ConstantTable::kProperty;
    case FieldRole::MotionType: return ConstantTable::kMotionType;
    case FieldRole::WipeKind: return ConstantTable::kWipeKind;
    case FieldRole::KeepMode: return ConstantTable::kKeepMode;
    default: return ConstantTable::kNone;
  }
}

std::string_view ConstantName(ConstantTable table, std::int32_t code, std::optional<std::size_t> property) {
  switch (table) {
    case ConstantTable::kNone: return {};
    case ConstantTable::kProperty:
      return code >= 0 && static_cast<std::size_t>(code) < kPropertyCount ? kProperties[static_cast<std::size_t>(code)].name
                                                                         : std::string_view();
    case ConstantTable::kKind: return code >= 0 && code < kKindCount ? KindName(static_cast<std::uint8_t>(code)) : "";
    case ConstantTable::kMotionType: return NameOfCode(EnumByPrefix("MT_")->codes, code);
    case ConstantTable::kVirtualKey: return NameOfCode(VirtualKeyNames(), code);
    case ConstantTable::kWipeKind: {
      const WipeKindInfo* kind = FindWipeKind(code);
      return kind ? kind->name : std::string_view();
    }
    case ConstantTable::kKeepMode:
      for (const FlipOptionInfo& option : FlipOptions())
        if (option.code == code) return option.name;
      return {};
    case ConstantTable::kPropertyValue: {
      if (!property) return {};
      if (*property == kCompoTypeProperty) return ConstantName(ConstantTable::kKind, code);
      const PropertyEnum* values = EnumOfProperty(*property);
      // Bit flags are named only one at a time: a sum of names would not compile to one number.
      return values ? NameOfCode(values->codes, code) : std::string_view();
    }
  }
  return {};
}

std::optional<std::int32_t> PlainInteger(std::string_view text) {
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty() || text[0] == '+') return std::nullopt;
  if (text.size() > 1 && (text[0] == '0' || (text[0] == '-' && (text.size() < 2 || text[1] == '0')))) return std::nullopt;
  return value;
}

std::string NameOrText(const std::string& text, ConstantTable table, std::optional<std::size_t> property) {
  const std::optional<std::int32_t> number = PlainInteger(text);
  if (!number) return text;
  const std::string_view name = ConstantName(table, *number, property);
  return name.empty() ? text : std::string(name);
}

}  // namespace kest::source
