#pragma once
// The script-visible constants that title source accepts wherever an expression stands:
// the property ids ("PR_LEFT" = 3), the kinds ("LT_BOX"), the codes of the enumerated
// properties ("HA_CENTER", "MT_DEC", "FS_BOLD", ...), the virtual keys ("VK_RETURN"), the
// transitions ("WP_FADE") and the flip's keep modes ("FL_STAY"). A name
// is replaced by its number before the expression is compiled, so `SetProp "a", PR_LEFT, 10`
// stores exactly what `SetProp "a", 3, 10` stores. The decompiler writes a name back where the
// field says which table its number comes from.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "scenario/command_types.h"

namespace kest::source {

// The number a constant name stands for.
std::optional<std::int32_t> ConstantValue(std::string_view name);

// Expression text (CP932) with every constant name outside string literals replaced by its
// number. Names are whole words of ASCII letters, digits and "_", matched exactly.
std::string ReplaceConstantNames(std::string_view text);

// The tables a number may be named from.
enum class ConstantTable : std::uint8_t {
  kNone,
  kProperty,
  kKind,
  kMotionType,
  kVirtualKey,
  kWipeKind,
  kKeepMode,
  kPropertyValue,
};

// The table of a command field's numbers, by its role.
ConstantTable TableOfRole(FieldRole role);

// The name for `code` in `table`, or "" when the table has none. kPropertyValue needs the
// property the value is for (`property`); a property without a code table names nothing.
std::string_view ConstantName(ConstantTable table, std::int32_t code, std::optional<std::size_t> property = {});

// The name for an expression's decompiled text when it is a plain number that the table names;
// otherwise the text itself.
std::string NameOrText(const std::string& text, ConstantTable table, std::optional<std::size_t> property = {});

// The number in decompiled text when it is one plain decimal integer.
std::optional<std::int32_t> PlainInteger(std::string_view text);

}  // namespace kest::source
