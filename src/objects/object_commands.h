#pragma once
// The object commands as the interpreter calls them: the creation algorithm shared by BoxNew
// and the other creation commands, and GetProp, SetProp and ObjDel. The interpreter evaluates
// the command's expressions and hands over what they gave; these functions do the rest.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "objects/prop_value.h"

namespace kest {

class TCustomParam;
class TKestBaseList;
class TKestObject;
class TKestParser;

// What a creation command carries for one property id.
struct CarriedProperty {
  enum class State : std::uint8_t {
    Absent,    // the command has no expression for it: the property is left alone
    NoResult,  // the expression produced nothing: the property gets its creation default
    Value,     // the expression's value
  };
  State state = State::Absent;
  PropValue value;
  // The compiled expression, for the kinds that keep a copy (none when not carried).
  const TKestParser* expression = nullptr;
};
using PropertySource = std::function<CarriedProperty(std::uint8_t id)>;

// The value a property gets at creation when its expression produced nothing.
PropValue CreationDefault(std::uint8_t id);

// Converts an evaluated expression (none: no result) into what the creation takes.
CarriedProperty CarriedFromResult(const TCustomParam* result, std::uint8_t id);

// BoxNew and its kin: creates the object of `kind`, applies the carried properties in the
// creation order (PR_NAME only when not empty; PR_PARENT falls back to the active screen; the
// ids that are never applied at creation are skipped), then invalidates it once. Answers the
// object, or none for a kind that names no class.
TKestObject* CreateObject(TKestBaseList& list, std::uint8_t kind, const PropertySource& carried);

// GetProp: `property` none raises "プロパティ指定が不正です"; an unknown object or a missing
// variable changes nothing. The property's value is stored into `variable` through its
// type's setter.
void GetPropCommand(TKestBaseList& list, const std::string& object, const TCustomParam* property,
                    TCustomParam* variable);
// SetProp: an unknown object changes nothing; `property` none raises; `value` none writes nothing.
void SetPropCommand(TKestBaseList& list, const std::string& object, const TCustomParam* property,
                    const TCustomParam* value);
// ObjDel: marks the named object for deletion at the end of the frame's update.
void ObjDelCommand(TKestBaseList& list, const std::string& object);

// A script value converted to a property value of `type`, and back.
PropValue FromParam(const TCustomParam& value, PropertyValue type);
void StoreProp(TCustomParam& target, const PropValue& value);
// SetProp with a script value, read as the property's type (an id outside the table raises).
void SetPropFromParam(TKestObject& object, std::int32_t id, const TCustomParam& value);

}  // namespace kest
