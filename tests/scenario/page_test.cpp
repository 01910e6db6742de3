#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/byte_writer.h"
#include "core/errors.h"
#include "params/expression_compile.h"
#include "scenario/messages.h"
#include "scenario/page.h"

namespace kest {
namespace {

// An expression record compiled from text.
Bytes Expression(std::string_view text) { return CompileExpressionRecord(text); }

// Page bytes by hand: version, result type, property sets, then the command records given.
struct PageBytes {
  std::int32_t version = 110;
  std::int32_t set_count = 61, set_size = 21;
  std::vector<std::pair<int, std::vector<std::uint8_t>>> sets;  // set index, its bytes
  std::vector<Bytes> commands;

  Bytes Build() const {
    ByteWriter out;
    out.I32(version);
    out.U8(1);
    out.I32(set_count);
    out.I32(set_size);
    Bytes block(static_cast<std::size_t>(set_count * set_size), 0);
    for (const auto& [index, bytes] : sets)
      std::copy(bytes.begin(), bytes.end(), block.begin() + index * set_size);
    out.Raw(block);
    out.I32(static_cast<std::int32_t>(commands.size()));
    for (const Bytes& command : commands) out.Raw(command);
    return out.Take();
  }
};

// A command record: type byte, header (indent 0, flags, line), then the given field bytes.
Bytes Command(std::uint8_t type, std::initializer_list<Bytes> fields, std::int32_t line = 1) {
  ByteWriter out;
  out.U8(type);
  out.I32(0);
  out.Bool(false);
  out.Bool(true);
  out.I32(line);
  for (const Bytes& field : fields) out.Raw(field);
  return out.Take();
}

Bytes Text(std::string_view text) {
  ByteWriter out;
  out.LString(text);
  return out.Take();
}

TEST(Page, PropertySetsOfAnySizeFillTheSlots) {
  for (std::int32_t size : {25, 10}) {
    SCOPED_TRACE(size);
    PageBytes bytes;
    bytes.set_size = size;
    std::vector<std::uint8_t> box_set(static_cast<std::size_t>(size), 0);
    box_set[0] = 0x09;  // PR_NAME (0) and PR_LEFT (3)
    box_set[size - 1] = 0x80;  // beyond the 21 bytes the player reads when size is 25
    bytes.sets = {{8, box_set}};
    // With 10 bytes the last bit is property 79, a third expression; with 25 it lies past the
    // 21 bytes the player reads, so it is ignored.
    bytes.commands = {size == 10 ? Command(8, {Expression("\"box\""), Expression("10"), Expression("1")})
                                 : Command(8, {Expression("\"box\""), Expression("10")})};
    TPage page;
    const Bytes file = bytes.Build();
    page.Parse(file, "p.ksb");
    ASSERT_EQ(page.Commands.size(), 1u);
    EXPECT_TRUE(page.HasProperty(8, 0));
    EXPECT_TRUE(page.HasProperty(8, 3));
    EXPECT_EQ(page.HasProperty(8, static_cast<std::size_t>(size - 1) * 8 + 7), size == 10);
    EXPECT_EQ(page.Write(), file);  // written back exactly, extra bytes included
  }
}

TEST(Page, TypeByteKeepsOnlyItsLowSevenBits) {
  PageBytes bytes;
  bytes.commands = {Command(0x88, {})};  // BoxNew with bit 7 set; its property set is empty
  TPage page;
  const Bytes file = bytes.Build();
  page.Parse(file, "p.ksb");
  EXPECT_EQ(page.Commands[0]->Spec().name, "BoxNew");
  EXPECT_EQ(page.Commands[0]->Spec().class_name, "TComBoxNew");
  EXPECT_EQ(page.Write(), file);
}

TEST(Page, VersionGatedFieldsAreAbsentInOlderPages) {
  // Wait at 106: condition and time only. GameSave at 104: slot, page, caption (no index).
  PageBytes bytes;
  bytes.version = 104;
  bytes.commands = {Command(7, {Expression("TRUE"), Expression("500")}),
                    Command(38, {Expression("1"), Text("start.ksb"), Expression("\"cap\"")})};
  TPage page;
  const Bytes file = bytes.Build();
  page.Parse(file, "old.ksb");
  const TCommand& wait = *page.Commands[0];
  EXPECT_FALSE(wait.Fields[2].present);
  const TCommand& save = *page.Commands[1];
  EXPECT_EQ(save.Fields[1].text, "start.ksb");
  EXPECT_FALSE(save.Fields[2].present);
  EXPECT_GT(save.Fields[3].expression->Count(), 0u);
  EXPECT_EQ(page.Write(), file);
}

TEST(Page, TheClassesFixTheirFlags) {
  PageBytes bytes;
  ByteWriter comment;
  comment.U8(27);  // Comment: stored as enabled and not continuing
  comment.I32(0);
  comment.Bool(false);
  comment.Bool(false);
  comment.I32(1);
  comment.LString("note");
  bytes.commands = {comment.Take(), Command(2, {}), Command(46, {}), Command(3, {Text("top")})};
  TPage page;
  page.Parse(bytes.Build(), "p.ksb");
  EXPECT_TRUE(page.Commands[0]->IsDisabled());        // a comment is always disabled
  EXPECT_TRUE(page.Commands[1]->ContinuesFrame());    // Else always continues
  EXPECT_FALSE(page.Commands[2]->ContinuesFrame());   // DoEvent never does
  EXPECT_EQ(page.FindLabel("top"), 3);
  EXPECT_EQ(page.FindLabel("TOP"), -1);               // labels compare exactly
  EXPECT_EQ(page.FindLabel("note"), -1);              // a comment is no label
}

TEST(Page, VersionsOutsideTheRange) {
  PageBytes newer;
  newer.version = 111;
  newer.commands = {Command(99, {})};  // never read
  TPage page;
  page.Parse(newer.Build(), "new.ksb");
  EXPECT_TRUE(page.Commands.empty());

  PageBytes older;
  older.version = 102;
  try {
    page.Parse(older.Build(), "old.ksb");
    FAIL() << "no error";
  } catch (const PageTooOldError& error) {
    EXPECT_EQ(std::string(error.what()), "old.ksb\r\n" + Message(ScenarioMessage::Rebuild));
  }
}

TEST(Page, HostilePagesAreClearErrors) {
  PageBytes unknown;
  unknown.commands = {Command(61, {})};
  TPage page;
  try {
    page.Parse(unknown.Build(), "p.ksb");
    FAIL() << "no error";
  } catch (const FormatError&) {
    FAIL() << "an unknown command is the player's own error";
  } catch (const KestError& error) {
    EXPECT_EQ(std::string(error.what()), Message(ScenarioMessage::BadCommand));
  }

  Bytes huge = PageBytes{}.Build();
  huge[huge.size() - 4] = 0xFF;  // the command count: 2^31 - 1
  huge[huge.size() - 3] = 0xFF;
  huge[huge.size() - 2] = 0xFF;
  huge[huge.size() - 1] = 0x7F;
  EXPECT_THROW(page.Parse(huge, "p.ksb"), FormatError);

  PageBytes cut;
  cut.commands = {Command(14, {Expression("x = 1")})};
  const Bytes cut_file = cut.Build();
  EXPECT_THROW(page.Parse(ByteSpan(cut_file.data(), cut_file.size() - 3), "p.ksb"), FormatError);

  Bytes lying = PageBytes{}.Build();
  lying[5] = 0;  // set count 0x10000 ...
  lying[6] = 0;
  lying[7] = 1;
  lying[9] = 0;  // ... of 0x10000 bytes
  lying[10] = 0;
  lying[11] = 1;
  EXPECT_THROW(page.Parse(lying, "p.ksb"), FormatError);
}

}  // namespace
}  // namespace kest
