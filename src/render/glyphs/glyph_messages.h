#pragma once
// The glyph cache's own message texts.

#include <string>

#include "core/messages.h"

namespace kest {

enum class GlyphMessage {
  OutlineMetricsFailed,  // a face the font engine refuses
  NoFontAtAll,           // neither the face nor the default face opens; %s is the face
  kCount
};

const std::string& Message(GlyphMessage id);

}  // namespace kest
