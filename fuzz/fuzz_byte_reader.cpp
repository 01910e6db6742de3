// Drives the bounded byte reader with instructions taken from the input itself: each byte picks
// the next read, so lengths and counts come from the rest of the data. Any error must be a
// FormatError; anything else (a crash, an overflow, a huge allocation) is a finding.

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/errors.h"
#include "fuzz_target.h"

std::vector<kest::Bytes> KestFuzzSeeds() {
  kest::ByteWriter all_reads;
  for (std::uint8_t op = 0; op < 12; ++op) all_reads.U8(op);
  all_reads.I32(3);
  all_reads.LString("abc");
  all_reads.StringList({"one", "two"});
  all_reads.Extended(2.5L);
  kest::ByteWriter lying;
  lying.U8(9);
  lying.I32(0x7FFFFFFF);
  return {all_reads.Take(), lying.Take(), {}};
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kest::ByteReader ops(kest::ByteSpan(data, size), "fuzz");
  try {
    // Seeks can go backwards, so the number of steps is bounded.
    for (int step = 0; step < 100'000 && !ops.AtEnd(); ++step) {
      switch (ops.U8() % 13) {
        case 0: ops.U8(); break;
        case 1: ops.I16(); break;
        case 2: ops.U32(); break;
        case 3: ops.I64(); break;
        case 4: ops.Bool(); break;
        case 5: ops.Extended(); break;
        case 6: ops.LString(); break;
        case 7: ops.StringList(); break;
        case 8: ops.Take(ops.U8()); break;
        case 9: ops.Count(ops.I32(), 4, "items"); break;
        case 10: ops.Seek(ops.U16()); break;
        case 11: ops.Skip(ops.U8()); break;
        default: ops.Chars(ops.U16()); break;
      }
    }
  } catch (const kest::FormatError&) {
  }
  return 0;
}
