// Reading a large file in small pieces (as the loaders read integers and strings), through the
// read-ahead buffer and straight from the segmented file stream.

#include <benchmark/benchmark.h>

#include "support/temp_folder.h"
#include "vfs/big_stream.h"

namespace kest {
namespace {

constexpr std::size_t kFileSize = 16 << 20;

const testing::TempFolder& Folder() {
  static const testing::TempFolder folder;
  static const bool written = (folder.Write("big.dat", testing::CountingBytes(kFileSize)), true);
  (void)written;
  return folder;
}

template <typename ReadPiece>
void ReadInPieces(benchmark::State& state, ReadPiece read_piece) {
  const auto piece = static_cast<std::int64_t>(state.range(0));
  for (auto _ : state) {
    TVxBigFileStream file(Folder().File("big.dat"), kAccessRead);
    std::uint8_t buffer[256];
    std::int64_t total = 0;
    read_piece(file, buffer, piece, total);
    benchmark::DoNotOptimize(total);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(kFileSize));
}

void Streams_BufferedRead(benchmark::State& state) {
  ReadInPieces(state, [](TVxBigFileStream& file, std::uint8_t* buffer, std::int64_t piece, std::int64_t& total) {
    TVxBuffBigStream buffered(file);
    while (const std::int64_t n = buffered.Read(buffer, piece)) total += n;
  });
}

void Streams_PlainRead(benchmark::State& state) {
  ReadInPieces(state, [](TVxBigFileStream& file, std::uint8_t* buffer, std::int64_t piece, std::int64_t& total) {
    while (const std::int64_t n = file.Read(buffer, piece)) total += n;
  });
}

BENCHMARK(Streams_BufferedRead)->Arg(4)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK(Streams_PlainRead)->Arg(4)->Arg(64)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kest
