#pragma once
// The IPA fonts through the system catalogue, for tests on real glyphs. Tests skip when they are
// not installed (scripts/install-deps installs them).

#include <gtest/gtest.h>

#include <memory>

#include "platform/font_catalog.h"

namespace kest::testing {

inline std::shared_ptr<const FontCatalog> SystemFonts() {
  static const std::shared_ptr<const FontCatalog> fonts = MakeSystemFontCatalog();
  return fonts;
}

inline bool HaveIpaFonts() {
  for (const char* family : {"IPAGothic", "IPAPGothic", "IPAMincho", "IPAPMincho"})
    if (!SystemFonts()->Find(family)) return false;
  return true;
}

#define KEST_NEED_IPA_FONTS() \
  if (!::kest::testing::HaveIpaFonts()) GTEST_SKIP() << "the IPA fonts are not installed (scripts/install-deps)"

}  // namespace kest::testing
