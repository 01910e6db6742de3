#pragma once
// The demo title as the build compiles it, run by the real player in a private folder.

#include <string>
#include <vector>

#include "e2e_support.h"
#include "render/image_codec.h"

namespace kest::testing {

class DemoRun : public ::testing::Test {
 protected:
  ProgramRun Run(std::vector<std::string> options, const std::string& input = "") {
    std::vector<std::string> argv = {KESTPLAYER_BINARY, KEST_DEMO_FOLDER};
    if (!input.empty()) {
      work_.Write("input.txt", Bytes(input.begin(), input.end()));
      argv.insert(argv.end(), {"--input", work_.File("input.txt")});
    }
    argv.insert(argv.end(), options.begin(), options.end());
    return RunProgram(argv, work_.Path());
  }

  DecodedImage Screenshot(const std::string& name) const { return DecodePng(work_.Read(name), name); }

  // The demo folder is part of the build; its save.dat must not carry one test into the next.
  std::string SaveDir() const { return work_.Path().string(); }

  TempFolder work_;
};

inline std::uint32_t Pixel(const DecodedImage& image, int x, int y) {
  return image.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) + static_cast<std::size_t>(x)];
}

}  // namespace kest::testing
