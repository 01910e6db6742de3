// The image cache: sharing by key, the idle budget, purges, reloads and stand-ins.

#include <gtest/gtest.h>

#include "images/zelk_cache.h"
#include "support/temp_folder.h"
#include "vfs/file_manager.h"
#include "zelk_support.h"

namespace kest {
namespace {

using testing::Flat;
using testing::FrameOf;
using testing::LayerOf;

Bytes PictureFile(std::int32_t w, std::int32_t h, std::uint32_t value, std::int32_t key = -1, std::int32_t delay = 100,
                  std::int32_t seed = 0) {
  const ZelkPicture picture = Flat(w, h, 32, value);
  ZelkFileSpec spec;
  spec.identification = seed;
  spec.scrambled = seed != 0;
  spec.compression = seed != 0 ? ZelkCompression::None : ZelkCompression::Zlib;
  spec.frames.push_back(FrameOf(picture, {LayerOf(picture)}));
  spec.frames[0].key = key;
  spec.frames[0].delay = delay;
  return WriteZelkFile(spec);
}

class ZelkCacheTest : public ::testing::Test {
 protected:
  ZelkCacheTest() : files_(FileManagerOptions{.scan_optical_mounts = false, .temp_parent = temp_.Path().string()}) {
    files_.SetBaseFolder(game_.Path().string() + "/");
  }

