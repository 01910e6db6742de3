#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "core/errors.h"
#include "support/archive_builder.h"
#include "support/temp_folder.h"
#include "vfs/cd_roots.h"
#include "vfs/file_manager.h"
#include "vfs/game_mount.h"
#include "vfs/resources.h"

namespace kest {
namespace {

using testing::BuildArchive;
using testing::TempFolder;
using testing::TextBytes;

// A title folder with "game.dat", and a folder standing in for a mounted disk.
class FileManagerTest : public ::testing::Test {
 protected:
  FileManagerTest() {
    game_.Write("game.dat", BuildArchive({{"BGM\\title.ogg", TextBytes("archived ogg")},
                                          {"page\\start.ksb", TextBytes("archived page")},
                                          {"shared.txt", TextBytes("archived shared")}}));
  }

  std::unique_ptr<TVrFileManager> MakeManager() {
    auto files = std::make_unique<TVrFileManager>(FileManagerOptions{
        .extra_disk_roots = {disk_.Path().string()}, .scan_optical_mounts = false, .temp_parent = temp_.Path().string()});
    files->SetBaseFolder(game_.Path().string());
    files->Mount(game_.File("game.dat"));
    return files;
  }

  TempFolder game_, disk_, temp_;
};

TEST_F(FileManagerTest, BaseFolderHidesArchiveEntriesAndDiskRootsDoNot) {
  game_.Write("Page/START.KSB", TextBytes("real page"));  // case and separator differ
  disk_.Write("shared.txt", TextBytes("disk shared"));
  disk_.Write("only_on_disk.txt", TextBytes("disk only"));
  auto owner = MakeManager();
  TVrFileManager& files = *owner;
  EXPECT_EQ(files.ReadFile("page\\start.ksb"), TextBytes("real page"));
  EXPECT_EQ(files.ReadFile("shared.txt"), TextBytes("archived shared"));
  EXPECT_EQ(files.ReadFile("only_on_disk.txt"), TextBytes("disk only"));
  EXPECT_TRUE(files.Exists("bgm\\TITLE.OGG"));
  EXPECT_FALSE(files.Exists(""));
  EXPECT_FALSE(files.Exists("nothing.txt"));
}

TEST_F(FileManagerTest, MissingFilesRaiseThePlayersMessage) {
  auto owner = MakeManager();
  TVrFileManager& files = *owner;
  try {
    files.ReadFile("CG\\ev01.zel");
    FAIL() << "no error";
  } catch (const KestError& error) {
    EXPECT_EQ(std::string(error.what()),
              "CG\\ev01.zel:\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xaa\x82\xa0\x82\xe8\x82\xdc\x82\xb9\x82\xf1");
  }
  EXPECT_THROW(files.OpenRange("nothing"), KestError);
  EXPECT_EQ(files.Cache().Count(), 0u);  // a failed read leaves no cache item
}

TEST_F(FileManagerTest, NamesNeverLeaveTheirFolder) {
  game_.Write("inside.txt", TextBytes("inside"));
  TempFolder outside;
  outside.Write("secret.txt", TextBytes("secret"));
  auto owner = MakeManager();
  TVrFileManager& files = *owner;
  const std::string escape = "..\\" + outside.Path().filename().string() + "\\secret.txt";
  for (const std::string& name : {escape, outside.File("secret.txt"), std::string("\\etc\\passwd"),
                                  std::string("C:\\inside.txt"), std::string("sub\\..\\inside.txt")}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(files.Exists(name));
    EXPECT_THROW(files.ReadFile(name), KestError);
    EXPECT_EQ(files.RealFileName(name), "");
  }
  EXPECT_EQ(files.ReadFile(".\\inside.txt"), TextBytes("inside"));
}

TEST_F(FileManagerTest, CacheKeepsItsCopyUntilForgotten) {
  game_.Write("note.txt", TextBytes("first"));
  auto owner = MakeManager();
  TVrFileManager& files = *owner;
  EXPECT_EQ(files.ReadFile("note.txt"), TextBytes("first"));
  game_.Write("note.txt", TextBytes("second"));
  EXPECT_EQ(files.ReadFile("NOTE.TXT"), TextBytes("first"));
  files.ForgetCached("note.txt");
  EXPECT_EQ(files.ReadFile("note.txt"), TextBytes("second"));
}

TEST_F(FileManagerTest, CacheDropsTheLeastRecentlyUsedBeyondItsBudget) {
  for (int i = 0; i < 5; ++i) game_.Write("big" + std::to_string(i), Bytes(1'500'000, static_cast<std::uint8_t>(i)));
  auto owner = MakeManager();
  TVrFileManager& files = *owner;
  for (int i = 0; i < 5; ++i) files.ReadFile("big" + std::to_string(i));
  // Each new item evicts while the others exceed 4 MiB: three of 1.5 MB stay, plus the newest.
  EXPECT_EQ(files.Cache().Count(), 3u);
  EXPECT_EQ(files.Cache().Peek("big0"), nullptr);
  EXPECT_NE(files.Cache().Peek("BIG4"), nullptr);
}

TEST_F(FileManagerTest, MemoryFilesAreReadFromArchiveZeroAndNeverCached) {
  auto owner = MakeManager();
  TVrFileManager& files = *owner;
  files.Archive(TVrFileManager::kMemoryArchive).AddMemoryEntry("mem:shot").Data->Write("v1", 2);
  EXPECT_EQ(files.ReadFile("MEM:shot"), TextBytes("v1"));
  files.FindMemoryEntry("mem:shot")->Data->SetPosition(0);
  files.FindMemoryEntry("mem:shot")->Data->Write("v2", 2);
  EXPECT_EQ(files.ReadFile("mem:shot"), TextBytes("v2"));
  EXPECT_EQ(files.Cache().Peek("mem:shot"), nullptr);
}

TEST_F(FileManagerTest, MountingTheSameArchiveAgainGivesMinusOne) {
  auto owner = MakeManager();
  TVrFileManager& files = *owner;
  EXPECT_EQ(files.ArchiveCount(), 2);
  EXPECT_EQ(files.Mount(game_.File("game.dat")), -1);
  EXPECT_EQ(files.ArchiveCount(), 2);
  game_.Write("other.dat", BuildArchive({{"x", TextBytes("x")}}));
  EXPECT_EQ(files.Mount(game_.File("other.dat")), 2);
}

TEST_F(FileManagerTest, TemporaryCopiesAreSharedAndRemovedAtTheEnd) {
  std::string first, second;
  {
    auto owner = MakeManager();
  TVrFileManager& files = *owner;
    first = files.RealFileName("bgm\\title.ogg");
    second = files.RealFileName("BGM\\TITLE.OGG");
    EXPECT_EQ(first, second);
    EXPECT_THAT(first, ::testing::EndsWith("/~kx00000000.ogg"));
    ASSERT_EQ(files.Locks().Locks().size(), 1u);
    EXPECT_EQ(files.Locks().Locks()[0].use_count, 2);
    EXPECT_EQ(TempFolder::ReadPath(first), TextBytes("archived ogg"));
    EXPECT_EQ(std::filesystem::status(first).permissions() & std::filesystem::perms::others_read,
              std::filesystem::perms::none);
  }
  EXPECT_FALSE(std::filesystem::exists(first));
  EXPECT_TRUE(std::filesystem::is_empty(temp_.Path()));
}

TEST_F(FileManagerTest, RangesOverRealFilesAndEntries) {
  game_.Write("movie.mpg", Bytes(1000, 7));
  auto owner = MakeManager();
  TVrFileManager& files = *owner;
  EXPECT_EQ(files.OpenRange("movie.mpg")->Size(), 1000);
  std::unique_ptr<TStream> entry = files.OpenRange("shared.txt");
  EXPECT_GT(entry->Size(), 0);
}

TEST(FileManager, ParentFolderStepsOverDoubleByteCharacters) {
  struct { const char* name; const char* parent; } cases[] = {
      {"CG\\ev01.zel", "CG\\"}, {"a\\b\\c", "a\\b\\"}, {"plain.txt", ""}, {"\x95\x5c", ""}, {"d\\\x95\x5c", "d\\"}};
  for (auto c : cases) EXPECT_EQ(TVrFileManager::ParentFolder(c.name), c.parent) << c.name;
}

TEST(CdRoots, OpticalMountsComeFromTheMountTable) {
  const char table[] =
      "/dev/sda1 / ext4 rw 0 0\n"
      "/dev/sr0 /media/cdrom iso9660 ro 0 0\n"
      "/dev/sr1 /media/My\\040Disk udf ro 0 0\n"
      "garbage\n";
  EXPECT_THAT(OpticalMountPoints(table), ::testing::ElementsAre("/media/cdrom/", "/media/My Disk/"));
}

class ScriptedDiskPrompt : public TDiskPrompt {
 public:
  std::string ProjectTitle() const override { return "\x83\x51\x81\x5b\x83\x80"; }  // "ゲーム"
  bool AskForDisk(std::int32_t disk_number) override {
    asked.push_back(disk_number);
    if (on_ask) on_ask();
    return answers_ok.empty() ? false : (answers_ok.erase(answers_ok.begin()), true);
  }
  bool ConfirmQuit() override { return ++quit_confirmations > 1; }
  void RequestQuit() override { quit = true; }

