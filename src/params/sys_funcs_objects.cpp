// The built-in functions that read and write display objects by name. The objects themselves
// live above this library; TSysFuncMan holds the seam to them.

#include "core/errors.h"
#include "core/text_format.h"
#include "params/messages.h"
#include "params/object_properties.h"
#include "params/sys_func_man.h"

namespace kest {

namespace {

TObjectProperties& ObjectsOf(const FunctionCall& call) {
  TObjectProperties* objects = call.functions.Objects();
  if (!objects) throw KestError(FillMessage(Message(ParamsMessage::NotAvailableYet), {call.info.name}));
  return *objects;
}

// GetProp(object, id): the destination already has the type of the property asked for. An
// object that does not exist leaves it as it is.
void GetProp(const FunctionCall& call) { ObjectsOf(call).ReadProperty(call.Str(0), call.Int(1), call.dest); }

// SetProp(object, id, value): only the id's low byte counts; the result stays empty.
void SetProp(const FunctionCall& call) {
  ObjectsOf(call).WriteProperty(call.Str(0), call.Int(1) & 0xFF, call.Arg(2));
}

// Exists(name): an object of that name lives.
void Exists(const FunctionCall& call) { call.ResultBool(ObjectsOf(call).Exists(call.Str(0))); }

}  // namespace

void AddObjectFunctions(FunctionHandlers& handlers) {
  handlers[19] = Exists;
  handlers[FN_GETPROP] = GetProp;
  handlers[FN_SETPROP] = SetProp;
}

}  // namespace kest
