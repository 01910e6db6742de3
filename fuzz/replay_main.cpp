// Runs a fuzz target over its built-in seeds and the files given on the command line (files, or
// folders of files). With --write-seeds DIR it writes the seeds as files for a libFuzzer corpus.

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "fuzz_target.h"

namespace {

void RunOne(const kest::Bytes& input) { LLVMFuzzerTestOneInput(input.data(), input.size()); }

kest::Bytes ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return kest::Bytes(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<kest::Bytes> seeds = KestFuzzSeeds();
  if (argc == 3 && std::string(argv[1]) == "--write-seeds") {
    std::filesystem::create_directories(argv[2]);
    for (std::size_t i = 0; i < seeds.size(); ++i) {
      std::ofstream out(std::filesystem::path(argv[2]) / ("seed-" + std::to_string(i)), std::ios::binary);
      out.write(reinterpret_cast<const char*>(seeds[i].data()), static_cast<std::streamsize>(seeds[i].size()));
    }
    return 0;
  }
  std::size_t runs = 0;
  for (const kest::Bytes& seed : seeds) {
    RunOne(seed);
    ++runs;
  }
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path path(argv[i]);
    if (std::filesystem::is_directory(path)) {
      for (const auto& entry : std::filesystem::directory_iterator(path)) {
        RunOne(ReadFile(entry.path()));
        ++runs;
      }
    } else if (std::filesystem::exists(path)) {
      RunOne(ReadFile(path));
      ++runs;
    }
  }
  std::cout << "replayed " << runs << " inputs\n";
  return runs > 0 ? 0 : 1;
}
