// Reads an archive directory from the input and every entry it lists. Damaged directories and
// entries must end in FormatError or KestError, never a crash, a hang or a huge allocation.

#include "core/errors.h"
#include "fuzz_target.h"
#include "vfs/archive.h"

std::vector<kest::Bytes> KestFuzzSeeds() {
  std::vector<kest::Bytes> seeds;
  for (std::int32_t version : {0, 100, 101, 102}) {
    kest::TVrFileCollection collection;
    collection.AddMemoryEntry("kest.kpb").Data->Write("project file", 12);
    collection.AddMemoryEntry("page\\start.ksb").Data->Write("aaaaaaaaaaaaaaaaaaaaaaaa", 24);
    collection.AddMemoryEntry("empty");
    kest::TVxBigMemoryStream out;
    collection.WriteArchive(out, {.version = version});
    seeds.push_back(out.Memory().Data());
  }
  return seeds;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kest::TVrFileCollection archive;
  archive.SetInflateLimit(16 << 20);
  try {
    archive.LoadFromMemory(kest::Bytes(data, data + size), "fuzz.dat");
  } catch (const kest::KestError&) {
    return 0;
  }
  for (const auto& entry : archive) {
    try {
      archive.ReadEntry(entry->Name());
    } catch (const kest::KestError&) {
    }
  }
  return 0;
}
