#pragma once
// How the built-in functions GetProp, SetProp and Exists reach the display objects, which live in a
// library above this one. The scene's objects answer through this interface once the
// interpreter has connected them (TSysFuncMan::SetObjects); until then the two functions raise
// "<name>: not available yet".

#include <cstdint>
#include <string>

namespace kest {

class TCustomParam;

class TObjectProperties {
 public:
  virtual ~TObjectProperties() = default;

  // Reads property `id` of the object named `object` into `result` through the result's own
  // setter. Answers false, leaving `result` alone, when no object has that name (an empty name
  // finds nothing). An id outside the table raises "GetPropエラー".
  virtual bool ReadProperty(const std::string& object, std::int32_t id, TCustomParam& result) = 0;
  // Writes `value`, converted to the property's type, to property `id` of the named object;
  // nothing happens when there is no such object. An id outside the table, or one that can
  // never be written, raises "SetPropエラー".
  virtual void WriteProperty(const std::string& object, std::int32_t id, const TCustomParam& value) = 0;
  // Whether an object of that name exists (an empty name finds nothing; the screens' names do).
  virtual bool Exists(const std::string& object) = 0;
};

}  // namespace kest
