#pragma once
// A property's value as the object model reads and writes it: a 32-bit integer, a flag, a real,
// or text (strings and event handlers). The property's type in the table says which one a
// property takes; GetProp and SetProp convert script values to and from it.

#include <cstdint>
#include <string>
#include <variant>

#include "params/property_types.h"

namespace kest {

using PropValue = std::variant<std::int32_t, bool, long double, std::string>;

// The zero value of a property type: 0, false, 0.0 or "".
PropValue ZeroValue(PropertyValue type);

// Conversions that never fail: a value of another alternative is converted as scripts convert.
std::int32_t AsInt(const PropValue& value);
bool AsBool(const PropValue& value);
long double AsFloat(const PropValue& value);
std::string AsStr(const PropValue& value);

// `value` converted to the alternative of `type`.
PropValue Coerce(const PropValue& value, PropertyValue type);

}  // namespace kest
