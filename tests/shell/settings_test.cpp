#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/errors.h"

#include "shell/game_ini.h"
#include "shell/instance_lock.h"
#include "support/temp_folder.h"

namespace kest::shell {
namespace {

TEST(GameIni, DelayTimeIsRoundedDownAndClamped) {
  struct { const char* text; std::int32_t delay; bool direct_sound; } cases[] = {
      {"[Sound]\nDelayTime=1234\n", 500, true},
      {"[Sound]\nDelayTime=250\nDirectSound=0\n", 200, false},
      {"[sound]\r\n delaytime = 40 \r\n", 100, true},
      {"[Sound]\nDelayTime=-50\n", 100, true},
      {"[Sound]\nDelayTime=199\n", 100, true},
      {"[Sound]\nDelayTime=-9223372036854775807\n", 100, true},
      {"[Sound]\nDelayTime=0x7FFFFFFFFFFFFFFF\n", 500, true},
      {"[Sound]\nDelayTime=fast\n", 500, true},
      {"[Other]\nDelayTime=200\n[Sound]\nDirectSound=1\n", 500, true},
      {"", 500, true},
  };
  for (auto c : cases) {
    SCOPED_TRACE(c.text);
    const SoundSettings settings = ParseGameIni(c.text);
    EXPECT_EQ(settings.delay_time, c.delay);
    EXPECT_EQ(settings.direct_sound, c.direct_sound);
  }
  EXPECT_EQ(ReadGameIni("/nonexistent/game.ini").delay_time, 500);
}

TEST(GameIni, TheFirstSectionAndKeyOfANameCount) {
  const SoundSettings settings = ParseGameIni("[Sound]\nDelayTime=300\nDelayTime=400\n[SOUND]\nDelayTime=200\n");
  EXPECT_EQ(settings.delay_time, 300);
}

TEST(GameIni, RewritingChangesOnlyTheTwoValues) {
  const SoundSettings off_200{.direct_sound = false, .delay_time = 200};
  struct { const char* name; const char* before; const char* after; } cases[] = {
      {"no file", "", "[Sound]\r\nDirectSound=0\r\nDelayTime=200\r\n"},
      {"in place, spelling and comments kept",
       "; mine\n[sound]\n directsound = 1\nDELAYTIME=500\n",
       "; mine\n[sound]\n directsound =0\nDELAYTIME=200\n"},
      {"missing key after the section's last line",
       "[Sound]\r\nDirectSound=1\r\n\r\n[Other]\r\nDelayTime=1\r\n",
       "[Sound]\r\nDirectSound=0\r\nDelayTime=200\r\n\r\n[Other]\r\nDelayTime=1\r\n"},
      {"new section after a last line without a break", "[Other]\nx=1",
       "[Other]\nx=1\n[Sound]\nDirectSound=0\nDelayTime=200\n"},
      {"a header without a break", "[Sound]", "[Sound]\r\nDirectSound=0\r\nDelayTime=200\r\n"},
      {"only the first of a name", "[Sound]\nDelayTime=1\nDelayTime=2\n[Sound]\nDirectSound=1\n",
       "[Sound]\nDelayTime=200\nDelayTime=2\nDirectSound=0\n[Sound]\nDirectSound=1\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string after = RewriteGameIni(c.before, off_200);
    EXPECT_EQ(after, c.after);
    const SoundSettings read = ParseGameIni(after);
    EXPECT_FALSE(read.direct_sound);
    EXPECT_EQ(read.delay_time, 200);
  }
}

TEST(GameIni, WritingReplacesTheFileOrLeavesItWhole) {
  testing::TempFolder folder;
  const std::string path = (folder.Path() / "game.ini").string();
  WriteGameIni(path, {.direct_sound = true, .delay_time = 300});
  EXPECT_EQ(ReadGameIni(path).delay_time, 300);

  // A file too big to be a settings file is not rewritten (and so never cut).
  const std::string big = "[Sound]\n" + std::string(kMaxGameIniBytes, ';');
  { std::ofstream(path, std::ios::binary) << big; }
  EXPECT_THROW(WriteGameIni(path, {}), KestError);
  EXPECT_EQ(std::filesystem::file_size(path), big.size());

  EXPECT_THROW(WriteGameIni((folder.Path() / "missing" / "game.ini").string(), {}), KestError);
}

TEST(InstanceLock, NameFollowsTheFolder) {
  EXPECT_EQ(SingleInstanceName("C:\\GAMES\\FOO"), "C:-GAMES-FOO-");
  EXPECT_EQ(SingleInstanceName("c:\\games\\foo\\"), "C:-GAMES-FOO-");
  EXPECT_EQ(SingleInstanceName("/home/me/foo"), "-HOME-ME-FOO-");
  EXPECT_EQ(SingleInstanceName("C:\\\x95\x5c"), "C:-\x95\x5c-");  // "表": its trail byte stays
}

TEST(InstanceLock, ASecondPlayerForTheSameFolderIsRefused) {
  testing::TempFolder locks;
  InstanceLock first("/games/one", locks.Path().string());
  ASSERT_TRUE(first.Acquired());
  InstanceLock second("/games/ONE/", locks.Path().string());
  EXPECT_FALSE(second.Acquired());
  EXPECT_TRUE(second.HeldByAnother());
  InstanceLock other("/games/two", locks.Path().string());
  EXPECT_TRUE(other.Acquired());
  EXPECT_FALSE(other.HeldByAnother());
}

TEST(InstanceLock, AnUnusableLockFolderDoesNotStopThePlayer) {
  InstanceLock lock("/games/one", "/nonexistent/folder");
  EXPECT_FALSE(lock.Acquired());
  EXPECT_FALSE(lock.HeldByAnother());
}

}  // namespace
}  // namespace kest::shell
