// The property table and the kind x property matrix: every kind either keeps what is written to
// a property (when it implements it and it is writable) or reads the zero value.

#include <gtest/gtest.h>

#include <set>

#include "core/errors.h"
#include "objects/components.h"
#include "objects/properties.h"
#include "objects/property_table.h"
#include "objects/scene_list.h"

namespace kest {
namespace {

TEST(PropertyTable, CreationOrderCoversEveryAppliedIdOnce) {
  std::set<int> seen;
  for (std::uint8_t id : kCreationOrder) EXPECT_TRUE(seen.insert(id).second) << "twice: " << int(id);
  // Never applied at creation: the appear points, the read-only 78, 79, 138, 140, 161, and the
  // displacements 159 and 160.
  for (int id : {78, 79, 92, 93, 138, 140, 159, 160, 161}) EXPECT_FALSE(seen.count(id)) << id;
  EXPECT_EQ(seen.size(), kPropertyCount - 9);
  EXPECT_EQ(kCreationOrder[3], 7);
  EXPECT_EQ(kCreationOrder[4], 132);
}

TEST(PropertyTable, AccessAndTypeNamesAsTheTableSpellsThem) {
  EXPECT_EQ(PropertyTypeName(kProperties[PR_NAME].value), "string");
  EXPECT_EQ(PropertyTypeName(kProperties[PR_ONIDLE].value), "event");
  EXPECT_EQ(PropertyTypeName(kProperties[PR_PARAM1].value), "float");
  EXPECT_EQ(PropertyAccessName(RuleOf(PR_COUNT).access), "r");
  EXPECT_EQ(PropertyAccessName(RuleOf(PR_LEFT).access), "rw");
  EXPECT_EQ(PropertyAccessName(RuleOf(PR_APPEARX).access), "r");
}

// A value of the property's type that differs from every default.
PropValue Probe(std::uint8_t id) {
  switch (kProperties[id].value) {
    case PropertyValue::Int: return std::int32_t{3};
    case PropertyValue::Bool: return true;
    case PropertyValue::Float: return 1.5L;
    default: return std::string("probe");
  }
}

TEST(PropertyMatrix, EveryKindKeepsItsPropertiesAndIgnoresTheOthers) {
  for (std::uint8_t kind = 0; kind < kKindCount; ++kind) {
    TKestBaseList list(64, 48);
    TKestObject* object = list.CreateByKind(kind);
    if (kind == LT_NONE || kind == LT_AUDIO || kind == LT_MAP) {
      EXPECT_EQ(object, nullptr) << int(kind);
      continue;
    }
    ASSERT_NE(object, nullptr) << int(kind);
    EXPECT_EQ(AsInt(GetProp(*object, PR_COMPOTYPE)), kind);
    if (TKestControl* control = object->AsControl()) control->SetParent(&list.ActiveScreen());
    for (std::uint8_t id = 0; id < kPropertyCount; ++id) {
      // These have effects beyond their own value; their own tests cover them.
      if (id == PR_NAME || id == PR_PARENT || id == PR_APPEARX || id == PR_APPEARY) continue;
      const PropValue before = GetProp(*object, id);
      SCOPED_TRACE(std::string(KindName(kind)) + " " + std::string(kProperties[id].name));
      EXPECT_EQ(before.index(), ZeroValue(kProperties[id].value).index());
      SetProp(*object, id, Probe(id));
      const PropValue after = GetProp(*object, id);
      if (!Implements(*object, id)) {
        EXPECT_EQ(after, ZeroValue(kProperties[id].value));
      } else if (IsWritable(*object, id)) {
        PropValue expected = Probe(id);
        // Visibility reads through the parent chain: a cabinet never shows.
        if (id == PR_VISIBLE && kind == LT_CABINET) expected = false;
        EXPECT_EQ(after, expected);
      } else {
        EXPECT_EQ(after, before);
      }
    }
  }
}

TEST(PropertyMatrix, ScreensAreVisualButNotListedKinds) {
  TKestBaseList list(64, 48);
  TKestBase& screen = list.ActiveScreen();
  EXPECT_TRUE(Implements(screen, PR_LEFT));
  EXPECT_FALSE(Implements(screen, PR_ALPHA));
  EXPECT_EQ(AsStr(GetProp(screen, PR_NAME)), "BASE0");
}

TEST(PropertyAccessRules, ErrorsAndSpecialValues) {
  TKestBaseList list(64, 48);
  TKestObject& label = *list.CreateByKind(LT_LABEL);
  EXPECT_THROW(GetProp(label, 162), KestError);
  EXPECT_THROW(SetProp(label, 162, std::int32_t{1}), KestError);
  EXPECT_THROW(SetProp(label, PR_APPEARX, std::int32_t{1}), KestError);
  EXPECT_EQ(GetProp(label, PR_APPEARY), PropValue(std::int32_t{0}));
  SetProp(label, PR_COLCOUNT, std::int32_t{4});
  EXPECT_EQ(GetProp(label, PR_COLCOUNT), PropValue(std::int32_t{0}));
  SetProp(label, PR_FONTSTYLE, std::int32_t{5});
  EXPECT_EQ(GetProp(label, PR_FONTSTYLE), PropValue(std::int32_t{5}));
  SetProp(label, PR_FONTSTYLE, std::int32_t{21});
  EXPECT_EQ(GetProp(label, PR_FONTSTYLE), PropValue(std::int32_t{5}));
  // Script values are converted to the property's type.
  SetProp(label, PR_TEXT, std::int32_t{42});
  EXPECT_EQ(GetProp(label, PR_TEXT), PropValue(std::string("42")));

  TKestObject& tile = *list.CreateByKind(LT_TILE);
  SetProp(tile, PR_REPEAT, true);  // read-only on tiles
  EXPECT_EQ(GetProp(tile, PR_REPEAT), PropValue(false));
  TKestObject& fire = *list.CreateByKind(LT_FIRE);
  SetProp(fire, 90, std::int32_t{7});  // PR_ORIGWIDTH is writable on fire only
  EXPECT_EQ(GetProp(fire, 90), PropValue(std::int32_t{7}));
}

TEST(PropertyAccessRules, ControlWithoutParentIsNotVisible) {
  TKestBaseList list(64, 48);
  TKestObject& box = *list.CreateByKind(LT_BOX);
  EXPECT_EQ(GetProp(box, PR_VISIBLE), PropValue(false));
  box.AsControl()->SetParent(&list.ActiveScreen());
  EXPECT_EQ(GetProp(box, PR_VISIBLE), PropValue(true));
}

}  // namespace
}  // namespace kest
