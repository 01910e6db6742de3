#pragma once
// Reading and writing a property by id: the single entry points of scripts and of the creation
// commands. Ids above 161 raise "GetPropエラー" / "SetPropエラー", and so does writing
// PR_APPEARX or PR_APPEARY; a property the object's kind does not implement reads as its type's
// zero value and ignores writes; read-only properties ignore writes.

#include <cstdint>

#include "objects/prop_value.h"

namespace kest {

class TKestObject;

// The value, in the alternative of the property's type.
PropValue GetProp(const TKestObject& object, std::int32_t id);
// `value` is converted to the property's type first.
void SetProp(TKestObject& object, std::int32_t id, const PropValue& value);

}  // namespace kest
