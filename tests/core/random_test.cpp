#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "core/random.h"

namespace kest {
namespace {

TEST(TVxRandom, PlainDrawsFollowTheRecurrence) {
  TVxRandom random(1684217903);
  EXPECT_EQ(static_cast<std::uint32_t>(random.Next()), 0x6463202Fu);
  EXPECT_EQ(static_cast<std::uint32_t>(random.Next()), 0x5A52C11Au);
  EXPECT_EQ(static_cast<std::uint32_t>(random.Next()), 0x2800E5B1u);
  EXPECT_EQ(static_cast<std::uint32_t>(random.Next()), 0x2C679CA4u);
}

TEST(TVxRandom, DrawingWithSeedZeroIsTheIdentity) {
  TVxRandom random(0);
  random.ResetPool(100);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(random.Draw(), i);
  EXPECT_EQ(random.PoolSize(), 0);
}

TEST(TVxRandom, DrawingIsAPermutationThatDependsOnTheSeed) {
  TVxRandom random(12341);
  random.ResetPool(4096);
  std::vector<int> drawn;
  for (int i = 0; i < 4096; ++i) drawn.push_back(random.Draw());
  std::vector<int> sorted = drawn;
  std::sort(sorted.begin(), sorted.end());
  std::vector<int> expected(4096);
  std::iota(expected.begin(), expected.end(), 0);
  EXPECT_EQ(sorted, expected);
  EXPECT_NE(drawn, expected);
  // First draw: x = 12341, index 12341 mod 4096 = 53.
  EXPECT_EQ(drawn[0], 53);
}

}  // namespace
}  // namespace kest
