// Bad input through the real programs: every sub-command of `kest`, and the player's start-up,
// over missing, empty, truncated and random files, pages and projects of versions the player does
// not read, and folders that hold no title. Each ends with status 1 or 2 (never 0, never a
// signal), says what is wrong in exactly one line of UTF-8 on standard error that names the
// command and the file, and writes nothing where its output would have gone.

#include <filesystem>
#include <functional>
#include <random>

#include "core/cp932.h"
#include "e2e_support.h"
#include "scenario/page.h"
#include "scenario/project_file.h"
#include "support/archive_builder.h"

namespace kest::testing {
namespace {

namespace fs = std::filesystem;

Bytes PageOfVersion(std::int32_t version) {
  TPage page;
  page.Name = "start.ksb";
  page.Version = version;
  return page.Write();
}

Bytes ProjectOfVersion(std::int32_t version) {
  ProjectFile project;
  project.version = version;
  project.ScreenWidth = 640;
  project.ScreenHeight = 480;
  project.StartPage = "start.ksb";
  return WriteProjectFile(project);
}

Bytes RandomBytes(std::size_t length) {
  std::mt19937 generator(12341);
  Bytes bytes(length);
  for (std::uint8_t& byte : bytes) byte = static_cast<std::uint8_t>(generator());
  return bytes;
}

// A whole title packed into one archive, then cut in the middle of its directory.
Bytes TruncatedArchive() {
  Bytes archive = BuildArchive({{"kest.kpb", ProjectOfVersion(110)}, {"start.ksb", PageOfVersion(110)}});
  archive.resize(archive.size() - 9);
  return archive;
}

// A line is UTF-8 for a person when cleaning it changes nothing: no byte that is not UTF-8, no
// control byte.
bool IsCleanUtf8(const std::string& line) { return cp932::SanitizeUtf8Line(line) == line; }

class BadInput : public ::testing::Test {
 protected:
  BadInput() {
    folder_.Write("empty.dat", {});
    folder_.Write("truncated.dat", TruncatedArchive());
    folder_.Write("random.dat", RandomBytes(4096));
    folder_.Write("old.ksb", PageOfVersion(102));
    folder_.Write("new.ksb", PageOfVersion(111));
    folder_.Write("empty.ksb", {});
    folder_.Write("random.ksb", RandomBytes(700));
    folder_.Write("newer/kest.kpb", ProjectOfVersion(111));
    folder_.Write("newer/start.ksb", PageOfVersion(110));
    Bytes cut_project = ProjectOfVersion(110);
    cut_project.resize(7);
    folder_.Write("cut/kest.kpb", cut_project);
    folder_.Write("no-title/readme.txt", TextBytes("nothing to play here"));
    folder_.Write("no-project/game.dat", BuildArchive({{"start.ksb", PageOfVersion(110)}}));
    folder_.Write("old-pages/kest.kpb", ProjectOfVersion(110));
    folder_.Write("old-pages/start.ksb", PageOfVersion(102));
  }

  std::string In(const std::string& name) const { return folder_.File(name); }
  std::string Out() const { return folder_.File("out"); }

  // Runs the program and checks what every bad input must give; returns the one error line.
  std::string ExpectOneErrorLine(const std::vector<std::string>& argv, const std::string& prefix) {
    const ProgramRun run = RunProgram(argv, folder_.Path());
    std::string shown;
    for (std::size_t i = 1; i < argv.size(); ++i) shown += " " + argv[i];
    EXPECT_TRUE(run.status == 1 || run.status == 2) << shown << ": status " << run.status << "\n" << run.err;
    const std::vector<std::string> lines = SplitLines(run.err);
    EXPECT_EQ(lines.size(), 1u) << shown << ":\n" << run.err;
    EXPECT_FALSE(fs::exists(Out())) << shown << " wrote its output";
    if (lines.empty()) return {};
    EXPECT_TRUE(lines[0].starts_with(prefix)) << shown << ": " << lines[0];
    EXPECT_TRUE(IsCleanUtf8(lines[0])) << shown << ": not clean UTF-8: " << lines[0];
    return lines[0];
  }

