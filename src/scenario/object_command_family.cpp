// Commands that create display objects and address them by name: BoxNew and its kin, GetProp,
// SetProp and ObjDel. Each advances first, so a failure later in the command (swallowed by the
// interpreter) still lets the script move on; then it evaluates its expressions and hands the
// results to the scene's objects. A scene without objects makes them raise "not available yet".

#include <string_view>

#include "params/kest_parser.h"
#include "params/param_collection.h"
#include "scenario/call_man.h"
#include "scenario/command.h"
#include "scenario/command_run.h"
#include "scenario/object_access.h"
#include "scenario/scene.h"

namespace kest {

namespace {

// The creation commands whose objects the scene builds, and the kind code of the object each
// makes (what the object reports as PR_COMPOTYPE). The other creation commands (MesNew,
// Timer, ...) stay "not available yet" until their kinds are built; each then needs only its
// row here.
struct Creation {
  std::string_view command;
  std::uint8_t kind;
};
constexpr Creation kCreations[] = {
    {"BoxNew", 2},  // a filled and framed rectangle
    {"ImgNew", 8},    // a picture (LT_IMAGES), which keeps its PR_DELAY expression as LoopWait
    {"Button", 3},    // a picture button (LT_BUTTON)
    {"TileNew", 20},  // a repeated picture (LT_TILE)
};

TObjectAccess& ObjectsOf(ExecContext& context) {
  TObjectAccess* objects = context.call_man.Scene().Objects();
  if (!objects) RaiseNotAvailable(context.command);
  return *objects;
}

std::uint8_t KindOf(const TCommand& command) {
  for (const Creation& creation : kCreations)
    if (creation.command == command.Spec().name) return creation.kind;
  RaiseNotAvailable(command);
}

// Fields: the properties, one expression slot per property id in the page's property set.
void ExecuteCreate(ExecContext& context) {
  context.Advance();
  const std::uint8_t kind = KindOf(context.command);
  TObjectAccess& objects = ObjectsOf(context);
  auto& slots = context.command.Fields[0].properties;
  TCallMan& call_man = context.call_man;
  // A kept expression runs later, inside an object's update; one that fails there (its error
  // is kept by the parser, as every evaluation's is) gives no value, and the object takes 0.
  objects.SetExpressionRunner([&call_man](TKestParser& expression) -> std::optional<std::int32_t> {
    expression.Execute(call_man.Params(), call_man.Functions());
    const TCustomParam* result = expression.Result();
    if (!result) return std::nullopt;
    return result->AsInt();
  });
  const bool created = objects.Create(kind, [&](std::uint8_t id) -> CarriedExpression {
    if (id >= slots.size() || !slots[id]) return {};
    const TCustomParam* result = context.Run(*slots[id]);
    if (!result) return {CarriedExpression::State::NoResult, nullptr, slots[id].get()};
    return {CarriedExpression::State::Result, result, slots[id].get()};
  });
  if (!created) RaiseNotAvailable(context.command);
}

// The object named by the first field, when one exists: "" otherwise. Later fields are
// evaluated only for an object that exists.
std::string ExistingObject(ExecContext& context, TObjectAccess& objects) {
  const std::string name = context.StrOr(0, "");
  return objects.Exists(name) ? name : std::string();
}

// Fields: object, property, variable (a name).
void ExecuteGetProp(ExecContext& context) {
  context.Advance();
  TObjectAccess& objects = ObjectsOf(context);
  const std::string object = ExistingObject(context, objects);
  if (object.empty()) return;
  const TCustomParam* property = context.Evaluate(1);
  TParamCollectionItem* variable = context.call_man.Params().Find(context.command.Fields[2].text);
  objects.GetProp(object, property, variable ? &variable->Value() : nullptr);
}

// Fields: object, property, value. The value is evaluated only after the property gave an id.
void ExecuteSetProp(ExecContext& context) {
  context.Advance();
  TObjectAccess& objects = ObjectsOf(context);
  const std::string object = ExistingObject(context, objects);
  if (object.empty()) return;
  const TCustomParam* property = context.Evaluate(1);
  const TCustomParam* value = property ? context.Evaluate(2) : nullptr;
  objects.SetProp(object, property, value);
}

// Fields: object.
void ExecuteObjDel(ExecContext& context) {
  context.Advance();
  TObjectAccess& objects = ObjectsOf(context);
  objects.Delete(context.StrOr(0, ""));
}

}  // namespace

void AddObjectCommands(CommandBehaviors& table) {
  for (const Creation& creation : kCreations) table[FindCommandSpec(creation.command)->id] = {.execute = ExecuteCreate};
  table[FindCommandSpec("GetProp")->id] = {.execute = ExecuteGetProp};
  table[FindCommandSpec("SetProp")->id] = {.execute = ExecuteSetProp};
  table[FindCommandSpec("ObjDel")->id] = {.execute = ExecuteObjDel};
}

}  // namespace kest
