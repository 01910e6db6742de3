#pragma once
// A table of the player's own message texts. Each library lists its texts once, in UTF-8 in the
// source, indexed by an enum; the table converts them to CP932 when it is first used, and hands
// out the CP932 bytes the player shows and that tests compare.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "core/cp932.h"

namespace kest {

template <typename Id, std::size_t N>
class MessageTable {
 public:
  explicit MessageTable(const std::array<std::string_view, N>& utf8_texts) {
    for (std::size_t i = 0; i < N; ++i) texts_[i] = cp932::FromUtf8(utf8_texts[i]);
  }

  const std::string& operator[](Id id) const { return texts_[static_cast<std::size_t>(id)]; }

 private:
  std::array<std::string, N> texts_;
};

}  // namespace kest
