#pragma once
// The text library's own message texts.

#include <string>

#include "core/messages.h"

namespace kest {

enum class TextMessage {
  LinkWithoutHref,  // an <A> tag without HREF stops the parse
  DefaultFontName,  // the face of text areas that name none
  LabelFontName,    // the face of caption label lists that name none
  kCount
};

const std::string& Message(TextMessage id);

}  // namespace kest
