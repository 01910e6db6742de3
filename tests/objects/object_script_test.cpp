// Scripts that create boxes and address them by name, run by the interpreter over a real scene
// list: BoxNew, GetProp, SetProp and ObjDel, the built-in functions GetProp and SetProp, and a
// box's click event running a handler page.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "objects/components.h"
#include "objects/kinds.h"
#include "objects/messages.h"
#include "objects/properties.h"
#include "objects/property_table.h"
#include "objects/scene_list.h"
#include "scenario/interpreter_fixture.h"

namespace kest::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::StartsWith;

class ObjectScript : public InterpreterOn<TKestBaseList> {
 protected:
  ObjectScript() : InterpreterOn(160, 120) {}

  TKestObject& Named(const std::string& name) {
    TKestObject* object = scene_.FindComponent(name);
    if (!object) throw std::runtime_error("no object named " + name);
    return *object;
  }
  std::int32_t Prop(const std::string& name, std::uint8_t id) { return AsInt(GetProp(Named(name), id)); }
  std::uint32_t Pixel(std::int32_t x, std::int32_t y) { return scene_.Surface().GetPixel(x, y) & 0xFFFFFF; }
  std::uint32_t PixelOf(std::int32_t colour) {
    return static_cast<std::uint32_t>(scene_.Surface().ColorToPixel(colour)) & 0xFFFFFF;
  }
};

TEST_F(ObjectScript, BoxNewAppliesCarriedValuesAndGivesExpressionsWithoutResultTheirDefaults) {
  Load({{"start.ksb",
         "BoxNew PR_NAME: \"panel\", PR_LEFT: 10, PR_TOP: 20, PR_WIDTH: 30, PR_HEIGHT: 40, PR_COLOR: 255, "
         "PR_ALPHA: {}, PR_VISIBLE: {}, PR_BORDERCOLOR: {}\n"
         "BoxNew PR_NAME: \"\", PR_LEFT: 100, PR_TOP: 2 * 5, PR_WIDTH: 8, PR_HEIGHT: 8, PR_COLOR: {}\n"}});
  Frame();
  EXPECT_THAT(errors_, IsEmpty());

  TKestObject& panel = Named("panel");
  EXPECT_EQ(panel.GetCompoType(), LT_BOX);
  ASSERT_NE(panel.AsControl(), nullptr);
  EXPECT_EQ(panel.AsControl()->Parent(), &scene_.ActiveScreen());
  EXPECT_EQ(panel.AsControl()->GetScreenRect(), (Rect{10, 20, 40, 60}));
  EXPECT_EQ(Prop("panel", PR_ALPHA), 255);
  EXPECT_EQ(Prop("panel", PR_VISIBLE), 1);
  EXPECT_EQ(Prop("panel", PR_BORDERCOLOR), -1);

  // An empty name keeps the automatic one; a colour without result is none, so nothing shows.
  TKestObject* other = nullptr;
  for (std::size_t i = 0; i < scene_.ObjectCount(); ++i)
    if (&scene_.ObjectAt(i) != &panel && scene_.ObjectAt(i).GetCompoType() == LT_BOX) other = &scene_.ObjectAt(i);
  ASSERT_NE(other, nullptr);
  EXPECT_THAT(other->Name(), StartsWith("object"));
  EXPECT_EQ(AsInt(GetProp(*other, PR_COLOR)), -1);
  EXPECT_EQ(other->AsControl()->GetScreenRect(), (Rect{100, 10, 108, 18}));

  // The frame drew the filled box and nothing for the one without colour.
  EXPECT_EQ(Pixel(15, 25), PixelOf(255));
  EXPECT_EQ(Pixel(9, 25), 0u);
  EXPECT_EQ(Pixel(104, 14), 0u);
}

TEST_F(ObjectScript, EachCarriedExpressionIsEvaluatedWhenItsPropertyIsApplied) {
  // The name and the left edge are applied before the top, so the top's expression finds them.
  Load({{"start.ksb", "BoxNew PR_NAME: \"a\", PR_LEFT: 7, PR_TOP: GetProp(\"a\", 3) * 2\n"}});
  Frame();
  EXPECT_THAT(errors_, IsEmpty());
  EXPECT_EQ(Prop("a", PR_TOP), 14);
}

TEST_F(ObjectScript, PictureCreationsMakeTheirKindsAndImgNewKeepsItsDelayExpression) {
  Load({{"start.ksb",
         "VarNew w, type: int, value: 50\n"
         "ImgNew PR_NAME: \"i\", PR_LEFT: 3, PR_DELAY: w * 2\n"
         "Button PR_NAME: \"b\", PR_PARENT: \"\", PR_GROUPINDEX: 1, PR_ONNOTIFY: \"\"\n"
         "TileNew PR_NAME: \"t\", PR_WIDTH: 30, PR_HEIGHT: 20, PR_SCROLLX: 4\n"}});
  Frame();
  EXPECT_THAT(errors_, IsEmpty());
  EXPECT_EQ(Named("i").GetCompoType(), LT_IMAGES);
  EXPECT_EQ(Named("b").GetCompoType(), LT_BUTTON);
  EXPECT_EQ(Named("t").GetCompoType(), LT_TILE);
  EXPECT_EQ(Prop("b", PR_SELECTED), 1);  // alone in its group, and the group keeps one selected
  EXPECT_EQ(Prop("t", PR_WIDTH), 30);
  EXPECT_EQ(Prop("t", PR_SCROLLX), 4);
  // The expression runs in the interpreter's store each time it is asked.
  EXPECT_EQ(dynamic_cast<TKestImages&>(Named("i")).LoopWaitValue(), 100);
}

