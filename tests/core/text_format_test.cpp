#include <gtest/gtest.h>

#include "core/messages.h"
#include "core/text_format.h"

namespace kest {
namespace {

TEST(FillMessage, FillsPlacesInOrderAndLeavesTheRest) {
  EXPECT_EQ(FillMessage("%s:missing", {"a.txt"}), "a.txt:missing");
  EXPECT_EQ(FillMessage("[%d,%d]", {"3", "0"}), "[3,0]");
  EXPECT_EQ(FillMessage("100% %x %s %s", {"one"}), "100% %x one %s");
  // An argument is inserted as it is, never read as a pattern itself.
  EXPECT_EQ(FillMessage("%s/%s", {"%s", "b"}), "%s/b");
}

enum class DemoMessage { Missing, kCount };

TEST(MessageTable, HoldsCp932Bytes) {
  const MessageTable<DemoMessage, 1> table({"%s:ファイルがありません"});
  EXPECT_EQ(table[DemoMessage::Missing],
            "%s:\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xaa\x82\xa0\x82\xe8\x82\xdc\x82\xb9\x82\xf1");
}

}  // namespace
}  // namespace kest
