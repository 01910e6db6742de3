#include <gtest/gtest.h>

#include "core/errors.h"
#include "scenario/install_file.h"

namespace kest {
namespace {

InstallFile SampleInstall(std::int32_t version) {
  InstallFile f;
  f.version = version;
  f.DiskIndex = 1;
  f.InstallId = "Demo";
  f.installer_texts = {"a", "b", "c"};
  f.installer_table = {{1, 2, 3, 4}, {5, 6, 7, 8}};
  f.installer_values = {9, 10, 11, 12};
  if (version >= 102) f.file_names = {"x.dat", "", "y.dat"};
  if (version >= 103) f.FullInstall = true;
  if (version >= 106) f.installer_list = {"p", "q"};
  if (version >= 107) f.installer_text6 = "last";
  return f;
}

TEST(InstallFile, EveryVersionRoundTrips) {
  for (std::int32_t version : {0, 99, 100, 101, 102, 103, 104, 105, 106, 107}) {
    SCOPED_TRACE(version);
    const InstallFile file = SampleInstall(version);
    const Bytes bytes = WriteInstallFile(file);
    const InstallFile back = ReadInstallFile(bytes, "install.dat");
    EXPECT_EQ(back, file);
    EXPECT_EQ(WriteInstallFile(back), bytes);
  }
}

TEST(InstallFile, BrokenFilesAreFormatErrors) {
  const Bytes bytes = WriteInstallFile(SampleInstall(107));
  EXPECT_THROW(ReadInstallFile(ByteSpan(bytes.data(), bytes.size() - 1), "install.dat"), FormatError);
  const Bytes bad_digits = {'i', 's', '1', 'x', '7', 0, 0, 0, 0};
  EXPECT_THROW(ReadInstallFile(bad_digits, "install.dat"), FormatError);
}

}  // namespace
}  // namespace kest
