#include "core/extended.h"

#include <cstring>

namespace kest {

// On x86-64 a long double occupies 16 bytes of which the first 10 are the x87 value, in the
// same byte order as the stored form; the 6 padding bytes are zeroed so nothing stray is written.
static_assert(sizeof(long double) >= 10);

long double ExtendedFromBytes(const ExtendedBytes& bytes) {
  long double value = 0;
  std::memcpy(&value, bytes.data(), bytes.size());
  return value;
}

ExtendedBytes ExtendedToBytes(long double value) {
  unsigned char raw[sizeof(long double)] = {};
  std::memcpy(raw, &value, 10);
  ExtendedBytes bytes{};
  std::memcpy(bytes.data(), raw, bytes.size());
  return bytes;
}

}  // namespace kest
