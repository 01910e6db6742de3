#include "objects/properties.h"

#include "core/errors.h"
#include "objects/messages.h"
#include "objects/object.h"
#include "objects/property_table.h"

namespace kest {

PropValue GetProp(const TKestObject& object, std::int32_t id) {
  if (id < 0 || id >= static_cast<std::int32_t>(kPropertyCount)) throw KestError(Message(ObjectMessage::GetPropError));
  const auto property = static_cast<std::uint8_t>(id);
  const PropertyValue type = kProperties[property].value;
  if (!Implements(object, property)) return ZeroValue(type);
  const std::optional<PropValue> value = object.ReadProperty(property);
  return value ? Coerce(*value, type) : ZeroValue(type);
}

void SetProp(TKestObject& object, std::int32_t id, const PropValue& value) {
  if (id < 0 || id >= static_cast<std::int32_t>(kPropertyCount) || id == PR_APPEARX || id == PR_APPEARY)
    throw KestError(Message(ObjectMessage::SetPropError));
  const auto property = static_cast<std::uint8_t>(id);
  if (!IsWritable(object, property)) return;
  PropValue converted = Coerce(value, kProperties[property].value);
  // Font styles are a set of four styles: higher bits are dropped.
  if (property == PR_FONTSTYLE || property == PR_FONTHOVERSTYLE) converted = AsInt(converted) & 0xF;
  object.WriteProperty(property, converted);
}

}  // namespace kest
