#include "params/param_collection.h"

#include "core/errors.h"
#include "core/text_format.h"
#include "params/messages.h"
#include "params/param_var.h"

namespace kest {

namespace {
// Generations are unique across every store of the process, so a remembered (generation, item)
// pair can never be mistaken for one of another store.
std::uint64_t NextGeneration() {
  static std::uint64_t counter = 0;
  return ++counter;
}
}  // namespace

TParamCollectionItem::TParamCollectionItem(std::string name, std::unique_ptr<TCustomParam> value)
    : THashCollectionItem(std::move(name)), value_(std::move(value)), anchor_(std::make_shared<TParamAnchor>()) {
  anchor_->value = value_.get();
  anchor_->name = Name();
}

TParamCollectionItem::~TParamCollectionItem() { anchor_->value = nullptr; }

bool TParamCollectionItem::IsSystem() const { return dynamic_cast<const TParamSystem*>(value_.get()) != nullptr; }

void ValidateVariableName(std::string_view name) {
  const bool bad = name.empty() || name.find(' ') != std::string_view::npos || (name[0] >= '0' && name[0] <= '9');
  if (bad) throw KestError(FillMessage(Message(ParamsMessage::BadVariableName), {name}));
}

TParamCollection::TParamCollection() : system_state_(std::make_unique<TSystemState>()) {
  for (std::size_t i = 0; i < kSystemVariableCount; ++i) {
    Append(std::make_unique<TParamCollectionItem>(std::string(kSystemVariables[i].name),
                                                  std::make_unique<TParamSystem>(*this, static_cast<std::uint8_t>(i))));
  }
}

TParamCollection::~TParamCollection() = default;

void TParamCollection::SetCurrentDepth(std::int32_t depth) {
  current_depth_ = depth;
  generation_ = NextGeneration();
}

void TParamCollection::SetSystemState(std::unique_ptr<TSystemState> state) {
  system_state_ = state ? std::move(state) : std::make_unique<TSystemState>();
}

TParamCollectionItem& TParamCollection::Append(std::unique_ptr<TParamCollectionItem> item) {
  generation_ = NextGeneration();
  return items_.Add(std::move(item));
}

TParamCollectionItem* TParamCollection::Find(std::string_view name) const {
  // The chain is met newest first: a local of the current depth answers at once; otherwise the
  // last non-local met, the oldest, wins.
  TParamCollectionItem* local = nullptr;
  TParamCollectionItem* oldest = nullptr;
  items_.ForEachNamed(name, [&](TParamCollectionItem& item) {
    if (local) return;
    if (!item.is_local) oldest = &item;
    else if (item.owner_depth == current_depth_) local = &item;
  });
  return local ? local : oldest;
}

TParamCollectionItem* TParamCollection::FindDeclared(std::string_view name, DeclaredAs kind) const {
  TParamCollectionItem* found = nullptr;
  items_.ForEachNamed(name, [&](TParamCollectionItem& item) {
    if (found) return;
    const bool matches = kind == DeclaredAs::Local ? item.is_local && item.owner_depth == current_depth_ : !item.is_local;
    if (matches) found = &item;
  });
  return found;
}

TParamCollectionItem& TParamCollection::AddParam(std::string name, std::uint8_t type_code) {
  ValidateVariableName(name);
  std::unique_ptr<TCustomParam> value = CreateParam(type_code);
  if (!value) throw KestError(FillMessage(Message(ParamsMessage::BadVariable), {name}));
  return Append(std::make_unique<TParamCollectionItem>(std::move(name), std::move(value)));
}

std::unique_ptr<TCustomParam> TParamCollection::CopyValue(std::string_view name) const {
  const TParamCollectionItem* item = Find(name);
  if (!item) return nullptr;
  const TCustomParam& value = item->Value();
  const ParamTypeCode type = value.ParamType();
  if (type < PT_INT || type > PT_STR) throw KestError(FillMessage(Message(ParamsMessage::BadVariable), {name}));
  return DetachedCopy(value);
}

std::unique_ptr<TCustomParam> DetachedCopy(const TCustomParam& value) {
  const ParamTypeCode type = value.ParamType();
  if (type < PT_INT || type > PT_STR) return nullptr;
  if (!value.IsReference() && !dynamic_cast<const TParamSystem*>(&value)) return value.Clone();
  std::unique_ptr<TCustomParam> copy = CreateParam(type);
  if (value.Count() == 1 && value.DimCount() == 1) {
    switch (type) {
      case PT_INT: copy->SetInt(value.AsInt()); break;
      case PT_FLOAT: copy->SetFloat(value.AsFloat()); break;
      case PT_BOOL: copy->SetBool(value.AsBool()); break;
      default: copy->SetStr(value.AsStr()); break;
    }
  } else if (value.Count() > 0) {
    copy->AssignConverted(value);
  }
  return copy;
}

TParamCollectionItem& TParamCollection::Declare(std::string_view name, std::uint8_t type_code, ParamScope scope,
                                                const TCustomParam* initial) {
  if (name.empty()) throw KestError(Message(ParamsMessage::NoVariableName));
  TParamCollectionItem* item = FindDeclared(name, scope == ParamScope::Local ? DeclaredAs::Local : DeclaredAs::NonLocal);
  if (!item) {
    item = &AddParam(std::string(name), type_code);
    if (scope == ParamScope::AutoDestroy || scope == ParamScope::Local) item->owner_depth = current_depth_;
    if (scope == ParamScope::Local) item->is_local = true;
    if (scope == ParamScope::Status) item->is_status = true;
  } else if (item->is_status) {
    return *item;  // a status variable is never initialised again
  }
  if (!initial) return *item;
  // Stored by the declared type; the variable keeps its own class and converts.
  switch (type_code & 0x7F) {
    case PT_INT: item->Value().SetInt(initial->AsInt()); break;
    case PT_FLOAT: item->Value().SetFloat(initial->AsFloat()); break;
    case PT_BOOL: item->Value().SetBool(initial->AsBool()); break;
    case PT_STR: item->Value().SetStr(initial->AsStr()); break;
    default: break;
  }
  return *item;
}

bool TParamCollection::VarDel(std::string_view name) {
  const TParamCollectionItem* item = Find(name);
  if (!item || item->IsSystem()) return false;
  for (std::size_t i = items_.Count(); i-- > 0;) {
    if (&items_[i] != item) continue;
    items_.Extract(i);
    generation_ = NextGeneration();
    return true;
  }
  return false;
}

void TParamCollection::FreeOwned(std::int32_t depth) {
  for (std::size_t i = items_.Count(); i-- > 0;) {
    const TParamCollectionItem& item = items_[i];
    // Global, status and system variables have depth -1 and are never owned by a call.
    if (depth < 0 || item.owner_depth != depth || item.is_status || item.IsSystem()) continue;
    items_.Extract(i);
    generation_ = NextGeneration();
  }
}

void TParamCollection::RemoveGameVariables() {
  // Taking every item off the end and adding back the kept ones costs one pass, where removing
  // from the middle one by one would cost a pass per variable.
  std::vector<std::unique_ptr<TParamCollectionItem>> all;
  all.reserve(items_.Count());
  while (items_.Count() > 0) all.push_back(items_.Extract(items_.Count() - 1));
  for (auto it = all.rbegin(); it != all.rend(); ++it)
    if ((*it)->IsSystem() || (*it)->is_status) items_.Add(std::move(*it));
  generation_ = NextGeneration();
}

void TParamCollection::ClearMain() {
  RemoveGameVariables();
  values_.text_delay = 50;
  values_.cursor_name.clear();
  values_.history_layout = {};
}

}  // namespace kest
