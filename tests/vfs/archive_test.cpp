#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "core/errors.h"
#include "support/archive_builder.h"
#include "support/temp_folder.h"
#include "vfs/archive.h"
#include "vfs/deflate.h"

namespace kest {
namespace {

using ::testing::HasSubstr;
using testing::BuildArchive;
using testing::CountingBytes;
using testing::TempFolder;
using testing::TextBytes;

Bytes RandomBytes(std::size_t size, unsigned seed) {
  std::mt19937 generator(seed);
  Bytes bytes(size);
  for (auto& byte : bytes) byte = static_cast<std::uint8_t>(generator());
  return bytes;
}

TEST(Archive, EveryVersionRoundTrips) {
  const std::vector<testing::FileSpec> files = {
      {"kest.kpb", TextBytes("project")},
      {"page\\\x95\x5c.ksb", CountingBytes(5000)},  // "表": a trail byte equal to "\"
      {"empty.txt", {}},
  };
  for (std::int32_t version : {0, 100, 101, 102}) {
    SCOPED_TRACE(version);
    TVrFileCollection archive;
    archive.LoadFromMemory(BuildArchive(files, version), "test.dat");
    EXPECT_EQ(archive.Version(), version);
    ASSERT_EQ(archive.Count(), files.size() + 1);
    EXPECT_EQ(archive[files.size()].Name(), "\\EOF\\");
    for (const auto& file : files) EXPECT_EQ(archive.ReadEntry(file.name), file.content) << file.name;
    EXPECT_EQ(archive.ReadEntry("KEST.KPB"), TextBytes("project"));  // names ignore case
  }
}

TEST(Archive, HandBuiltScrambledVersion100IsRead) {
  // One entry "a": its name byte is XORed with the low byte of the first draw (0x6463202F), and
  // the offsets with the first two draws of a fresh generator (0x6463202F, 0x5A52C11A).
  const Bytes content = DeflateZlib(TextBytes("hello"));
  const std::uint32_t data_start = 2 + 4 + 4 + 4 + 1 + 8;
  ByteWriter raw;
  raw.Raw(std::string_view("vf"));
  raw.I32(100);
  raw.I32(1);
  raw.I32(1);
  raw.U8('a' ^ 0x2F);
  raw.U32(data_start ^ 0x6463202Fu);
  raw.U32(static_cast<std::uint32_t>(data_start + content.size()) ^ 0x5A52C11Au);
  raw.Raw(content);

  TVrFileCollection archive;
  archive.LoadFromMemory(raw.Take(), "v100.dat");
  EXPECT_EQ(archive[0].Name(), "a");
  EXPECT_EQ(archive.ReadEntry("a"), TextBytes("hello"));
}

TEST(Archive, WithoutSignatureNothingIsScrambled) {
  const Bytes content = DeflateZlib(TextBytes("plain"));
  ByteWriter raw;
  raw.I32(1);
  raw.LString("p.txt");
  raw.I32(4 + 9 + 8);
  raw.I32(static_cast<std::int32_t>(4 + 9 + 8 + content.size()));
  raw.Raw(content);
  TVrFileCollection archive;
  archive.LoadFromMemory(raw.Take(), "v0.dat");
  EXPECT_EQ(archive.Version(), 0);
  EXPECT_EQ(archive.ReadEntry("P.TXT"), TextBytes("plain"));
}

TEST(Archive, ALaterDuplicateWins) {
  TVrFileCollection archive;
  archive.LoadFromMemory(BuildArchive({{"same.txt", TextBytes("first")}, {"SAME.txt", TextBytes("second")}}), "dup.dat");
  EXPECT_EQ(archive.ReadEntry("same.txt"), TextBytes("second"));
  EXPECT_EQ(archive.IndexOf("same.txt"), 1);
}

TEST(Archive, DirectoryInACompanionFile) {
  TempFolder folder;
  const Bytes archive_bytes = BuildArchive({{"a.txt", TextBytes("from main")}}, 101);
  // The companion holds the same directory; offsets point into the main file.
  folder.Write("data.dat", archive_bytes);
  folder.Write("DATA.EXT", archive_bytes);
  TVrFileCollection archive;
  archive.LoadFromFile(folder.File("data.dat"));
  EXPECT_EQ(archive.ReadEntry("a.txt"), TextBytes("from main"));
}

TEST(Archive, AppendedToAnExecutable) {
  TempFolder folder;
  Bytes program = TextBytes("MZ pretend program bytes");
  const auto start = static_cast<std::int32_t>(program.size());
  const Bytes archive_bytes = BuildArchive({{"kest.kpb", TextBytes("appended")}});
  program.insert(program.end(), archive_bytes.begin(), archive_bytes.end());
  ByteWriter trailer;
  trailer.I32(start);
  trailer.Raw(std::string_view("kx"));
  program.insert(program.end(), trailer.Data().begin(), trailer.Data().end());
  folder.Write("Game.EXE", program);

  TVrFileCollection archive;
  archive.LoadFromFile(folder.File("Game.EXE"));
  EXPECT_EQ(archive.ReadEntry("kest.kpb"), TextBytes("appended"));
  EXPECT_EQ(archive.OpenRange("kest.kpb")->Size(), static_cast<std::int64_t>(DeflateZlib(TextBytes("appended")).size()));
}

TEST(Archive, AMissingFileIsAnEmptyArchiveOnThatFolder) {
  TVrFileCollection archive;
  archive.LoadFromFile("/nonexistent/kest/folder");
  EXPECT_EQ(archive.Count(), 0u);
  EXPECT_EQ(archive.BaseFolder(), "/nonexistent/kest/folder/");
  try {
    archive.ReadEntry("x.txt");
    FAIL();
  } catch (const KestError& error) {
    EXPECT_EQ(std::string(error.what()), "x.txt:\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xaa\x82\xa0\x82\xe8\x82\xdc\x82\xb9\x82\xf1");
  }
}

TEST(Archive, RealFileInItsFolderWinsOverTheEntry) {
  TempFolder folder;
  folder.Write("save.dat", BuildArchive({{"STATUSSAVEDATA", TextBytes("archived")}}));
  folder.Write("statussavedata", TextBytes("real"));
  TVrFileCollection archive;
  archive.LoadFromFile(folder.File("save.dat"));
  EXPECT_EQ(archive.ReadEntry("STATUSSAVEDATA"), TextBytes("real"));
}

TEST(Archive, WriterChoosesCompressionByKindAndGain) {
  TempFolder folder;
  folder.Write("title.ogg", CountingBytes(3000));          // sound: already compressed
  folder.Write("text.txt", CountingBytes(3000));           // compresses well
  folder.Write("noise.bin", RandomBytes(3000, 7));         // would not shrink by a tenth
  folder.Write("noext", CountingBytes(3000));              // no extension matches the list
  TVrFileCollection collection;
  collection.SetBaseFolder(folder.Path().string() + "/");
  for (const char* name : {"title.ogg", "text.txt", "noise.bin", "noext"}) collection.AddEntry(name);
  auto& memory = collection.AddMemoryEntry("mem.bin");
  const Bytes noise = RandomBytes(100, 9);
  memory.Data->Write(noise.data(), 100);

  TVxBigMemoryStream out;
  ASSERT_TRUE(collection.WriteArchive(out));
  TVrFileCollection archive;
  archive.LoadFromMemory(out.Memory().Data(), "written.dat");
  struct { const char* name; bool stored; } expected[] = {
      {"title.ogg", true}, {"text.txt", false}, {"noise.bin", true}, {"noext", true}, {"mem.bin", false}};
  for (auto e : expected) {
    SCOPED_TRACE(e.name);
    const TVrFile* entry = archive.Find(e.name);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->Stored, e.stored);
    EXPECT_NE(entry->TimeStamp == 0, std::string(e.name) != "mem.bin");
  }
  EXPECT_EQ(archive.ReadEntry("noise.bin"), RandomBytes(3000, 7));
  EXPECT_EQ(archive.ReadEntry("mem.bin"), noise);
}

TEST(Archive, RewritingCopiesEntriesFromItsOwnSource) {
  TVrFileCollection archive;
  archive.LoadFromMemory(BuildArchive({{"keep.txt", TextBytes("kept")}, {"drop.txt", TextBytes("x")}}), "save.dat");
  archive.DeleteEntry("drop.txt");
  archive.AddMemoryEntry("new.txt").Data->Write("new", 3);
  TVxBigMemoryStream out;
  ASSERT_TRUE(archive.WriteArchive(out));
  TVrFileCollection again;
  again.LoadFromMemory(out.Memory().Data(), "save.dat");
  EXPECT_EQ(again.ReadEntry("keep.txt"), TextBytes("kept"));
  EXPECT_EQ(again.ReadEntry("new.txt"), TextBytes("new"));
  EXPECT_EQ(again.IndexOf("drop.txt"), -1);
  const TVrFile& kept = *again.Find("keep.txt");
  EXPECT_EQ(kept.Checksum, Crc32(again.ReadStoredBytes(kept)));  // copied entries: CRC of what was written
}

struct HostileCase {
  const char* name;
  Bytes bytes;
  const char* message;
};

Bytes Hostile(std::initializer_list<std::function<void(ByteWriter&)>> parts) {
  ByteWriter out;
  for (const auto& part : parts) part(out);
  return out.Take();
}

TEST(Archive, HostileDirectoriesAreClearErrors) {
  const auto count = [](std::int32_t n) { return [n](ByteWriter& w) { w.I32(n); }; };
  const auto name = [](std::string_view text) { return [text](ByteWriter& w) { w.LString(text); }; };
  const auto offset = [](std::int32_t o) { return [o](ByteWriter& w) { w.I32(o); }; };
  const std::vector<HostileCase> cases = {
      {"negative count", Hostile({count(-1)}), "entry count -1"},
      {"huge count", Hostile({count(0x7FFFFFFF), name("a")}), "entry count 2147483647"},
      {"name past the end", Hostile({count(1), count(1000), offset(0), offset(0)}), "name of 1000 bytes"},
      {"decreasing offsets", Hostile({count(2), name("a"), name("b"), offset(10), offset(5), offset(20)}), "goes back"},
      {"offset past the end", Hostile({count(1), name("a"), offset(17), offset(5000)}), "past the end of the data"},
      {"truncated tables", Hostile({count(1), name("a"), offset(0)}), "needs 4 bytes"},
      {"unknown version", Hostile({[](ByteWriter& w) { w.Raw(std::string_view("vf")); }, count(103), count(0)}),
       "unknown archive version 103"},
  };
  for (const HostileCase& c : cases) {
    SCOPED_TRACE(c.name);
    TVrFileCollection archive;
    try {
      archive.LoadFromMemory(c.bytes, "hostile.dat");
      ADD_FAILURE() << "no error";
    } catch (const FormatError& error) {
      EXPECT_THAT(error.what(), HasSubstr("hostile.dat"));
      EXPECT_THAT(error.what(), HasSubstr(c.message));
    }
  }
}

TEST(Archive, HostileExecutableTrailersAreClearErrors) {
  TempFolder folder;
  const auto trailer = [](std::int32_t start) {
    ByteWriter out;
    out.Raw(std::string_view("MZ......"));
    out.I32(start);
    out.Raw(std::string_view("kx"));
    return out.Take();
  };
  folder.Write("outside.exe", trailer(1000));
  folder.Write("negative.exe", trailer(-4));
  folder.Write("nomark.exe", TextBytes("MZ program without archive"));
  for (const char* file : {"outside.exe", "negative.exe", "nomark.exe"}) {
    SCOPED_TRACE(file);
    TVrFileCollection archive;
    EXPECT_THROW(archive.LoadFromFile(folder.File(file)), FormatError);
  }
}

TEST(Archive, DamagedAndOversizedEntriesAreClearErrors) {
  Bytes archive_bytes = BuildArchive({{"big.txt", Bytes(1 << 20, 'z')}, {"cut.txt", CountingBytes(4000)}}, 101);
  TVrFileCollection archive;
  archive.SetInflateLimit(64 * 1024);  // a tiny limit stands in for a zlib bomb
  archive.LoadFromMemory(archive_bytes, "bomb.dat");
  try {
    archive.ReadEntry("big.txt");
    FAIL() << "no error";
  } catch (const FormatError& error) {
    EXPECT_THAT(error.what(), HasSubstr("inflates to more than 65536 bytes"));
    EXPECT_THAT(error.what(), HasSubstr("big.txt"));
  }
  // Damage the second entry's zlib data.
  const TVrFile& cut = *archive.Find("cut.txt");
  archive_bytes[static_cast<std::size_t>(cut.Offset + 10)] ^= 0xFF;
  archive_bytes[static_cast<std::size_t>(cut.Offset + 11)] ^= 0xFF;
  TVrFileCollection damaged;
  damaged.LoadFromMemory(archive_bytes, "damaged.dat");
  EXPECT_THROW(damaged.ReadEntry("cut.txt"), FormatError);
}

TEST(Archive, RangesCoverStoredBytesOnly) {
  TVrFileCollection archive;
  archive.LoadFromMemory(BuildArchive({{"a.ogg", CountingBytes(6'000'000)}, {"e", {}}}), "media.dat");
  const TVrFile& entry = *archive.Find("a.ogg");
  EXPECT_TRUE(entry.Stored);  // 5 MiB and more is stored raw
  auto range = archive.OpenRange("a.ogg");
  ASSERT_NE(range, nullptr);
  EXPECT_EQ(range->Size(), 6'000'000);
  Bytes head(16);
  range->Seek(1000, SeekOrigin::Begin);
  EXPECT_EQ(range->Read(head.data(), 16), 16);
  EXPECT_EQ(head, CountingBytes(16, 1000));
  EXPECT_EQ(archive.OpenRange("missing"), nullptr);
  EXPECT_EQ(archive.ReadEntry("e"), Bytes{});
}

}  // namespace
}  // namespace kest
