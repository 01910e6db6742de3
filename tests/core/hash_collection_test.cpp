#include <gtest/gtest.h>

#include "core/hash_collection.h"

namespace kest {
namespace {

struct Entry : THashCollectionItem {
  Entry(std::string name, int tag) : THashCollectionItem(std::move(name)), tag(tag) {}
  int tag;
};

TEST(NameHash, FollowsThePlayersFormula) {
  EXPECT_EQ(NameHash(""), 0);
  EXPECT_EQ(NameHash("a"), 16);
  EXPECT_EQ(NameHash("ab"), 226);
  EXPECT_EQ(NameHash("ABC"), 243);
  EXPECT_EQ(NameHash("abc"), 243);
  // n * 16 wraps modulo 256: 16 characters count as 0.
  EXPECT_EQ(NameHash("aaaaaaaaaaaaaaaa"), (16 * 16 + 'a' + 'a') % 256);
}

TEST(HashCollection, NewestOfSameNamedItemsWinsIgnoringCase) {
  THashCollection<Entry> items;
  items.Add(std::make_unique<Entry>("Data.bin", 1));
  items.Add(std::make_unique<Entry>("other", 2));
  items.Add(std::make_unique<Entry>("DATA.BIN", 3));

  ASSERT_NE(items.Find("data.bin"), nullptr);
  EXPECT_EQ(items.Find("data.bin")->tag, 3);
  EXPECT_EQ(items.IndexOf("Data.Bin"), 2);
  EXPECT_EQ(items.IndexOf("missing"), -1);
  EXPECT_EQ(items.Find("missing"), nullptr);

  std::vector<int> walk;
  items.ForEachNamed("data.BIN", [&](const Entry& e) { walk.push_back(e.tag); });
  EXPECT_EQ(walk, (std::vector<int>{3, 1}));

  // Removing the newest makes the older one visible again; order of the rest is kept.
  EXPECT_EQ(items.Extract(2)->tag, 3);
  EXPECT_EQ(items.Find("DATA.bin")->tag, 1);
  EXPECT_EQ(items.Count(), 2u);
  EXPECT_EQ(items[1].tag, 2);
}

TEST(HashCollection, DoubleByteNamesFoldOnlyTheirAsciiCharacters) {
  THashCollection<Entry> items;
  items.Add(std::make_unique<Entry>("\x82\x61x", 1));  // "Ｂx"
  EXPECT_NE(items.Find("\x82\x61X"), nullptr);
  EXPECT_EQ(items.Find("\x82\x41X"), nullptr);  // the trail byte "a" is not a letter here
}

}  // namespace
}  // namespace kest
