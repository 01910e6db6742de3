#include <gtest/gtest.h>

#include "platform/desktop.h"

namespace kest::platform {
namespace {

TEST(Desktop, TheTargetIsOneArgumentOfXdgOpen) {
  using Command = std::optional<std::vector<std::string>>;
  EXPECT_EQ(DefaultHandlerCommand("https://example.org/a b?c=1&d=$(rm -rf ~)"),
            (Command{{"xdg-open", "https://example.org/a b?c=1&d=$(rm -rf ~)"}}));
  EXPECT_EQ(DefaultHandlerCommand("\x95\x5C.txt"), (Command{{"xdg-open", "表.txt"}}));  // CP932 to UTF-8
  EXPECT_EQ(DefaultHandlerCommand(""), std::nullopt);
  EXPECT_EQ(DefaultHandlerCommand("--help"), std::nullopt);  // would be read as an option
  EXPECT_EQ(DefaultHandlerCommand("\x81"), std::nullopt);    // a lead byte without its trail byte
}

TEST(Desktop, SpawningReportsWhetherTheProgramStarted) {
  EXPECT_TRUE(SpawnDetached({"true"}));
  EXPECT_FALSE(SpawnDetached({"kest-no-such-program-anywhere"}));
  EXPECT_FALSE(SpawnDetached({}));
}

}  // namespace
}  // namespace kest::platform
