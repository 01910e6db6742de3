#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/byte_writer.h"
#include "core/cp932.h"
#include "params/property_types.h"
#include "scenario/page.h"
#include "source/page_source.h"
#include "source/source_text.h"
#include "source/title_source.h"
#include "support/temp_folder.h"
#include "vfs/archive.h"

namespace kest::source {
namespace {

using ::testing::HasSubstr;
using kest::testing::TempFolder;

void WriteText(const TempFolder& folder, const std::string& name, std::string_view text) {
  folder.Write(name, Bytes(text.begin(), text.end()));
}

constexpr std::string_view kProject = "title \"Test\"\nscreen 640 480\nstart-page \"start.ksb\"\n";

// One line per command type, each field given a value of its kind.
std::string EveryCommandType() {
  std::string text = "Label top\n";
  for (const CommandSpec& spec : CommandSpecs()) {
    std::string line = std::string(spec.name);
    std::vector<std::string> arguments;
    for (const FieldSpec& field : spec.fields) {
      const std::string key = std::string(field.key) + ": ";
      switch (field.kind) {
        case FieldKind::Expression: arguments.push_back(key + (field.role == FieldRole::Condition ? "x > 1" : "y + 2")); break;
        case FieldKind::String:
          arguments.push_back(key + (field.role == FieldRole::PageName ? "start.ksb:top" : "\"a, b\""));
          break;
        case FieldKind::Int:
          if (field.role == FieldRole::Plain) arguments.push_back(key + "7");
          // Every line is at the top, outside any While: a WhileLoop there needs its target.
          if (field.role == FieldRole::LoopStart) arguments.push_back(key + "0");
          break;
        case FieldKind::Byte: arguments.push_back(key + "2"); break;
        case FieldKind::ExpressionList: arguments.push_back(key + "(1, \"s\", z * 3)"); break;
        case FieldKind::Properties: arguments.push_back("PR_NAME: \"obj\", PR_LEFT: 3, PR_ONLBTNDOWN: \"p.ksb:l\""); break;
        case FieldKind::Text: arguments.push_back(key + "\"line one\\nline <b>two</b>\""); break;
      }
    }
    for (std::size_t a = 0; a < arguments.size(); ++a) line += (a ? ", " : " ") + arguments[a];
    text += line + "\n";
  }
  return text;
}

Bytes ReadFile(const std::string& path) { return TempFolder::ReadPath(path); }

// compile SRC → OUT, dump OUT → SRC2, compile SRC2 → OUT2; the outputs must be identical.
void ExpectRoundTrip(const TempFolder& work, const std::vector<std::string>& files) {
  CompileTitle({.source_folder = work.File("src"), .output_folder = work.File("out")});
  const DumpReport dumped = DumpTitle(work.File("out"), work.File("src2"));
  EXPECT_THAT(dumped.warnings, ::testing::IsEmpty());
  CompileTitle({.source_folder = work.File("src2"), .output_folder = work.File("out2")});
  for (const std::string& file : files)
    EXPECT_EQ(ReadFile(work.File("out/" + file)), ReadFile(work.File("out2/" + file))) << file;
}

TEST(TitleSource, EveryCommandTypeRoundTrips) {
  TempFolder work;
  WriteText(work, "src/project.kest", kProject);
  WriteText(work, "src/start.kss", EveryCommandType());
  ExpectRoundTrip(work, {"kest.kpb", "start.ksb"});
  TPage page;
  page.Parse(ReadFile(work.File("out/start.ksb")), "start.ksb");
  EXPECT_EQ(page.Commands.size(), kCommandTypeCount + 1);
}

TEST(TitleSource, PagesOfEveryVersionRoundTrip) {
  for (std::int32_t version = kOldestPageVersion; version <= kNewestPageVersion; ++version) {
    SCOPED_TRACE(version);
    TempFolder work;
    WriteText(work, "src/project.kest", kProject);
    WriteText(work, "src/start.kss", "page-version " + std::to_string(version) + "\n" + EveryCommandType());
    ExpectRoundTrip(work, {"start.ksb"});
    TPage page;
    page.Parse(ReadFile(work.File("out/start.ksb")), "start.ksb");
    EXPECT_EQ(page.Version, version);
  }
}

TEST(TitleSource, OddPagesFromOtherCompilersRoundTrip) {
  // A page the title compiler would never write: sets of 25 bytes, a type byte with bit 7, line
  // numbers going backwards, stored loop targets that disagree with the indentation, and
  // expressions that no text compiles to.
  TempFolder work;
  WriteText(work, "src/project.kest", kProject);
  WriteText(work, "src/start.kss",
            "property-sets 61 25\n"
            "property-set 8 090000000000000000000000000000000000000000000000FF\n"
            "[type=136 line=900] BoxNew PR_NAME: \"b\"\n"
            "[line=3] While TRUE, exit: 40\n"
            "  [indent=-2] Break TRUE, target: 7\n"
            "WhileLoop loop: 0\n"
            "Calc {ocTo \"x\" i:-5}\n"
            "Calc {ocPlus \"____0\" v:\"a\" f:0000000000000080FF3F; ocTo \"____arg\" v:\"____0\"}\n"
            "If {}\n");
  ExpectRoundTrip(work, {"start.ksb"});
}

TEST(TitleSource, StructureFillsLoopAndJumpTargets) {
  TempFolder work;
  WriteText(work, "src/project.kest", kProject);
  WriteText(work, "src/start.kss",
            "Label top\n"              // 0
            "WhileInit i = 0\n"        // 1
            "While i < 3\n"            // 2
            "  Break i == 2\n"         // 3
            "  Continue i == 1\n"      // 4
            "  WhileLoop i = i + 1\n"  // 5
            "Break\n"                  // 6: outside a loop ends the page
            "Jump other.ksb:there\n"); // 7
  WriteText(work, "src/other.kss", "Calc a = 1\nLabel there\n");
  CompileTitle({.source_folder = work.File("src"), .output_folder = work.File("out")});
  TPage page;
  page.Parse(ReadFile(work.File("out/start.ksb")), "start.ksb");
  EXPECT_EQ(page.Commands[2]->Fields[1].number, 6);   // While exits to the first command after the loop
  EXPECT_EQ(page.Commands[3]->Fields[1].number, 6);   // Break leaves the loop
  EXPECT_EQ(page.Commands[4]->Fields[1].number, 5);   // Continue goes to the loop's step
  EXPECT_EQ(page.Commands[5]->Fields[1].number, 2);   // WhileLoop goes back to its While
  EXPECT_EQ(page.Commands[6]->Fields[1].number, -1);
  EXPECT_EQ(page.Commands[7]->Fields[0].text, "other.ksb");
  EXPECT_EQ(page.Commands[7]->Fields[1].number, 1);   // the label's index in the other page
  EXPECT_EQ(page.Commands[7]->LineNumber, 8);
  EXPECT_EQ(page.Commands[3]->Indent, 1);
  EXPECT_TRUE(page.Commands[0]->ContinueFrame);
}

TEST(TitleSource, MessageTextIsCp932WithCrLf) {
  TempFolder work;
  WriteText(work, "src/project.kest", kProject);
  WriteText(work, "src/start.kss", "TextIns \"表示\\n<b>二</b>\", box: \"mes\"\n");
  CompileTitle({.source_folder = work.File("src"), .output_folder = work.File("out")});
  TPage page;
  page.Parse(ReadFile(work.File("out/start.ksb")), "start.ksb");
  EXPECT_EQ(page.Commands[0]->Fields[0].text, cp932::FromUtf8("表示\r\n<b>二</b>"));
}

TEST(TitleSource, ErrorsNameFileLineAndColumn) {
  struct { const char* source; const char* where; const char* message; } cases[] = {
      {"Calc x = 1\nFrobnicate 1\n", "start.kss:2:1:", "unknown command"},
      {"Calc x = 1\nWait 5, colour: 3\n", "start.kss:2:9:", "Wait has no field 'colour'"},
      {"Calc s = \"ok 😀\"\n", "start.kss:1:14:", "no CP932 form"},
      {"\tCalc x = 1\n", "start.kss:1:1:", "not tabs"},
      {"Calc x = (1 + \n", "start.kss:1:", "never closed"},
      {"Calc x = 1 +\n", "start.kss:1:6:", "構文エラー"},
      {"Jump start.ksb:nowhere\n", "start.kss:1:6:", "no label nowhere"},
      {"BoxNew 3\n", "start.kss:1:8:", "needs its name"},
      {" Calc x = 1\n", "start.kss:1:2:", "two spaces"},
      // Not indented into its While, a WhileLoop would jump to the top of the page.
      {"While TRUE\n  Wait 16\nWhileLoop\n", "start.kss:3:1:", "WhileLoop is not in a While's body"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.source);
    TempFolder work;
    WriteText(work, "src/project.kest", kProject);
    WriteText(work, "src/start.kss", c.source);
    try {
      CompileTitle({.source_folder = work.File("src"), .output_folder = work.File("out")});
      ADD_FAILURE() << "no error";
    } catch (const SourceErrorList& errors) {
      ASSERT_EQ(errors.All().size(), 1u) << errors.what();
      EXPECT_THAT(errors.All()[0].what(), HasSubstr(c.where));
      EXPECT_THAT(errors.All()[0].what(), HasSubstr(c.message));
    }
  }
}

// The compiler goes on after an error, so one run shows them all; then nothing is written.
TEST(TitleSource, ReportsEveryErrorOfEveryFileAndWritesNothing) {
  TempFolder work;
  WriteText(work, "src/project.kest", std::string(kProject) + "colour 3\n");
  WriteText(work, "src/start.kss",
            "Calc x = 1\nFrobnicate 1\nCalc y = 2\nWait 5, colour: 3\nLabel here\nCalc z = (1 +\nJump start.ksb:here\n");
  WriteText(work, "src/other.kss", "Jump start.ksb:nowhere\nCalc s = \"\xF0\x9F\x98\x80\"\n");
  try {
    CompileTitle({.source_folder = work.File("src"), .output_folder = work.File("out")});
    ADD_FAILURE() << "no error";
  } catch (const SourceErrorList& errors) {
    std::vector<std::string> places;
    for (const SourceError& error : errors.All()) {
      const std::string text = error.what();
      places.push_back(text.substr(text.rfind('/') + 1, text.find(": ") - text.rfind('/') - 1));
    }
    // Every fault once, in the order the files were read; the jump to a label of a page that
    // compiled with errors is not reported again.
    EXPECT_THAT(places, ::testing::ElementsAre("project.kest:4:1", "other.kss:2:11", "start.kss:2:1",
                                               "start.kss:4:9", "start.kss:6:14"));
  }
  EXPECT_FALSE(std::filesystem::exists(work.File("out")));
}

// Constant names stand for their numbers wherever an expression stands.
TEST(TitleSource, ConstantNamesCompileAsTheirNumbers) {
  struct {
    const char* named;
    const char* numbered;
  } cases[] = {
      {"SetProp \"a\", PR_LEFT, 10", "SetProp \"a\", 3, 10"},
      {"GetProp \"a\", PR_CARETHEIGHT, v", "GetProp \"a\", 161, v"},
      {"Calc k = (VK_RETURN + VK_F1) * LT_BOX", "Calc k = (13 + 112) * 2"},
      {"SetProp \"t\", PR_HALIGN, HA_CENTER", "SetProp \"t\", 53, 1"},
      {"Flip WP_BLOCKRANDOM, 500, keep: FL_STAY", "Flip 38, 500, keep: 1"},
      {"PropMotion \"m\", \"t\", PR_TOP, 100, 500, MT_DEC", "PropMotion \"m\", \"t\", 4, 100, 500, 2"},
      {"BoxNew PR_NAME: \"b\", PR_IGNOREMOUSE: IM_ALL, PR_FONTSTYLE: FS_BOLD + FS_ITALIC",
       "BoxNew PR_NAME: \"b\", PR_IGNOREMOUSE: 1, PR_FONTSTYLE: 1 + 2"},
      // Inside a string, or joined to a longer name, a name is left alone.
      {"Calc s = \"PR_LEFT \\\" PR_TOP\"", "Calc s = \"PR_LEFT \\\" PR_TOP\""},
      {"Calc PR_LEFTx = @PR_LEFT + 表PR_LEFT", "Calc PR_LEFTx = @PR_LEFT + 表PR_LEFT"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.named);
    TempFolder work;
    WriteText(work, "a/project.kest", kProject);
    WriteText(work, "a/start.kss", c.named);
    WriteText(work, "b/project.kest", kProject);
    WriteText(work, "b/start.kss", c.numbered);
    CompileTitle({.source_folder = work.File("a"), .output_folder = work.File("out_a")});
    CompileTitle({.source_folder = work.File("b"), .output_folder = work.File("out_b")});
    EXPECT_EQ(ReadFile(work.File("out_a/start.ksb")), ReadFile(work.File("out_b/start.ksb")));
  }
}

// The decompiler names numbers where the field says which table they come from, and the names
// compile back to the same bytes.
TEST(TitleSource, DumpWritesConstantNamesWhereTheFieldKnowsTheirTable) {
  TempFolder work;
  WriteText(work, "src/project.kest", kProject);
  WriteText(work, "src/start.kss",
            "SetProp \"t\", 53, 1\nSetProp \"t\", 3, 1\nGetProp \"t\", 140, kind\n"
            "PropMotion \"m\", \"t\", 4, 100, 500, 2\nBoxNew PR_NAME: \"b\", PR_IGNOREMOUSE: 1, PR_FONTSTYLE: 3, PR_LEFT: 2\n"
            "Calc k = 13\nFlip 11, 500, keep: 1\n");
  ExpectRoundTrip(work, {"kest.kpb", "start.ksb"});
  const Bytes dumped = ReadFile(work.File("src2/start.kss"));
  const std::string text(dumped.begin(), dumped.end());
  EXPECT_THAT(text, HasSubstr("SetProp \"t\", property: PR_HALIGN, value: HA_CENTER"));
  EXPECT_THAT(text, HasSubstr("SetProp \"t\", property: PR_LEFT, value: 1\n"));  // a position has no names
  EXPECT_THAT(text, HasSubstr("GetProp \"t\", property: PR_COMPOTYPE"));
  EXPECT_THAT(text, HasSubstr("property: PR_TOP"));
  EXPECT_THAT(text, HasSubstr("motion: MT_DEC"));
  EXPECT_THAT(text, HasSubstr("PR_LEFT: 2, PR_FONTSTYLE: 3, PR_IGNOREMOUSE: IM_ALL"));  // two bits stay a number
  EXPECT_THAT(text, HasSubstr("Calc k = 13"));  // a plain expression says nothing of its table
  EXPECT_THAT(text, HasSubstr("Flip WP_DITHER, duration: 500, keep: FL_STAY"));
}

// The demo is written with names, and its dump names them too.
TEST(TitleSource, TheDemoUsesNamesAndItsDumpCompilesToTheSameBytes) {
  TempFolder work;
  std::filesystem::copy(KEST_DEMO_SOURCE, work.File("src"), std::filesystem::copy_options::recursive);
  std::vector<std::string> pages;
  for (const auto& item : std::filesystem::directory_iterator(work.File("src")))
    if (item.path().extension() == ".kss") pages.push_back(item.path().stem().string() + ".ksb");
  pages.push_back("kest.kpb");
  ExpectRoundTrip(work, pages);
  const Bytes start = ReadFile(work.File("src2/start.kss"));
  EXPECT_THAT(std::string(start.begin(), start.end()), HasSubstr("property: PR_LEFT"));
}

TEST(TitleSource, CompilesIntoOneArchive) {
  TempFolder work;
  WriteText(work, "src/project.kest", kProject);
  WriteText(work, "src/start.kss", "Calc x = 1\n");
  WriteText(work, "src/BGM/title.ogg", "not really a sound");
  const CompileReport report = CompileTitle({.source_folder = work.File("src"), .archive = work.File("game.dat")});
  EXPECT_EQ(report.pages, 1u);
  EXPECT_EQ(report.copied, 1u);
  TVrFileCollection archive;
  archive.LoadFromFile(work.File("game.dat"));
  EXPECT_GE(archive.IndexOf("kest.kpb"), 0);
  EXPECT_GE(archive.IndexOf("start.ksb"), 0);
  EXPECT_GE(archive.IndexOf("BGM\\title.ogg"), 0);
  // And back: dumping the archive gives the source again.
  const DumpReport dumped = DumpTitle(work.File("game.dat"), work.File("src2"));
  EXPECT_EQ(dumped.pages, 1u);
  EXPECT_TRUE(std::filesystem::exists(work.File("src2/project.kest")));
  EXPECT_TRUE(std::filesystem::exists(work.File("src2/start.kss")));
}

TEST(TitleSource, PageNamesAndSourcePathsMap) {
  EXPECT_EQ(PageNameOf("start.kss"), "start.ksb");
  EXPECT_EQ(PageNameOf("sub/ページ.kss"), cp932::FromUtf8("sub\\ページ.ksb"));
  EXPECT_EQ(PageNameOf("X.KSB.kss"), "X.KSB");
  EXPECT_EQ(SourcePathOf("start.ksb"), "start.kss");
  EXPECT_EQ(SourcePathOf("X.KSB"), "X.KSB.kss");
}

}  // namespace
}  // namespace kest::source
