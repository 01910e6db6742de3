#pragma once
// TVxRandom, the player's pseudo-random generator: x = x * 5 + seed (mod 2^32), x starting at 0.
// It serves two ways: plain draws return x itself (archive directories, transitions), and draws
// without replacement take the entry at x mod (pool size) out of a pool 0..n-1 (row order of
// layered images). Its sequences are part of stored formats, so it must never change.

#include <cstdint>
#include <vector>

namespace kest {

class TVxRandom {
 public:
  explicit TVxRandom(std::int32_t seed) : seed_(static_cast<std::uint32_t>(seed)) {}

  // Advances the state and returns it as a signed 32-bit value.
  std::int32_t Next();

  // Fills the pool with 0..count-1, for draws without replacement.
  void ResetPool(std::int32_t count);
  std::int32_t PoolSize() const { return static_cast<std::int32_t>(pool_.size()); }
  // Advances the state and removes and returns the pool entry at x mod (pool size).
  // Precondition: the pool is not empty.
  std::int32_t Draw();

 private:
  std::uint32_t seed_;
  std::uint32_t state_ = 0;
  std::vector<std::int32_t> pool_;
};

}  // namespace kest
