// Writes the demo title's pictures, motion file and pointer into the compiled title:
// `make_demo_files DIR` reads DIR/kest.kpb for the identification code that scrambles the
// gallery's background.

#include <fstream>
#include <iostream>
#include <iterator>

#include "demo_files.h"
#include "scenario/project_file.h"

int main(int argc, char** argv) {
  using namespace kest;
  if (argc != 2) {
    std::cerr << "usage: make_demo_files TITLE_FOLDER\n";
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  try {
    std::ifstream in(folder / "kest.kpb", std::ios::binary);
    const Bytes project_bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    demo::WriteGalleryFiles(folder, ReadProjectFile(project_bytes, "kest.kpb").ImageSeed);
    demo::WriteAnimationFiles(folder);
  } catch (const std::exception& error) {
    std::cerr << "make_demo_files: " << error.what() << "\n";
    return 1;
  }
  return 0;
}
