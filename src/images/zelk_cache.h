#pragma once
// TZelkCollection: the image cache. Display objects share loaded pictures by name; an entry that
// no object uses waits in the idle list until the memory budget pushes it out or a purge removes
// it. One cache lives per player run, shared by its scene lists.
//
// Keys: the file name, then "?m" when a mask is wanted (the picture is loaded with finishing:
// keys become masks), then "?t" when trimming is wanted (after finishing).

#include <array>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/hash_collection.h"
#include "images/zelk.h"
#include "render/dibx.h"

namespace kest {

class TVrFileManager;

// Users are object handles (ObjectId of the scene lists).
using ZelkUser = std::uint32_t;

// What idle entries may hold together before the oldest is freed (one entry always stays).
inline constexpr std::size_t kZelkIdleBudget = 5'760'000;

class TZelkItemFrame {
 public:
  std::unique_ptr<TCustomDIBX> surface;
  std::unique_ptr<TDIBX> mask;     // 8 bits; none without a mask
  std::int32_t key = -1;           // native value of the surface, -1 none
  std::int32_t delay = 1;          // at least 1
  std::int32_t offset_x = 0;       // top-left of a trimmed frame in the picture
  std::int32_t offset_y = 0;

  // Pixel bytes of the picture and the mask.
  std::size_t ByteSize() const;
};

class TZelkItem : public THashCollectionItem {
 public:
  explicit TZelkItem(std::string key_name) : THashCollectionItem(std::move(key_name)) {}

  std::string file_name;
  bool want_mask = false;
  bool want_trim = false;
  std::int32_t width = 0;   // of the first frame
  std::int32_t height = 0;
  std::vector<ZelkUser> users;
  std::vector<TZelkItemFrame> frames;
  std::int32_t total_delay = 0;
  // Why the picture could not be read (the entry then holds the stand-in frame); empty when read.
  std::string load_error;

  std::size_t ByteSize() const;
};

struct ZelkCacheOptions {
  std::int32_t image_seed = 0;  // the project's identification code
  // The screen's current bit count: the surfaces' depth, and the target of new frame lists while
  // the flag is set.
  std::function<int()> screen_bit_count = [] { return 32; };
  // Makes a surface for a frame (a display-memory surface when the screen asks for them).
  std::function<std::unique_ptr<TCustomDIBX>()> make_surface = [] { return std::make_unique<TDIBX>(); };
  // Gives back what a display-memory surface holds; memory surfaces need nothing.
  std::function<void(TCustomDIBX&)> release_surface;
  // Told about a picture that is missing or could not be read (source and fault, CP932).
  std::function<void(const std::string&)> on_error;
};

class TZelkCollection {
 public:
  TZelkCollection(TVrFileManager& files, ZelkCacheOptions options = {});
  ~TZelkCollection();
  TZelkCollection(const TZelkCollection&) = delete;
  TZelkCollection& operator=(const TZelkCollection&) = delete;

  static std::string KeyName(const std::string& name, bool trim, bool mask);

  TZelkItem& Acquire(ZelkUser user, const std::string& name, bool trim, bool mask);
  void Release(TZelkItem& item, ZelkUser user);
  // Frees the idle entries of `name` in its four key forms.
  void Purge(const std::string& name);
  // Loads every entry again. With `recreate` each frame's surface is made anew at the screen's
  // bit count; without, frames that have a key and no mask keep their surfaces.
  void ReloadAll(bool recreate);
  // Hands every cached surface and mask to the options' release_surface.
  void ReleaseDisplayResources();

  // The cache flag ("@CGDither"): saved as one byte in the status data. Changing it reloads
  // every entry without recreation.
  bool Flag() const { return flag_; }
  void SetFlag(bool flag);

  // The identification code of the pictures loaded from now on (the project's, once it is read).
  void SetImageSeed(std::int32_t seed) { options_.image_seed = seed; }

  // The files the pictures are read from (motion files are found the same way).
  TVrFileManager& Files() const { return files_; }

  std::size_t Count() const { return items_.Count(); }
  TZelkItem* Find(const std::string& key_name) const { return items_.Find(key_name); }
  std::size_t IdleCount() const { return idle_.size(); }
  std::size_t IdleBytes() const;

 private:
  void Load(TZelkItem& item, bool recreate);
  void LoadStandIn(TZelkItem& item);
  void Free(TZelkItem& item);
  void TrimIdle();

  TVrFileManager& files_;
  ZelkCacheOptions options_;
  THashCollection<TZelkItem> items_;
  // The entries by the names as callers spelled them, in the four key forms (mask * 2 + trim):
  // a hit finds its entry without building or folding the key.
  std::unordered_map<std::string, std::array<TZelkItem*, 4>> by_name_;
  std::list<TZelkItem*> idle_;  // oldest first
  bool flag_ = false;
};

}  // namespace kest
