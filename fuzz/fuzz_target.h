#pragma once
// Every fuzz target defines LLVMFuzzerTestOneInput and KestFuzzSeeds. The seeds are built in code
// with the project's own writers, so the corpus is never a checked-in blob. The same source links
// with libFuzzer for `make fuzz`, and with replay_main.cpp into a plain program that ctest runs
// over the seeds and over any saved crash inputs in fuzz/corpus/<target>/.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/byte_reader.h"

std::vector<kest::Bytes> KestFuzzSeeds();
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
