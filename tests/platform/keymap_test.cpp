#include <gtest/gtest.h>

#include <set>

#include "platform/sdl/keymap.h"

namespace kest::platform {
namespace {

// Scancodes are USB HID usage codes; the numbers here come from that table, not from the code
// under test, so a slip in either shows.
TEST(Keymap, KnownKeysGiveTheirVirtualKeyCodes) {
  struct Case {
    int usage;
    std::uint8_t virtual_key;
    const char* key;
  };
  const Case cases[] = {
      {0x28, 0x0D, "Enter"},       {0x58, 0x0D, "keypad Enter"}, {0x29, 0x1B, "Escape"},
      {0x04, 0x41, "A"},           {0x1D, 0x5A, "Z"},            {0x1E, 0x31, "1"},
      {0x27, 0x30, "0"},           {0x2C, 0x20, "Space"},        {0x2A, 0x08, "Backspace"},
      {0x2B, 0x09, "Tab"},         {0x3A, 0x70, "F1"},           {0x45, 0x7B, "F12"},
      {0x50, 0x25, "Left"},        {0x52, 0x26, "Up"},           {0x4F, 0x27, "Right"},
      {0x51, 0x28, "Down"},        {0x4B, 0x21, "Page Up"},      {0x4E, 0x22, "Page Down"},
      {0x4A, 0x24, "Home"},        {0x4D, 0x23, "End"},          {0x49, 0x2D, "Insert"},
      {0x4C, 0x2E, "Delete"},      {0x62, 0x60, "keypad 0"},     {0x61, 0x69, "keypad 9"},
      {0xE0, 0x11, "left Ctrl"},   {0xE4, 0x11, "right Ctrl"},   {0xE1, 0x10, "left Shift"},
      {0xE5, 0x10, "right Shift"}, {0xE2, 0x12, "left Alt"},     {0xE6, 0x12, "right Alt"},
      {0x8A, 0x1C, "henkan"},      {0x8B, 0x1D, "muhenkan"},     {0x87, 0xE2, "ro"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(VirtualKeyForScancode(c.usage), c.virtual_key) << c.key;
  }
}

TEST(Keymap, KeysWithoutCodeGiveZero) {
  for (int usage : {0, 1, 2, 3, 0x66 /* power */, 0x80 /* volume up */, 0xE8, 511, -1, 100000}) {
    EXPECT_EQ(VirtualKeyForScancode(usage), 0) << usage;
  }
}

TEST(Keymap, EveryEntryIsFoundAndNoScancodeRepeats) {
  std::set<int> seen;
  for (const ScancodeKey& entry : ScancodeTable()) {
    EXPECT_TRUE(seen.insert(entry.scancode).second) << entry.scancode;
    EXPECT_NE(entry.virtual_key, 0) << entry.scancode;
    EXPECT_EQ(VirtualKeyForScancode(entry.scancode), entry.virtual_key) << entry.scancode;
  }
  // Letters, digits, F1-F24, arrows and the editing keys at least.
  EXPECT_GE(ScancodeTable().size(), 26u + 10u + 24u + 4u + 6u);
}

}  // namespace
}  // namespace kest::platform
