#include "core/random.h"

#include <numeric>
#include <stdexcept>

namespace kest {

std::int32_t TVxRandom::Next() {
  state_ = state_ * 5u + seed_;
  return static_cast<std::int32_t>(state_);
}

void TVxRandom::ResetPool(std::int32_t count) {
  pool_.resize(count > 0 ? static_cast<std::size_t>(count) : 0);
  std::iota(pool_.begin(), pool_.end(), 0);
}

std::int32_t TVxRandom::Draw() {
  if (pool_.empty()) throw std::logic_error("TVxRandom::Draw from an empty pool");
  Next();
  const std::size_t index = state_ % pool_.size();
  const std::int32_t value = pool_[index];
  pool_.erase(pool_.begin() + static_cast<std::ptrdiff_t>(index));
  return value;
}

}  // namespace kest
