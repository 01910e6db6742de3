#include <gtest/gtest.h>

#include "text/decorate.h"

namespace kest {
namespace {

TDecorate Look(std::int32_t size, std::string ruby = {}) {
  TDecorate look;
  look.size = size;
  look.ruby = std::move(ruby);
  return look;
}

TEST(TDecorateList, PoolsEqualLooksAndFreesAtZero) {
  TDecorateList list;
  const auto a = list.Acquire(Look(12));
  const auto b = list.Acquire(Look(12));
  const auto c = list.Acquire(Look(12, "r"));
  EXPECT_EQ(a, b);
  EXPECT_NE(a, c);
  EXPECT_EQ(list.Count(), 2u);
  EXPECT_EQ(list[a].ref_count, 2);
  list.Release(a);
  EXPECT_EQ(list[a].ref_count, 1);
  list.Release(b);
  EXPECT_FALSE(list.InUse(a));
  EXPECT_EQ(list.Count(), 1u);
  EXPECT_EQ(list[c].ruby, "r");  // the others keep their indexes
  const auto d = list.Acquire(Look(30));
  EXPECT_EQ(d, a);  // the freed slot is taken again
  EXPECT_THROW(list.Release(99), std::out_of_range);
}

TEST(TDecorateList, ChangeSharesChangesInPlaceOrPoolsANewOne) {
  TDecorateList list;
  const auto shared = list.Acquire(Look(12));
  list.AddRef(shared);
  const auto other = list.Acquire(Look(20));
  // A shared decoration is not changed in place: the character gets a new one.
  const auto fresh = list.Change(shared, Look(24));
  EXPECT_NE(fresh, shared);
  EXPECT_EQ(list[shared].ref_count, 1);
  EXPECT_EQ(list[fresh].size, 24);
  // Nobody else uses it: changed in place, keeping the index, and found by its new look.
  EXPECT_EQ(list.Change(fresh, Look(26)), fresh);
  EXPECT_EQ(list[fresh].size, 26);
  EXPECT_EQ(list.Acquire(Look(26)), fresh);
  // An equal pooled one is shared and the old one released.
  EXPECT_EQ(list.Change(shared, Look(20)), other);
  EXPECT_FALSE(list.InUse(shared));
  EXPECT_EQ(list[other].ref_count, 2);
  EXPECT_EQ(list.Count(), 2u);
}

}  // namespace
}  // namespace kest
