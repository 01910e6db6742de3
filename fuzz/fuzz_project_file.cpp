// Reads the input as a project file and as an install file. Damaged files must end in
// FormatError, never a crash or a huge allocation.

#include "core/errors.h"
#include "fuzz_target.h"
#include "scenario/install_file.h"
#include "scenario/project_file.h"

std::vector<kest::Bytes> KestFuzzSeeds() {
  std::vector<kest::Bytes> seeds;
  for (std::int32_t version : {103, 106, 110}) {
    kest::ProjectFile project;
    project.version = version;
    project.Title = "seed";
    project.StartPage = "start.ksb";
    project.Variables = {{1, "a", std::int32_t{1}}, {2, "b", 1.5L}, {3, "c", true}, {4, "d", std::string("x")}};
    project.FolderDisks = {{"CG", 2}};
    seeds.push_back(kest::WriteProjectFile(project));
  }
  kest::InstallFile install;
  install.InstallId = "seed";
  install.installer_table = {{1, 2, 3, 4}};
  install.file_names = {"a.dat"};
  seeds.push_back(kest::WriteInstallFile(install));
  return seeds;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const kest::ByteSpan bytes(data, size);
  try {
    kest::ReadProjectFile(bytes, "kest.kpb");
  } catch (const kest::FormatError&) {
  }
  try {
    kest::ReadInstallFile(bytes, "install.dat");
  } catch (const kest::FormatError&) {
  }
  return 0;
}
