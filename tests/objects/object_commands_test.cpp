// The creation algorithm of BoxNew and its kin, and the GetProp, SetProp and ObjDel commands
// over script values.

#include <gtest/gtest.h>

#include <map>

#include "core/errors.h"
#include "objects/components/box.h"
#include "objects/object_commands.h"
#include "params/param_values.h"
#include "scene_harness.h"

namespace kest {
namespace {

using testing::SceneHarness;
using State = CarriedProperty::State;

// A command's property slots: an id absent from the map has no expression.
PropertySource Carrying(std::map<std::uint8_t, CarriedProperty> slots) {
  return [slots = std::move(slots)](std::uint8_t id) {
    const auto it = slots.find(id);
    return it == slots.end() ? CarriedProperty{} : it->second;
  };
}

CarriedProperty Value(PropValue value) { return {State::Value, std::move(value)}; }
CarriedProperty NoResult() { return {State::NoResult, {}}; }

TEST(CreateObject, AppliesCarriedValuesAndTheDefaultsOfEmptyResults) {
  SceneHarness scene(100, 100);
  TKestObject* object = CreateObject(scene.list, LT_BOX,
                                     Carrying({{PR_NAME, Value(std::string("panel"))},
                                               {PR_LEFT, Value(std::int32_t{10})},
                                               {PR_TOP, Value(std::int32_t{20})},
                                               {PR_WIDTH, Value(std::int32_t{30})},
                                               {PR_HEIGHT, Value(std::int32_t{40})},
                                               {PR_COLOR, NoResult()},
                                               {PR_ALPHA, NoResult()},
                                               {PR_VISIBLE, NoResult()},
                                               {PR_BORDERCOLOR, NoResult()},
                                               {PR_PLUSX, Value(std::int32_t{5})}}));
  ASSERT_NE(object, nullptr);
  auto& box = static_cast<TKestBox&>(*object);
  EXPECT_EQ(box.Name(), "panel");
  EXPECT_EQ(box.Parent(), &scene.list.ActiveScreen());
  EXPECT_EQ(GetProp(box, PR_COLOR), PropValue(std::int32_t{-1}));
  EXPECT_EQ(GetProp(box, PR_BORDERCOLOR), PropValue(std::int32_t{-1}));
  EXPECT_EQ(GetProp(box, PR_ALPHA), PropValue(std::int32_t{255}));
  EXPECT_EQ(GetProp(box, PR_VISIBLE), PropValue(true));
  // The displacements are never applied at creation.
  EXPECT_EQ(GetProp(box, PR_PLUSX), PropValue(std::int32_t{0}));
  EXPECT_EQ(box.GetScreenRect(), (Rect{10, 20, 40, 60}));
}

TEST(CreateObject, EmptyNameKeepsTheAutomaticNameAndUnknownParentIsTheActiveScreen) {
  SceneHarness scene;
  scene.list.FlipScreens(1, 0, false, ForceFlip::Yes, 0, 0);
  TKestObject* object = CreateObject(
      scene.list, LT_BOX, Carrying({{PR_NAME, Value(std::string())}, {PR_PARENT, Value(std::string("nobody"))}}));
  EXPECT_EQ(object->Name(), "object0");
  EXPECT_EQ(object->AsControl()->Parent(), &scene.list.Screen(1));
  TKestObject* child =
      CreateObject(scene.list, LT_BOX, Carrying({{PR_PARENT, Value(std::string("object0"))}}));
  EXPECT_EQ(child->AsControl()->Parent(), object);
  EXPECT_EQ(CreateObject(scene.list, LT_MAP, Carrying({})), nullptr);
}

TEST(CreateObject, ANewBoxIsDrawnInTheNextFrame) {
  SceneHarness scene(50, 50);
  scene.RunFrame();
  CreateObject(scene.list, LT_BOX,
               Carrying({{PR_WIDTH, Value(std::int32_t{10})},
                         {PR_HEIGHT, Value(std::int32_t{10})},
                         {PR_COLOR, Value(std::int32_t{0x0000FF})}}));
  scene.RunFrame();
  EXPECT_EQ(scene.WindowPixel(5, 5), 0xFF0000u);
}

TEST(PropertyCommands, SetGetAndDeleteByName) {
  SceneHarness scene;
  CreateObject(scene.list, LT_BOX, Carrying({{PR_NAME, Value(std::string("b"))}}));
  TParamInt left;
  left.SetInt(12);
  TParamInt id;
  id.SetInt(PR_LEFT);
  SetPropCommand(scene.list, "b", &id, &left);
  TParamStr out;  // a string variable receives the text of the value
  GetPropCommand(scene.list, "b", &id, &out);
  EXPECT_EQ(out.AsStr(), "12");
  EXPECT_THROW(SetPropCommand(scene.list, "b", nullptr, &left), KestError);
  EXPECT_THROW(GetPropCommand(scene.list, "b", nullptr, &out), KestError);
  // An unknown object changes nothing and raises nothing, even without a property.
  EXPECT_NO_THROW(SetPropCommand(scene.list, "nobody", nullptr, &left));
  TParamInt bad;
  bad.SetInt(162);
  EXPECT_THROW(SetPropCommand(scene.list, "b", &bad, &left), KestError);

  ObjDelCommand(scene.list, "b");
  EXPECT_EQ(scene.list.FindComponent("b"), nullptr);
  EXPECT_EQ(scene.list.ObjectCount(), 1u);
  scene.RunFrame();
  EXPECT_EQ(scene.list.ObjectCount(), 0u);
}

}  // namespace
}  // namespace kest