TEST_F(ObjectScript, AKeptDelayExpressionThatFailsLaterGivesNoWait) {
  // The expression works when the picture is made and names no property when its delay is next
  // asked for: no command can report that error, so the wait is 0 and the frame goes on.
  Load({{"start.ksb",
         "VarNew p, type: int, value: 3\n"
         "BoxNew PR_NAME: \"b\", PR_LEFT: 40\n"
         "ImgNew PR_NAME: \"i\", PR_DELAY: GetProp(\"b\", p)\n"
         "Calc p = 999\n"}});
  Frame();
  EXPECT_THAT(errors_, IsEmpty());
  EXPECT_EQ(dynamic_cast<TKestImages&>(Named("i")).LoopWaitValue(), 0);
}

TEST_F(ObjectScript, CreationCommandsWhoseKindsAreNotBuiltSayTheyAreNotAvailable) {
  Load({{"start.ksb",
         "VarNew after, type: int, value: 0\n"
         "MesNew PR_NAME: \"picture\"\n"
         "Calc after = 1\n"}});
  Frame();
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_THAT(errors_[0], StartsWith("MesNew: not available yet"));
  EXPECT_EQ(scene_.FindComponent("picture"), nullptr);
  EXPECT_EQ(Int("after"), 1);
}

TEST_F(ObjectScript, SetPropThenGetPropConvertThroughThePropertysTypeAndTheVariablesType) {
  struct Case {
    int property;
    std::string value;     // the expression SetProp writes
    std::string variable;  // the type of the variable GetProp reads into
    std::string read;      // the variable's text afterwards
  };
  const std::vector<Case> cases = {
      {PR_LEFT, "\"42\"", "str", "42"},
      {PR_LEFT, "-3", "int", "-3"},
      {PR_TAG, "12 + 3", "int", "15"},
      {PR_TAG, "\"note\"", "str", "note"},
      {PR_VISIBLE, "0", "int", "0"},
      {PR_ONLBTNDOWN, "\"h.ksb:go\"", "str", "h.ksb:go"},
      {PR_PRIORITY, "7", "str", "7"},
  };
  for (const Case& c : cases) {
    const std::string page = "p" + std::to_string(c.property) + c.variable + ".ksb";
    Load({{page,
           "VarDel v\n"
           "BoxNew PR_NAME: \"box\", PR_LEFT: 1\n"
           "VarNew v, type: " + c.variable + "\n"
           "SetProp \"box\", " + std::to_string(c.property) + ", " + c.value + "\n"
           "GetProp \"box\", " + std::to_string(c.property) + ", v\n"
           "ObjDel \"box\"\n"}},
         page);
    Frame();
    EXPECT_THAT(errors_, IsEmpty()) << c.value;
    EXPECT_EQ(Str("v"), c.read) << "property " << c.property << " = " << c.value;
  }
}

TEST_F(ObjectScript, TheBuiltInFunctionsReadAndWriteProperties) {
  Load({{"start.ksb",
         "BoxNew PR_NAME: \"box\", PR_LEFT: 5, PR_TOP: 6\n"
         "VarNew top, type: int, value: 0\n"
         "VarNew kept, type: int, value: -1\n"
         "VarNew tag, type: str, value: \"\"\n"
         "Calc SetProp(\"box\", 256 + 4, 33)\n"  // only the low byte counts: PR_TOP
         "Calc top = GetProp(\"box\", 4)\n"
         "Calc SetProp(\"box\", 151, 9 * 9)\n"
         "Calc tag = GetProp(\"box\", 151) ++ \"!\"\n"
         "Calc kept = GetProp(\"box\", 256 + 3)\n"   // an id above the table fails: no assignment
         "Calc SetProp(\"box\", 200, 1)\n"          // likewise, and nothing changes
         "Calc SetProp(\"nobody\", 3, 1)\n"}});
  Frame();
  EXPECT_EQ(Int("top"), 33);
  EXPECT_EQ(Prop("box", PR_TOP), 33);
  EXPECT_EQ(Str("tag"), "81!");
  EXPECT_EQ(Int("kept"), -1);
  EXPECT_EQ(Prop("box", PR_LEFT), 5);
}