  testing::TempFolder game_, temp_;
  TVrFileManager files_;
};

TEST_F(ZelkCacheTest, EntriesAreSharedByKeyAndKeptIdle) {
  game_.Write("a.zel", PictureFile(4, 3, 0x123456));
  TZelkCollection cache(files_);
  TZelkItem& one = cache.Acquire(1, "a.zel", false, false);
  TZelkItem& two = cache.Acquire(2, "A.ZEL", false, false);
  EXPECT_EQ(&one, &two);
  TZelkItem& masked = cache.Acquire(3, "a.zel", false, true);
  EXPECT_NE(&one, &masked);
  EXPECT_EQ(masked.Name(), "a.zel?m");
  EXPECT_EQ(TZelkCollection::KeyName("a.zel", true, true), "a.zel?m?t");
  ASSERT_EQ(one.frames.size(), 1u);
  EXPECT_EQ(one.width, 4);
  EXPECT_EQ(one.frames[0].surface->GetPixel(3, 2), 0x123456u);
  cache.Release(one, 1);
  EXPECT_EQ(cache.IdleCount(), 0u);
  cache.Release(one, 2);
  EXPECT_EQ(cache.IdleCount(), 1u);
  // Taken again from the idle list.
  EXPECT_EQ(&cache.Acquire(4, "a.zel", false, false), &one);
  EXPECT_EQ(cache.IdleCount(), 0u);
}

TEST_F(ZelkCacheTest, IdleBudgetFreesTheOldestButKeepsOne) {
  for (const char* name : {"1.zel", "2.zel", "3.zel", "4.zel"}) game_.Write(name, PictureFile(800, 600, 0x010101));
  TZelkCollection cache(files_);
  std::vector<TZelkItem*> items;
  for (const char* name : {"1.zel", "2.zel", "3.zel", "4.zel"}) items.push_back(&cache.Acquire(7, name, false, false));
  for (int i = 0; i < 3; ++i) cache.Release(*items[static_cast<std::size_t>(i)], 7);
  EXPECT_EQ(cache.IdleCount(), 3u);
  EXPECT_EQ(cache.IdleBytes(), kZelkIdleBudget);
  cache.Release(*items[3], 7);
  EXPECT_EQ(cache.IdleCount(), 3u);
  EXPECT_EQ(cache.Find("1.zel"), nullptr);
  EXPECT_NE(cache.Find("2.zel"), nullptr);
  // A single entry over the budget stays.
  game_.Write("big.zel", PictureFile(2000, 1000, 0));
  TZelkCollection alone(files_);
  alone.Release(alone.Acquire(1, "big.zel", false, false), 1);
  EXPECT_EQ(alone.IdleCount(), 1u);
  EXPECT_GT(alone.IdleBytes(), kZelkIdleBudget);
}

TEST_F(ZelkCacheTest, PurgeFreesTheIdleEntriesOfAllFourForms) {
  game_.Write("p.zel", PictureFile(2, 2, 0));
  TZelkCollection cache(files_);
  for (bool mask : {false, true})
    for (bool trim : {false, true}) cache.Release(cache.Acquire(1, "p.zel", trim, mask), 1);
  TZelkItem& used = cache.Acquire(2, "p.zel", true, false);
  EXPECT_EQ(cache.Count(), 4u);
  cache.Purge("P.zel");
  EXPECT_EQ(cache.Count(), 1u);
  EXPECT_EQ(cache.Find("p.zel?t"), &used);
}

// Hits are found by the name as spelled; once the entry is freed (purged or pushed out of the
// idle list), every spelling makes and loads a new entry.
TEST_F(ZelkCacheTest, EverySpellingFindsTheEntryUntilItIsFreed) {
  game_.Write("s.zel", PictureFile(2, 2, 0x000001));
  TZelkCollection cache(files_);
  TZelkItem& first = cache.Acquire(1, "s.zel", false, false);
  EXPECT_EQ(&cache.Acquire(2, "S.ZEL", false, false), &first);
  EXPECT_EQ(&cache.Acquire(3, "s.zel", false, false), &first);
  EXPECT_EQ(first.users, (std::vector<ZelkUser>{1, 2, 3}));
  for (ZelkUser user : {1u, 2u, 3u}) cache.Release(first, user);
  cache.Purge("s.zel");
  EXPECT_EQ(cache.Count(), 0u);
  for (const char* spelling : {"S.ZEL", "s.zel"}) {
    TZelkItem& again = cache.Acquire(4, spelling, false, false);
    EXPECT_EQ(cache.Count(), 1u) << spelling;
    EXPECT_EQ(cache.Find("s.zel"), &again) << spelling;
    EXPECT_EQ(again.users, std::vector<ZelkUser>{4}) << spelling;
    EXPECT_EQ(again.frames[0].surface->GetPixel(1, 1), 0x000001u) << spelling;
    cache.Release(again, 4);
  }
  // Pushed out by the idle budget, then asked for again.
  for (const char* name : {"1.zel", "2.zel", "3.zel", "4.zel"}) game_.Write(name, PictureFile(800, 600, 0x010101));
  for (const char* name : {"1.zel", "2.zel", "3.zel", "4.zel"}) cache.Release(cache.Acquire(5, name, false, false), 5);
  EXPECT_EQ(cache.Find("s.zel"), nullptr);
  const std::size_t count = cache.Count();
  TZelkItem& loaded = cache.Acquire(6, "S.ZEL", false, false);
  EXPECT_EQ(cache.Count(), count + 1);
  EXPECT_EQ(loaded.users, std::vector<ZelkUser>{6});
  EXPECT_EQ(loaded.frames[0].surface->GetPixel(0, 0), 0x000001u);
}

TEST_F(ZelkCacheTest, MissingAndCorruptPicturesBecomeAnInvisibleStandIn) {
  game_.Write("bad.zel", Bytes{'Z', 'e', 'l', 'k', '1', '0', '6', 1, 2});
  std::vector<std::string> errors;
  TZelkCollection cache(files_, {.on_error = [&](const std::string& e) { errors.push_back(e); }});
  for (const char* name : {"none.zel", "bad.zel"}) {
    SCOPED_TRACE(name);
    const TZelkItem& item = cache.Acquire(1, name, false, false);
    ASSERT_EQ(item.frames.size(), 1u);
    EXPECT_EQ(item.frames[0].surface->Width(), 8);
    EXPECT_EQ(item.frames[0].surface->Height(), 8);
    EXPECT_EQ(item.frames[0].surface->GetPixel(5, 5), 0u);
    EXPECT_EQ(item.frames[0].key, 0);
  }
  // Both are reported, each with its file's name.
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_NE(errors[0].find("none.zel"), std::string::npos);
  EXPECT_NE(errors[1].find("bad.zel"), std::string::npos);
}

TEST_F(ZelkCacheTest, DelaysCountAtLeastOneAndTheSeedUnscrambles) {
  game_.Write("d.zel", PictureFile(3, 16, 0x00AA00, -1, 0, 4321));
  TZelkCollection cache(files_, {.image_seed = 4321});
  const TZelkItem& item = cache.Acquire(1, "d.zel", false, false);
  EXPECT_EQ(item.frames[0].delay, 1);
  EXPECT_EQ(item.total_delay, 1);
  EXPECT_EQ(item.frames[0].surface->GetPixel(1, 9), 0x00AA00u);
}

TEST_F(ZelkCacheTest, MasksTrimsAndReloads) {
  ZelkPicture picture = Flat(6, 5, 32, 0x0000FF);
  picture.Set(2, 3, 0x00FF00);
  ZelkFileSpec spec;
  spec.frames.push_back(FrameOf(picture, {LayerOf(picture)}));
  spec.frames[0].key = 0x0000FF;
  game_.Write("k.zel", WriteZelkFile(spec));
  TZelkCollection cache(files_);
  const TZelkItem& masked = cache.Acquire(1, "k.zel", true, true);
  ASSERT_TRUE(masked.frames[0].mask);
  EXPECT_EQ(masked.frames[0].surface->Width(), 1);
  EXPECT_EQ(masked.frames[0].offset_x, 2);
  EXPECT_EQ(masked.frames[0].offset_y, 3);
  EXPECT_EQ(masked.width, 6);
  const TZelkItem& keyed = cache.Acquire(1, "k.zel", false, false);
  EXPECT_FALSE(keyed.frames[0].mask);
  EXPECT_EQ(keyed.frames[0].key, 0x0000FF);
  EXPECT_EQ(keyed.frames[0].surface->transparent_color, 0x0000FF);

  // Reload without recreation keeps the keyed frame without mask as it is, and copies the rest.
  const TCustomDIBX* keyed_surface = keyed.frames[0].surface.get();
  const TCustomDIBX* masked_surface = masked.frames[0].surface.get();
  spec.frames[0].layers[0].picture = Flat(6, 5, 32, 0x777777);
  game_.Write("k.zel", WriteZelkFile(spec));
  files_.ClearCache();
  cache.ReloadAll(false);
  EXPECT_EQ(keyed.frames[0].surface.get(), keyed_surface);
  EXPECT_EQ(keyed.frames[0].surface->GetPixel(0, 0), 0x0000FFu);
  EXPECT_EQ(masked.frames[0].surface.get(), masked_surface);
  EXPECT_EQ(masked.frames[0].surface->Width(), 6);
  EXPECT_EQ(masked.frames[0].surface->GetPixel(0, 0), 0x777777u);
  // With recreation everything is made anew at the screen's bit count.
  int screen_bits = 32;
  TZelkCollection screen(files_, {.screen_bit_count = [&] { return screen_bits; }});
  const TZelkItem& item = screen.Acquire(1, "k.zel", false, false);
  screen_bits = 16;
  screen.ReloadAll(true);
  EXPECT_EQ(item.frames[0].surface->BitCount(), 16);
}

TEST_F(ZelkCacheTest, FlagReloadsWithTheScreensBitCountAsTarget) {
  const std::vector<std::uint32_t> palette = {0x000000, 0x336699};
  const ZelkPicture picture = Flat(4, 4, 8, 1, palette);
  ZelkFileSpec spec;
  spec.frames.push_back(FrameOf(picture, {LayerOf(picture)}));
  game_.Write("f.zel", WriteZelkFile(spec));
  int released = 0;
  TZelkCollection cache(files_, {.release_surface = [&](TCustomDIBX&) { ++released; }});
  const TZelkItem& item = cache.Acquire(1, "f.zel", false, true);
  EXPECT_EQ(item.frames[0].surface->GetPixel(0, 0), 0x336699u);
  cache.SetFlag(true);
  EXPECT_TRUE(cache.Flag());
  EXPECT_EQ(item.frames[0].surface->GetPixel(0, 0), 0x336699u);
  cache.ReleaseDisplayResources();
  EXPECT_EQ(released, 1);
}

}  // namespace
}  // namespace kest
