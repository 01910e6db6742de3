#include "images/zelk_cache.h"

#include <algorithm>

#include "core/errors.h"
#include "vfs/file_manager.h"

namespace kest {

namespace {

constexpr std::int32_t kStandInSide = 8;

std::size_t SurfaceBytes(const TCustomDIBX* surface) {
  if (!surface) return 0;
  return static_cast<std::size_t>(surface->Width()) * static_cast<std::size_t>(surface->Height()) *
         static_cast<std::size_t>(surface->Format().bytes_per_pixel);
}

}  // namespace

std::size_t TZelkItemFrame::ByteSize() const { return SurfaceBytes(surface.get()) + SurfaceBytes(mask.get()); }

std::size_t TZelkItem::ByteSize() const {
  std::size_t total = 0;
  for (const TZelkItemFrame& frame : frames) total += frame.ByteSize();
  return total;
}

TZelkCollection::TZelkCollection(TVrFileManager& files, ZelkCacheOptions options)
    : files_(files), options_(std::move(options)) {}

TZelkCollection::~TZelkCollection() = default;

std::string TZelkCollection::KeyName(const std::string& name, bool trim, bool mask) {
  return name + (mask ? "?m" : "") + (trim ? "?t" : "");
}

TZelkItem& TZelkCollection::Acquire(ZelkUser user, const std::string& name, bool trim, bool mask) {
  const std::size_t form = (mask ? 2 : 0) + (trim ? 1 : 0);
  const auto spelled = by_name_.find(name);
  TZelkItem* item = spelled != by_name_.end() ? spelled->second[form] : nullptr;
  if (!item) {
    const std::string key = KeyName(name, trim, mask);
    item = items_.Find(key);
    if (!item) {
      auto created = std::make_unique<TZelkItem>(key);
      created->file_name = name;
      created->want_mask = mask;
      created->want_trim = trim;
      item = &items_.Add(std::move(created));
      Load(*item, true);
    }
    by_name_[name][form] = item;
  }
  // Only an entry without users waits in the idle list.
  if (item->users.empty()) idle_.remove(item);
  item->users.push_back(user);
  return *item;
}

void TZelkCollection::Release(TZelkItem& item, ZelkUser user) {
  const auto found = std::find(item.users.begin(), item.users.end(), user);
  if (found != item.users.end()) item.users.erase(found);
  if (!item.users.empty()) return;
  if (std::find(idle_.begin(), idle_.end(), &item) == idle_.end()) idle_.push_back(&item);
  TrimIdle();
}

void TZelkCollection::TrimIdle() {
  while (idle_.size() > 1 && IdleBytes() > kZelkIdleBudget) {
    TZelkItem* oldest = idle_.front();
    idle_.pop_front();
    Free(*oldest);
  }
}

std::size_t TZelkCollection::IdleBytes() const {
  std::size_t total = 0;
  for (const TZelkItem* item : idle_) total += item->ByteSize();
  return total;
}

void TZelkCollection::Free(TZelkItem& item) {
  idle_.remove(&item);
  for (auto entry = by_name_.begin(); entry != by_name_.end();) {
    std::replace(entry->second.begin(), entry->second.end(), &item, static_cast<TZelkItem*>(nullptr));
    if (entry->second == std::array<TZelkItem*, 4>{})
      entry = by_name_.erase(entry);
    else
      ++entry;
  }
  for (std::size_t i = 0; i < items_.Count(); ++i)
    if (&items_[i] == &item) {
      items_.Extract(i);
      return;
    }
}

void TZelkCollection::Purge(const std::string& name) {
  for (bool mask : {false, true})
    for (bool trim : {false, true}) {
      std::vector<TZelkItem*> idle;
      items_.ForEachNamed(KeyName(name, trim, mask), [&](TZelkItem& item) {
        if (item.users.empty()) idle.push_back(&item);
      });
      for (TZelkItem* item : idle) Free(*item);
    }
}

void TZelkCollection::ReloadAll(bool recreate) {
  for (const auto& item : items_) Load(*item, recreate);
}

void TZelkCollection::ReleaseDisplayResources() {
  if (!options_.release_surface) return;
  for (const auto& item : items_)
    for (TZelkItemFrame& frame : item->frames) {
      if (frame.surface) options_.release_surface(*frame.surface);
      if (frame.mask) options_.release_surface(*frame.mask);
    }
}

void TZelkCollection::SetFlag(bool flag) {
  if (flag == flag_) return;
  flag_ = flag;
  ReloadAll(false);
}

void TZelkCollection::LoadStandIn(TZelkItem& item) {
  item.frames.clear();
  TZelkItemFrame frame;
  frame.surface = options_.make_surface();
  frame.surface->SetSize(kStandInSide, kStandInSide, options_.screen_bit_count());
  frame.surface->Fill(0);
  frame.surface->transparent_color = 0;
  frame.key = 0;
  frame.delay = 1;
  item.frames.push_back(std::move(frame));
  item.width = item.height = kStandInSide;
  item.total_delay = 1;
}

void TZelkCollection::Load(TZelkItem& item, bool recreate) {
  TZelkFrameList list(options_.image_seed);
  if (flag_) list.target_bit_count = options_.screen_bit_count();
  item.load_error.clear();
  try {
    list.LoadFromBytes(files_.ReadFile(item.file_name), item.file_name, {.finish = item.want_mask});
  } catch (const KestError& error) {
    // A missing or unreadable picture draws nothing; the caller is told, and goes on.
    item.load_error = error.what();
    LoadStandIn(item);
    if (options_.on_error) options_.on_error(item.load_error);
    return;
  }
  if (list.frames.empty()) {
    LoadStandIn(item);
    return;
  }
  std::vector<TZelkItemFrame> old = std::move(item.frames);
  item.frames.clear();
  item.width = list.frames.front()->picture.Width();
  item.height = list.frames.front()->picture.Height();
  item.total_delay = 0;
  for (std::size_t i = 0; i < list.frames.size(); ++i) {
    TZelkFrame& frame = *list.frames[i];
    TZelkItemFrame out;
    // Without recreation, keyed frames without a mask keep the surfaces they have.
    const bool keep = !recreate && i < old.size() && old[i].surface && old[i].key != -1 && !old[i].mask;
    if (keep) {
      out = std::move(old[i]);
    } else {
      if (item.want_trim) {
        const Rect kept = TZelkFrameList::Trim(frame);
        out.offset_x = kept.left;
        out.offset_y = kept.top;
      }
      if (!recreate && i < old.size() && old[i].surface) {
        out.surface = std::move(old[i].surface);
      } else {
        out.surface = options_.make_surface();
        out.surface->SetSize(0, 0, options_.screen_bit_count());
      }
      TZelkFrameList::CopyToSurface(frame, *out.surface);
      if (frame.HasMask()) {
        out.mask = std::make_unique<TDIBX>();
        TZelkFrameList::CopyMask(frame, *out.mask);
      }
      out.key = frame.KeyColorRGB == -1 ? -1 : out.surface->ColorToPixel(frame.KeyColorRGB);
      out.surface->transparent_color = out.key;
    }
    out.delay = std::max(frame.Delay, 1);
    item.total_delay += out.delay;
    item.frames.push_back(std::move(out));
  }
}

}  // namespace kest
