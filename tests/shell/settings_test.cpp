#include <gtest/gtest.h>

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
