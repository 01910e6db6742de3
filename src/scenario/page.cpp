#include "scenario/page.h"

#include <algorithm>
#include <cstring>

#include "core/byte_writer.h"
#include "core/cp932.h"
#include "scenario/messages.h"
#include "vfs/file_manager.h"

namespace kest {

bool TPage::HasProperty(std::uint8_t command_type, std::size_t property_id) const {
  if (command_type >= kCommandTypeCount || property_id >= kPropertySetBytes * 8) return false;
  return (PropertySets[command_type][property_id / 8] >> (property_id % 8)) & 1;
}

void TPage::SetProperty(std::uint8_t command_type, std::size_t property_id) {
  if (command_type >= kCommandTypeCount || property_id >= kPropertySetBytes * 8) return;
  PropertySets[command_type][property_id / 8] |= static_cast<std::uint8_t>(1u << (property_id % 8));
}

std::int32_t TPage::FindLabel(std::string_view name) const {
  for (std::size_t i = 0; i < Commands.size(); ++i)
    if (Commands[i]->IsLabel(name)) return static_cast<std::int32_t>(i);
  return -1;
}

std::int32_t TPage::IndexOf(const TCommand* command) const {
  for (std::size_t i = 0; i < Commands.size(); ++i)
    if (Commands[i].get() == command) return static_cast<std::int32_t>(i);
  return -1;
}

void TPage::Parse(ByteSpan bytes, std::string name) {
  Commands.clear();
  Name = std::move(name);
  ByteReader in(bytes, cp932::ToUtf8Lenient(Name));
  Version = in.I32();
  if (Version > kNewestPageVersion) return;  // a newer page: empty, calling it returns at once
  if (Version < kOldestPageVersion) throw PageTooOldError(Name + "\r\n" + Message(ScenarioMessage::Rebuild));

  ResultType = in.U8();
  StoredSetCount = in.I32();
  StoredSetSize = in.I32();
  if (StoredSetCount < 0 || StoredSetSize < 0) in.Fail("negative property-set count or size");
  const std::uint64_t block = static_cast<std::uint64_t>(StoredSetCount) * static_cast<std::uint64_t>(StoredSetSize);
  if (block > in.Remaining()) in.Fail("property sets run past the end");
  const ByteSpan sets = in.Take(static_cast<std::size_t>(block));
  StoredSets.assign(sets.begin(), sets.end());
  for (auto& slot : PropertySets) slot.fill(0);
  const std::size_t copied = std::min<std::size_t>(static_cast<std::size_t>(StoredSetSize), kPropertySetBytes);
  for (std::size_t k = 0; k < kCommandTypeCount && k < static_cast<std::size_t>(StoredSetCount); ++k)
    std::memcpy(PropertySets[k].data(), sets.data() + k * static_cast<std::size_t>(StoredSetSize), copied);

  // Each command record holds at least its type byte and ten header bytes.
  const std::size_t count = in.Count(in.I32(), 11, "commands");
  Commands.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    auto command = std::make_unique<TCommand>(in.U8());
    command->Load(in, *this);
    Commands.push_back(std::move(command));
  }
}

void TPage::LoadPage(TVrFileManager& files, std::string name) {
  Commands.clear();
  Name = name;
  const Bytes bytes = files.ReadFile(name);
  Parse(bytes, std::move(name));
}

void TPage::StorePropertySets() {
  StoredSetCount = static_cast<std::int32_t>(kCommandTypeCount);
  StoredSetSize = static_cast<std::int32_t>(kPropertySetBytes);
  StoredSets.clear();
  for (const auto& set : PropertySets) StoredSets.insert(StoredSets.end(), set.begin(), set.end());
}

Bytes TPage::Write() const {
  ByteWriter out;
  out.I32(Version);
  if (Version > kNewestPageVersion || Version < kOldestPageVersion) return out.Take();
  out.U8(ResultType);
  out.I32(StoredSetCount);
  out.I32(StoredSetSize);
  out.Raw(StoredSets);
  out.I32(static_cast<std::int32_t>(Commands.size()));
  for (const auto& command : Commands) command->Save(out, *this);
  return out.Take();
}

}  // namespace kest