TEST_F(ObjectScript, ObjDelTakesTheNameAtOnceAndTheObjectAtTheEndOfTheUpdate) {
  Load({{"start.ksb",
         "[frame-end] BoxNew PR_NAME: \"gone\", PR_WIDTH: 10, PR_HEIGHT: 10, PR_COLOR: 255\n"
         "VarNew left, type: int, value: -1\n"
         "ObjDel \"gone\"\n"
         "GetProp \"gone\", 3, left\n"}});
  Frame();
  const ObjectId id = Named("gone").Id();
  EXPECT_EQ(Pixel(5, 5), PixelOf(255));

  now_ += 16;
  ASSERT_TRUE(clock_.BeginFrame(now_));
  scene_.ProcessInput();
  call_man_.Run();
  EXPECT_TRUE(scene_.Contains(id));  // still there during the script's run ...
  EXPECT_EQ(scene_.FindComponent("gone"), nullptr);  // ... but no longer found by its name
  EXPECT_EQ(Int("left"), -1);
  scene_.Update(16);
  EXPECT_FALSE(scene_.Contains(id));
  scene_.Draw();
  EXPECT_EQ(Pixel(5, 5), 0u);
  EXPECT_THAT(errors_, IsEmpty());
}

TEST_F(ObjectScript, PropertyCommandsThatFindNothingChangeNothingAndABadPropertyIsAnError) {
  struct Case {
    std::string command;
    std::string error;  // "" when none
    std::int32_t v = 1, n = 0, left = 5;
  };
  const std::string bad_property = Message(ObjectMessage::BadProperty);
  const std::vector<Case> cases = {
      {"GetProp \"nobody\", 3, v", ""},
      {"GetProp \"\", 3, v", ""},
      {"GetProp \"box\", 3, missing", ""},
      {"GetProp \"box\", {}, v", bad_property},
      {"GetProp \"nobody\", {}, v", ""},                    // the object is looked up first
      {"GetProp \"box\", 300, v", Message(ObjectMessage::GetPropError)},
      {"SetProp \"nobody\", n = 3, 1", ""},                 // no object: the property is not evaluated
      {"SetProp \"box\", {}, n = 7", bad_property},         // no property: the value is not evaluated
      {"SetProp \"box\", 3, {}", ""},
      {"SetProp \"box\", 200, 1", Message(ObjectMessage::SetPropError)},
      {"SetProp \"box\", 3, v + 8", "", 1, 0, 9},
      {"ObjDel \"nobody\"", ""},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    const std::string page = "case" + std::to_string(i) + ".ksb";
    Load({{page,
           "BoxNew PR_NAME: \"box\", PR_LEFT: 5\n"
           "VarNew v, type: int, value: 1\n"
           "VarNew n, type: int, value: 0\n" +
               c.command + "\n"
           "Calc n = n * 1\n"  // the script goes on after an error
           "VarNew left, type: int, value: GetProp(\"box\", 3)\n"
           "ObjDel \"box\"\n"}},
         page);
    errors_.clear();
    Frame();
    if (c.error.empty()) {
      EXPECT_THAT(errors_, IsEmpty()) << c.command;
    } else {
      EXPECT_THAT(errors_, ElementsAre(c.error)) << c.command;
    }
    EXPECT_EQ(Int("v"), c.v) << c.command;
    EXPECT_EQ(Int("n"), c.n) << c.command;
    EXPECT_EQ(Int("left"), c.left) << c.command;
    EXPECT_FALSE(Exists("missing")) << c.command;
  }
}

TEST_F(ObjectScript, AClickOnABoxRunsItsHandlerWithTheBoxAsSender) {
  Load({{"start.ksb",
         "VarNew clicks, type: int, value: 0\n"
         "VarNew who, type: str, value: \"\"\n"
         "BoxNew PR_NAME: \"target\", PR_LEFT: 20, PR_TOP: 20, PR_WIDTH: 20, PR_HEIGHT: 20, PR_COLOR: 255, "
         "PR_ONLBTNDOWN: \"click.ksb\"\n"},
        {"click.ksb",
         "Calc clicks = clicks + 1\n"
         "Calc who = @Sender ++ \"@\" ++ @ParamStr[0] ++ \",\" ++ @ParamStr[1]\n"
         "SetProp @Sender, 3, 100\n"}});
  Frame();
  EXPECT_EQ(Pixel(25, 27), PixelOf(255));

  scene_.MouseMoved(25, 27);
  scene_.MouseButtons(true, false);
  Frame();
  EXPECT_EQ(Int("clicks"), 1);
  EXPECT_EQ(Str("who"), "target@5,7");
  EXPECT_EQ(Prop("target", PR_LEFT), 100);
  EXPECT_EQ(Pixel(25, 27), 0u);
  EXPECT_EQ(Pixel(105, 27), PixelOf(255));

  // The box has moved away: a second click at the same place finds nothing.
  scene_.MouseReleased();
  Frame();
  scene_.MouseButtons(true, false);
  Frame();
  EXPECT_EQ(Int("clicks"), 1);
  EXPECT_THAT(errors_, IsEmpty());
}

}  // namespace
}  // namespace kest::testing
