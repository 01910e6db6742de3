#include "vfs/deflate.h"

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <memory>

#include "core/errors.h"

namespace kest {

namespace {

struct DecompressorDeleter {
  void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};

libdeflate_decompressor* Decompressor() {
  thread_local std::unique_ptr<libdeflate_decompressor, DecompressorDeleter> decompressor(
      libdeflate_alloc_decompressor());
  return decompressor.get();
}

}  // namespace

// The stored directory gives only the compressed size, so the output buffer starts at a guess
// and doubles until the whole stream fits; libdeflate inflates a whole buffer faster than
// zlib's streaming inflate, which pays off on the many small entries a title reads.
Bytes InflateZlib(ByteSpan compressed, const std::string& source, std::size_t limit) {
  libdeflate_decompressor* decompressor = Decompressor();
  if (!decompressor) throw std::bad_alloc();
  std::size_t capacity = std::min<std::size_t>(std::max<std::size_t>(compressed.size() * 4, 4096), limit);
  Bytes output;
  for (;;) {
    output.resize(capacity);
    std::size_t produced = 0;
    const libdeflate_result result = libdeflate_zlib_decompress(
        decompressor, compressed.data(), compressed.size(), output.data(), output.size(), &produced);
    if (result == LIBDEFLATE_SUCCESS) {
      output.resize(produced);
      output.shrink_to_fit();
      return output;
    }
    if (result != LIBDEFLATE_INSUFFICIENT_SPACE)
      throw FormatError(source, 0, "compressed data is damaged (not a valid zlib stream)");
    if (capacity >= limit)
      throw FormatError(source, 0, "compressed data inflates to more than " + std::to_string(limit) + " bytes");
    capacity = capacity > limit / 2 ? limit : capacity * 2;
  }
}

void InflateZlibInto(ByteSpan compressed, std::span<std::uint8_t> out, const std::string& source) {
  libdeflate_decompressor* decompressor = Decompressor();
  if (!decompressor) throw std::bad_alloc();
  std::size_t produced = 0;
  const libdeflate_result result = libdeflate_zlib_decompress(decompressor, compressed.data(), compressed.size(),
                                                              out.data(), out.size(), &produced);
  if (result == LIBDEFLATE_INSUFFICIENT_SPACE)
    throw FormatError(source, 0, "compressed data inflates to more than " + std::to_string(out.size()) + " bytes");
  if (result != LIBDEFLATE_SUCCESS)
    throw FormatError(source, 0, "compressed data is damaged (not a valid zlib stream)");
  if (produced != out.size())
    throw FormatError(source, 0, "compressed data inflates to " + std::to_string(produced) + " bytes, not " +
                                     std::to_string(out.size()));
}

Bytes DeflateZlib(ByteSpan data) {
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  Bytes output(size);
  if (compress2(output.data(), &size, data.data(), static_cast<uLong>(data.size()), 1) != Z_OK)
    throw std::runtime_error("zlib compress2 failed");
  output.resize(size);
  return output;
}

std::uint32_t Crc32(ByteSpan data) {
  uLong crc = crc32(0L, Z_NULL, 0);
  // zlib takes 32-bit lengths; feed large data in pieces.
  constexpr std::size_t kPiece = 1u << 30;
  for (std::size_t done = 0; done < data.size(); done += kPiece) {
    const std::size_t piece = std::min(kPiece, data.size() - done);
    crc = crc32(crc, data.data() + done, static_cast<uInt>(piece));
  }
  return static_cast<std::uint32_t>(crc);
}

}  // namespace kest
