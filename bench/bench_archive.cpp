// Reading every entry of a large archive of compressed entries, against a bare zlib inflate of
// the same entries into buffers of the right size (zlib's best case: the size known up front).

#include <benchmark/benchmark.h>
#include <zlib.h>

#include "vfs/archive.h"

namespace kest {
namespace {

constexpr int kEntries = 256;
constexpr std::size_t kEntrySize = 96 * 1024;

// Script-like text: compressible, but not trivially.
Bytes EntryContent(int index) {
  Bytes content(kEntrySize);
  std::uint32_t state = 0x9E3779B9u * static_cast<std::uint32_t>(index + 1);
  static constexpr char kWords[][8] = {"Call ", "Wait ", "@Sel", "page\\", "Text ", "If ", "x = ", "+ 1\r\n"};
  for (std::size_t i = 0; i < kEntrySize;) {
    state = state * 1664525u + 1013904223u;
    for (const char* c = kWords[state >> 29]; *c && i < kEntrySize; ++c) content[i++] = static_cast<std::uint8_t>(*c);
    if (i < kEntrySize) content[i++] = static_cast<std::uint8_t>('0' + (state >> 8) % 10);
  }
  return content;
}

struct Fixture {
  TVrFileCollection archive;
  std::vector<Bytes> compressed;
  Fixture() {
    TVrFileCollection source;
    for (int i = 0; i < kEntries; ++i) {
      const Bytes content = EntryContent(i);
      source.AddMemoryEntry("page" + std::to_string(i) + ".ksb").Data->Write(content.data(), kEntrySize);
    }
    TVxBigMemoryStream out;
    source.WriteArchive(out);
    archive.LoadFromMemory(out.Memory().Data(), "bench.dat");
    for (int i = 0; i < kEntries; ++i) compressed.push_back(archive.ReadStoredBytes(archive[static_cast<std::size_t>(i)]));
  }
};

Fixture& Shared() {
  static Fixture fixture;
  return fixture;
}

void Archive_ReadEveryEntry(benchmark::State& state) {
  Fixture& fixture = Shared();
  for (auto _ : state) {
    for (int i = 0; i < kEntries; ++i) {
      Bytes content = fixture.archive.ReadEntry(fixture.archive[static_cast<std::size_t>(i)].Name());
      benchmark::DoNotOptimize(content.data());
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kEntries * static_cast<std::int64_t>(kEntrySize));
}

void Archive_BareZlibInflate(benchmark::State& state) {
  Fixture& fixture = Shared();
  Bytes output(kEntrySize);
  for (auto _ : state) {
    for (const Bytes& compressed : fixture.compressed) {
      uLongf size = kEntrySize;
      if (uncompress(output.data(), &size, compressed.data(), static_cast<uLong>(compressed.size())) != Z_OK)
        state.SkipWithError("inflate failed");
      benchmark::DoNotOptimize(output.data());
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kEntries * static_cast<std::int64_t>(kEntrySize));
}

BENCHMARK(Archive_ReadEveryEntry)->Unit(benchmark::kMillisecond);
BENCHMARK(Archive_BareZlibInflate)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kest
