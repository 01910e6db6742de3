#include "objects/prop_value.h"

#include "params/conversions.h"

namespace kest {

PropValue ZeroValue(PropertyValue type) {
  switch (type) {
    case PropertyValue::Int: return std::int32_t{0};
    case PropertyValue::Bool: return false;
    case PropertyValue::Float: return 0.0L;
    default: return std::string();
  }
}

std::int32_t AsInt(const PropValue& value) {
  return std::visit([](const auto& v) { return ToInt(v); }, value);
}
bool AsBool(const PropValue& value) {
  return std::visit([](const auto& v) { return ToBool(v); }, value);
}
long double AsFloat(const PropValue& value) {
  return std::visit([](const auto& v) { return ToFloat(v); }, value);
}
std::string AsStr(const PropValue& value) {
  return std::visit([](const auto& v) { return ToStr(v); }, value);
}

PropValue Coerce(const PropValue& value, PropertyValue type) {
  switch (type) {
    case PropertyValue::Int: return AsInt(value);
    case PropertyValue::Bool: return AsBool(value);
    case PropertyValue::Float: return AsFloat(value);
    default: return AsStr(value);
  }
}

}  // namespace kest
