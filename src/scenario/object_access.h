#pragma once
// How commands reach the display objects of the scene. The object model lives in a library
// above the interpreter; a scene that has objects answers this interface (TScene::Objects), and
// the object commands raise "<Name>: not available yet" on a scene that has none.
//
// Commands evaluate their own expressions and hand over what they gave: a result, or none for
// an expression that produced nothing.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "params/object_properties.h"

namespace kest {

class TCustomParam;
class TKestParser;

// What a creation command carries for one property id, evaluated when the creation asks for it.
struct CarriedExpression {
  enum class State : std::uint8_t {
    Absent,    // the command has no expression for the property: it is left alone
    NoResult,  // the expression produced nothing: the property gets its creation default
    Result,    // `result` holds what it produced
  };
  State state = State::Absent;
  const TCustomParam* result = nullptr;
  // The compiled expression itself, for the objects that keep a copy and evaluate it later.
  const TKestParser* expression = nullptr;
};
// Evaluates the command's expression for a property id. The creation calls it once per id, in
// the order in which it applies properties, so an expression may read what the properties
// applied before it made of the new object.
using CarriedExpressions = std::function<CarriedExpression(std::uint8_t id)>;

// Runs an expression that an object kept, in the interpreter's store: its integer value, or none.
using ExpressionRunner = std::function<std::optional<std::int32_t>(TKestParser& expression)>;

class TObjectAccess : public TObjectProperties {
 public:
  // How the objects run the expressions they keep (the interpreter hands this over).
  virtual void SetExpressionRunner(ExpressionRunner /*runner*/) {}
  // Creates an object of kind code `kind` and applies the carried properties; false, creating
  // nothing and evaluating nothing, when the kind names no object class.
  virtual bool Create(std::uint8_t kind, const CarriedExpressions& carried) = 0;
  // GetProp: `property` none raises "プロパティ指定が不正です"; an unknown object or a missing
  // variable (none) changes nothing.
  virtual void GetProp(const std::string& object, const TCustomParam* property, TCustomParam* variable) = 0;
  // SetProp: `property` none raises as GetProp does; an unknown object or a `value` of none
  // changes nothing.
  virtual void SetProp(const std::string& object, const TCustomParam* property, const TCustomParam* value) = 0;
  // ObjDel: the named object is marked for deletion; it goes at the end of the frame's update.
  virtual void Delete(const std::string& object) = 0;
};

}  // namespace kest
