#include "objects/object_commands.h"

#include "core/errors.h"
#include "objects/components/custom_image.h"
#include "objects/messages.h"
#include "objects/properties.h"
#include "objects/property_table.h"
#include "objects/scene_list.h"
#include "params/custom_param.h"

namespace kest {


PropValue CreationDefault(std::uint8_t id) {
  switch (id) {
    case PR_ZOOMX: case PR_ZOOMY: case PR_TEXTDELAY: return std::int32_t{256};
    case 8: case 10: case PR_HOVERCOLOR: return std::int32_t{-1};  // PR_COLOR, PR_BORDERCOLOR
    case PR_ALPHA: return std::int32_t{255};
    case PR_FONTHEIGHT: return std::int32_t{16};
    case PR_VOLUME: return std::int32_t{1000};
    case PR_VISIBLE: case PR_OVERLAY: return true;
    case PR_COLCOUNT: case PR_ROWCOUNT: case PR_AMP: case PR_SMALLCHANGE: case PR_LARGECHANGE:
    case PR_GLYPHWIDTH: case PR_GLYPHHEIGHT:
      return std::int32_t{1};
    case PR_WAVELEN: return std::int32_t{100};
    default: return ZeroValue(kProperties[id].value);
  }
}

PropValue FromParam(const TCustomParam& value, PropertyValue type) {
  switch (type) {
    case PropertyValue::Int: return value.AsInt();
    case PropertyValue::Bool: return value.AsBool();
    case PropertyValue::Float: return value.AsFloat();
    default: return value.AsStr();
  }
}

void StoreProp(TCustomParam& target, const PropValue& value) {
  std::visit(
      [&](const auto& v) {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, std::int32_t>) target.SetInt(v);
        else if constexpr (std::is_same_v<T, bool>) target.SetBool(v);
        else if constexpr (std::is_same_v<T, long double>) target.SetFloat(v);
        else target.SetStr(v);
      },
      value);
}

CarriedProperty CarriedFromResult(const TCustomParam* result, std::uint8_t id) {
  if (result == nullptr) return {CarriedProperty::State::NoResult, {}};
  return {CarriedProperty::State::Value, FromParam(*result, kProperties[id].value)};
}

TKestObject* CreateObject(TKestBaseList& list, std::uint8_t kind, const PropertySource& carried) {
  TKestObject* object = list.CreateByKind(kind);
  if (object == nullptr) return nullptr;
  TKestControl* control = object->AsControl();
  bool parent_given = false;
  for (std::uint8_t id : kCreationOrder) {
    const CarriedProperty property = carried(id);
    if (property.state == CarriedProperty::State::Absent) continue;
    const PropValue value =
        property.state == CarriedProperty::State::Value ? property.value : CreationDefault(id);
    if (property.expression) object->KeepExpression(id, *property.expression);
    if (id == PR_LEFT)
      if (auto* image = dynamic_cast<TKestCustomImage*>(object)) image->SizeIfDirty();
    if (id == PR_NAME) {
      if (!AsStr(value).empty()) object->SetName(AsStr(value));
    } else if (id == PR_PARENT) {
      if (control) {
        TKestControl* parent = list.FindControl(AsStr(value));
        control->SetParent(parent ? parent : &list.ActiveScreen());
        parent_given = true;
      }
    } else {
      SetProp(*object, id, value);
    }
  }
  // Without a parent a control would never show: creation puts it on the active screen.
  if (control && !parent_given) control->SetParent(&list.ActiveScreen());
  if (control) control->Invalidate();
  return object;
}

namespace {
std::int32_t PropertyIdOf(const TCustomParam* property) {
  if (property == nullptr) throw KestError(Message(ObjectMessage::BadProperty));
  return property->AsInt();
}
}  // namespace

void GetPropCommand(TKestBaseList& list, const std::string& object, const TCustomParam* property,
                    TCustomParam* variable) {
  if (object.empty()) return;
  TKestObject* found = list.FindComponent(object);
  if (found == nullptr) return;
  const std::int32_t id = PropertyIdOf(property);
  if (variable == nullptr) return;
  StoreProp(*variable, GetProp(*found, id));
}

void SetPropCommand(TKestBaseList& list, const std::string& object, const TCustomParam* property,
                    const TCustomParam* value) {
  if (object.empty()) return;
  TKestObject* found = list.FindComponent(object);
  if (found == nullptr) return;
  const std::int32_t id = PropertyIdOf(property);
  if (value == nullptr) return;
  SetPropFromParam(*found, id, *value);
}

void SetPropFromParam(TKestObject& object, std::int32_t id, const TCustomParam& value) {
  const PropertyValue type = id >= 0 && id < static_cast<std::int32_t>(kPropertyCount)
                                 ? kProperties[static_cast<std::size_t>(id)].value
                                 : PropertyValue::String;
  SetProp(object, id, FromParam(value, type));
}

void ObjDelCommand(TKestBaseList& list, const std::string& object) {
  if (object.empty()) return;
  if (TKestObject* found = list.FindComponent(object)) list.MarkPendingDelete(*found);
}

}  // namespace kest
