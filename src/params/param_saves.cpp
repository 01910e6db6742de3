// The main and status blocks of the variable store: how each saved structure is laid out, once,
// for writing and reading alike.

#include <algorithm>
#include <unordered_set>

#include "core/cp932.h"
#include "params/param_collection.h"
#include "params/param_var.h"
#include "params/save_archive.h"

namespace kest {

namespace {

// The player values after the main block's records. SelStr and SelIndex came with format 103,
// the history layout with 113, TempName with 121.
template <typename Archive>
void SyncPlayerValues(Archive& archive, PlayerValues& values) {
  archive.Int(values.text_delay);
  archive.Str(values.cursor_name);
  if (archive.Since(103)) {
    archive.Str(values.sel_str);
    archive.Int(values.sel_index);
  }
  if (archive.Since(113))
    for (std::int32_t& value : values.history_layout) archive.Int(value);
  if (archive.Since(121)) archive.Str(values.temp_name);
}

// One variable record: type code, name, value stream, then the item's scope fields.
struct VariableRecord {
  std::uint8_t type = 0;
  std::string name;
  const TCustomParam* value = nullptr;  // writing
  std::unique_ptr<TCustomParam> loaded;  // reading
  bool is_status = false;
  std::uint8_t spare_byte = 0;
  std::int32_t owner_depth = -1;
  bool is_local = false;
};

void SyncValue(SaveWriter& archive, VariableRecord& record) { record.value->SaveToStream(archive.Out()); }

void SyncValue(SaveReader& archive, VariableRecord& record) {
  ByteReader& in = archive.In();
  record.loaded = CreateParam(record.type);
  if (!record.loaded || (record.type & 0x80))
    in.Fail("variable \"" + cp932::ToUtf8Lenient(record.name) + "\" has the unknown type code " +
            std::to_string(record.type));
  // References are tied to their targets once the whole block is in the store.
  record.loaded->LoadFromStream(in, TargetLookup{});
}

template <typename Archive>
void SyncRecord(Archive& archive, VariableRecord& record) {
  archive.Byte(record.type);
  archive.Str(record.name);
  SyncValue(archive, record);
  archive.Flag(record.is_status);
  archive.Byte(record.spare_byte);
  archive.Int(record.owner_depth);
  archive.Flag(record.is_local);
}

// Type byte, name length, dimension count, one count or string length, four trailing fields.
constexpr std::size_t kMinRecordBytes = 1 + 4 + 4 + 4 + 1 + 1 + 4 + 1;

bool IsValidVariableName(std::string_view name) {
  return !name.empty() && name.find(' ') == std::string_view::npos && !(name[0] >= '0' && name[0] <= '9');
}

}  // namespace

std::vector<const TParamCollectionItem*> TParamCollection::BlockItems(Block block) const {
  std::vector<const TParamCollectionItem*> items;
  for (std::size_t i = 0; i < items_.Count(); ++i) {
    const TParamCollectionItem& item = items_[i];
    if (item.IsSystem() || item.is_status != (block == Block::Status)) continue;
    items.push_back(&item);
  }
  return items;
}

void TParamCollection::SaveRecords(ByteWriter& out, Block block) const {
  std::vector<const TParamCollectionItem*> remaining = BlockItems(block);
  out.I32(static_cast<std::int32_t>(remaining.size()));
  SaveWriter archive(out, kLatestSaveVersion);
  std::unordered_set<std::string> written;  // folded names of the variables written so far
  auto write = [&](const TParamCollectionItem& item) {
    VariableRecord record;
    // A reference is stored as type 0 whatever it refers to, so it reads back as a reference.
    record.type = item.Value().IsReference() ? PT_NONE : item.Value().ParamType();
    record.name = item.Name();
    record.value = &item.Value();
    record.is_status = item.is_status;
    record.spare_byte = item.spare_byte;
    record.owner_depth = item.owner_depth;
    record.is_local = item.is_local;
    SyncRecord(archive, record);
    written.insert(cp932::LowerCase(item.Name()));
  };
  // Passes from the last remaining variable to the first; a reference waits until a variable
  // of its target's name has been written. A pass that writes nothing means the rest refer to
  // variables outside this block (or to each other): they are written as they are.
  while (!remaining.empty()) {
    std::vector<const TParamCollectionItem*> waiting;
    for (auto it = remaining.rbegin(); it != remaining.rend(); ++it) {
      const auto* reference = dynamic_cast<const TParamVar*>(&(*it)->Value());
      if (reference && reference->Target() && !written.contains(cp932::LowerCase(reference->TargetName()))) {
        waiting.push_back(*it);
        continue;
      }
      write(**it);
    }
    std::reverse(waiting.begin(), waiting.end());
    if (waiting.size() == remaining.size()) {
      for (auto it = waiting.rbegin(); it != waiting.rend(); ++it) write(**it);
      break;
    }
    remaining = std::move(waiting);
  }
}

std::vector<std::unique_ptr<TParamCollectionItem>> TParamCollection::LoadRecords(ByteReader& in) const {
  const std::size_t count = in.Count(in.I32(), kMinRecordBytes, "variable records");
  SaveReader archive(in, kLatestSaveVersion);
  std::vector<std::unique_ptr<TParamCollectionItem>> loaded;
  for (std::size_t i = 0; i < count; ++i) {
    VariableRecord record;
    SyncRecord(archive, record);
    if (record.name.empty()) continue;  // read in full and dropped, as the player does
    if (!IsValidVariableName(record.name))
      in.Fail("variable name \"" + cp932::ToUtf8Lenient(record.name) + "\" is not valid");
    auto item = std::make_unique<TParamCollectionItem>(std::move(record.name), std::move(record.loaded));
    item->is_status = record.is_status;
    item->spare_byte = record.spare_byte;
    item->owner_depth = record.owner_depth;
    item->is_local = record.is_local;
    loaded.push_back(std::move(item));
  }
  return loaded;
}

void TParamCollection::AddLoaded(std::vector<std::unique_ptr<TParamCollectionItem>> loaded) {
  // Records are written newest first, so they are added back from the last read to the first:
  // the store keeps its order across a save and a load (the order decides which of two
  // same-named variables Find prefers, and the next save writes the same bytes).
  std::vector<TParamVar*> references;
  for (auto it = loaded.rbegin(); it != loaded.rend(); ++it) {
    if (auto* reference = dynamic_cast<TParamVar*>(&(*it)->Value())) references.push_back(reference);
    Append(std::move(*it));
  }
  for (TParamVar* reference : references) {
    if (reference->LoadedTargetName().empty()) continue;
    if (const TParamCollectionItem* target = Find(reference->LoadedTargetName())) reference->SetTarget(target->Anchor());
  }
}

void TParamCollection::SaveMain(ByteWriter& out, std::int32_t version) const {
  SaveRecords(out, Block::Main);
  PlayerValues values = values_;
  SaveWriter archive(out, version);
  SyncPlayerValues(archive, values);
}

void TParamCollection::LoadMain(ByteReader& in, std::int32_t version) {
  // Everything is read before anything changes: a block that breaks off leaves the store whole.
  std::vector<std::unique_ptr<TParamCollectionItem>> loaded = LoadRecords(in);
  PlayerValues values = values_;
  SaveReader archive(in, version);
  SyncPlayerValues(archive, values);
  RemoveGameVariables();
  AddLoaded(std::move(loaded));
  values_ = std::move(values);
}

void TParamCollection::SaveStatus(ByteWriter& out) const { SaveRecords(out, Block::Status); }

void TParamCollection::LoadStatus(ByteReader& in, std::int32_t /*version: the block has no gated field*/) {
  AddLoaded(LoadRecords(in));
}

}  // namespace kest
