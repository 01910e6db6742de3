#include "objects/scene_object_access.h"

#include "objects/object_commands.h"
#include "objects/properties.h"
#include "objects/scene_list.h"

namespace kest {

namespace {

TKestObject* Find(const TKestBaseList& list, const std::string& name) {
  return name.empty() ? nullptr : list.FindComponent(name);
}

}  // namespace

bool TSceneObjectAccess::Exists(const std::string& object) { return Find(list_, object) != nullptr; }

bool TSceneObjectAccess::Create(std::uint8_t kind, const CarriedExpressions& carried) {
  const PropertySource source = [&carried](std::uint8_t id) {
    const CarriedExpression expression = carried(id);
    if (expression.state == CarriedExpression::State::Absent) return CarriedProperty{};
    CarriedProperty property = CarriedFromResult(expression.result, id);
    property.expression = expression.expression;
    return property;
  };
  return CreateObject(list_, kind, source) != nullptr;
}

void TSceneObjectAccess::SetExpressionRunner(ExpressionRunner runner) { list_.SetExpressionRunner(std::move(runner)); }

void TSceneObjectAccess::GetProp(const std::string& object, const TCustomParam* property, TCustomParam* variable) {
  GetPropCommand(list_, object, property, variable);
}

void TSceneObjectAccess::SetProp(const std::string& object, const TCustomParam* property,
                                 const TCustomParam* value) {
  SetPropCommand(list_, object, property, value);
}

void TSceneObjectAccess::Delete(const std::string& object) { ObjDelCommand(list_, object); }

bool TSceneObjectAccess::ReadProperty(const std::string& object, std::int32_t id, TCustomParam& result) {
  TKestObject* found = Find(list_, object);
  if (!found) return false;
  StoreProp(result, kest::GetProp(*found, id));
  return true;
}

void TSceneObjectAccess::WriteProperty(const std::string& object, std::int32_t id, const TCustomParam& value) {
  if (TKestObject* found = Find(list_, object)) SetPropFromParam(*found, id, value);
}

}  // namespace kest