  std::vector<bool> answers_ok;
  std::vector<std::int32_t> asked;
  std::function<void()> on_ask;
  int quit_confirmations = 0;
  bool quit = false;
};

Bytes InstallFile(std::int32_t disk_index, std::string_view install_id) {
  ByteWriter out;
  out.Raw(std::string_view("is107"));
  out.I32(disk_index);
  out.LString(install_id);
  out.Raw(std::string_view("installer fields that the player reads past"));
  return out.Take();
}

TEST_F(FileManagerTest, RequestDiskMountsTheRightDiskOrQuits) {
  auto owner = MakeManager();
  TVrFileManager& files = *owner;
  auto prompt = std::make_shared<ScriptedDiskPrompt>();
  files.SetDiskPrompt(prompt);

  // The first OK finds no disk; the user inserts disk 2 and answers OK again.
  prompt->answers_ok = {true, true};
  prompt->on_ask = [&] {
    if (prompt->asked.size() == 2) {
      disk_.Write("GAME.DAT", BuildArchive({{"CG\\ev01.zel", TextBytes("disk two")}}));
      disk_.Write("install.dat", InstallFile(1, prompt->ProjectTitle()));
    }
  };
  EXPECT_TRUE(files.RequestDisk(2));
  EXPECT_EQ(prompt->asked, (std::vector<std::int32_t>{2, 2}));
  EXPECT_EQ(files.ReadFile("CG\\ev01.zel"), TextBytes("disk two"));

  // Asking again unmounts the disk's archive first; a wrong disk and two cancels end in a quit.
  disk_.Write("install.dat", InstallFile(0, prompt->ProjectTitle()));
  prompt->answers_ok = {true};
  prompt->on_ask = nullptr;
  EXPECT_FALSE(files.RequestDisk(2));
  EXPECT_TRUE(prompt->quit);
  EXPECT_EQ(prompt->quit_confirmations, 2);
  EXPECT_FALSE(files.Exists("CG\\ev01.zel"));
}

TEST(GameMount, FoldersOnTheCommandLineMountTheirGameData) {
  TempFolder first, second;
  first.Write("Game.Dat", BuildArchive({{"a.txt", TextBytes("first")}}));
  second.Write("game.dat", BuildArchive({{"b.txt", TextBytes("second")}}));
  TVrFileManager files({.scan_optical_mounts = false});
  const std::vector<std::string> folders = {first.Path().string(), second.Path().string()};
  MountGameData(files, {.program_folder = "/usr/bin", .game_folders = folders});
  EXPECT_EQ(files.BaseFolder(), first.Path().string() + "/");
  EXPECT_EQ(files.ArchiveCount(), 3);
  EXPECT_EQ(files.ReadFile("a.txt"), TextBytes("first"));
  EXPECT_EQ(files.ReadFile("b.txt"), TextBytes("second"));
}

TEST(GameMount, WithoutFoldersTheProgramsOwnArchivesAreMounted) {
  // A resource archive is mounted when it ends in "vf": one stored entry whose bytes end so.
  Directory directory;
  directory.version = 101;
  directory.entries = {{.name = "kest.kpb", .stored = true}};
  ByteWriter archive;
  WriteDirectory(archive, directory);
  const std::int64_t start = static_cast<std::int64_t>(archive.Size());
  archive.Raw(std::string_view("project vf"));
  directory.entries[0].offset = start;
  directory.end_offset = static_cast<std::int64_t>(archive.Size());
  static Bytes bytes;  // registered resources live as long as the program
  bytes = archive.Take();
  WriteDirectoryTables(bytes, 0, directory);
  RegisterResource("BINTYPE", "DUMMY", bytes);

  TempFolder program;
  Bytes executable = TextBytes("MZ");
  const Bytes appended = BuildArchive({{"start.ksb", TextBytes("page")}});
  executable.insert(executable.end(), appended.begin(), appended.end());
  ByteWriter trailer;
  trailer.I32(2);
  trailer.Raw(std::string_view("kx"));
  executable.insert(executable.end(), trailer.Data().begin(), trailer.Data().end());
  program.Write("GAME.EXE", executable);

  TVrFileManager files({.scan_optical_mounts = false});
  MountGameData(files, {.program_folder = program.Path().string(), .title_executable = program.File("GAME.EXE")});
  EXPECT_EQ(files.BaseFolder(), program.Path().string() + "/");
  EXPECT_EQ(files.ArchiveCount(), 3);
  EXPECT_EQ(files.ReadFile("kest.kpb"), TextBytes("project vf"));
  EXPECT_EQ(files.ReadFile("start.ksb"), TextBytes("page"));
}

}  // namespace
}  // namespace kest