  TempFolder folder_;
};

TEST_F(BadInput, EveryKestSubCommandEndsWithOneLineNamingTheFile) {
  struct Case {
    std::vector<std::string> arguments;  // after "kest"; "IN" is replaced by the input's path, "OUT" by the output's
    std::vector<std::string> inputs;
    std::string says;  // a piece of the message
  };
  const std::vector<std::string> not_archives = {"nosuch.dat", "empty.dat", "truncated.dat", "random.dat",
                                                 "old.ksb", "no-title"};
  const std::vector<Case> cases = {
      {{"pack", "IN", "-o", "OUT"}, {"nosuch", "empty.dat", "random.dat"}, ""},
      {{"ls", "IN"}, not_archives, ""},
      {{"unpack", "IN", "-o", "OUT"}, not_archives, ""},
      {{"verify", "IN"}, not_archives, ""},
      {{"compile", "IN", "-o", "OUT"}, {"nosuch", "empty.dat", "no-title"}, ""},
      {{"compile", "IN", "--pack", "OUT"}, {"nosuch", "no-title"}, ""},
      {{"dump", "IN", "-o", "OUT"}, {"nosuch", "empty.dat", "truncated.dat", "random.dat", "no-title", "no-project"}, ""},
      {{"dump", "IN", "-o", "OUT"}, {"no-title"}, "neither game.dat nor kest.kpb"},
      {{"dump", "IN", "-o", "OUT"}, {"no-project"}, "holds no kest.kpb"},
      {{"dump", "IN"}, {"nosuch.ksb", "empty.ksb", "random.ksb"}, ""},
      {{"dump", "IN"}, {"new.ksb"}, "page version 111 is newer than this tool reads (at most 110)"},
      {{"dump", "IN"}, {"newer/kest.kpb"}, "project version 111 is newer than this tool reads (at most 110)"},
      {{"dump", "IN"}, {"cut/kest.kpb"}, "offset"},
  };
  for (const Case& c : cases) {
    for (const std::string& input : c.inputs) {
      std::vector<std::string> argv = {KEST_BINARY};
      for (const std::string& argument : c.arguments)
        argv.push_back(argument == "IN" ? In(input) : argument == "OUT" ? Out() : argument);
      const std::string line = ExpectOneErrorLine(argv, "kest " + c.arguments[0] + ": ");
      EXPECT_NE(line.find(In(input)), std::string::npos) << "the message names no file: " << line;
      EXPECT_NE(line.find(c.says), std::string::npos) << line;
    }
  }
}

TEST_F(BadInput, APageTooOldToReadIsTheRebuildMessageInUtf8) {
  const std::string line = ExpectOneErrorLine({KEST_BINARY, "dump", In("old.ksb")}, "kest dump: ");
  EXPECT_NE(line.find("リビルドしてください"), std::string::npos) << line;
}

TEST_F(BadInput, ABadExpressionAndBadArgumentsSayWhy) {
  ExpectOneErrorLine({KEST_BINARY, "expr", "(1 +"}, "kest expr: ");
  ExpectOneErrorLine({KEST_BINARY, "pack", In("no-title")}, "usage: kest pack");
  ExpectOneErrorLine({KEST_BINARY, "nosuch"}, "kest: unknown command");
}

TEST_F(BadInput, TheCompilerShowsFiftyErrorsThenCountsTheRest) {
  std::string page;
  for (int i = 0; i < 60; ++i) page += "Frobnicate " + std::to_string(i) + "\n";
  folder_.Write("src/project.kest", TextBytes("title \"T\"\nscreen 640 480\nstart-page \"start.ksb\"\n"));
  folder_.Write("src/start.kss", TextBytes(page));
  const ProgramRun run = RunProgram({KEST_BINARY, "compile", In("src"), "-o", Out()}, folder_.Path());
  EXPECT_EQ(run.status, 1);
  const std::vector<std::string> lines = SplitLines(run.err);
  ASSERT_EQ(lines.size(), 52u) << run.err;
  EXPECT_EQ(lines[0], "kest compile: " + In("src/start.kss") + ":1:1: unknown command 'Frobnicate'");
  EXPECT_EQ(lines[49], "kest compile: " + In("src/start.kss") + ":50:1: unknown command 'Frobnicate'");
  EXPECT_EQ(lines[50], "kest compile: and 10 more");
  EXPECT_EQ(lines[51], "kest compile: " + In("src") + ": 60 errors, nothing written");
  EXPECT_FALSE(fs::exists(Out()));
}

TEST_F(BadInput, ThePlayerSaysWhyATitleDoesNotStart) {
  struct Case {
    std::string folder;
    std::string says;
  };
  const std::vector<Case> cases = {
      {"nosuch", ": no such folder"},
      {"random.dat", ": not a folder"},
      {"no-title", " holds neither game.dat nor kest.kpb"},
      {"no-project", "game.dat holds no kest.kpb"},
      {"newer", "kest.kpb is of version 111, newer than this player reads (at most 110)"},
      {"old-pages", "リビルドしてください"},
  };
  for (const Case& c : cases) {
    const std::string line =
        ExpectOneErrorLine({KESTPLAYER_BINARY, "--headless", In(c.folder), "--frames", "3"}, "kestplayer: ");
    EXPECT_NE(line.find(c.says), std::string::npos) << c.folder << ": " << line;
  }
}

TEST_F(BadInput, ThePlayerSaysWhenItCannotReadTheFolder) {
  if (::geteuid() == 0) GTEST_SKIP() << "the superuser reads every folder, so none can be made unreadable";
  fs::create_directories(In("locked"));
  fs::permissions(In("locked"), fs::perms::none);
  const std::string line =
      ExpectOneErrorLine({KESTPLAYER_BINARY, "--headless", In("locked"), "--frames", "3"}, "kestplayer: ");
  fs::permissions(In("locked"), fs::perms::owner_all);
  EXPECT_NE(line.find("cannot be read"), std::string::npos) << line;
}

}  // namespace
}  // namespace kest::testing
