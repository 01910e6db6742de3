#pragma once
// The state of one markup parse: the style stacks that FONT, DIV and WAIT push and their end
// tags pop, and the flags and texts that the other tags set.

#include <cstdint>
#include <string>
#include <vector>

#include "text/elements.h"

namespace kest {

// A stack whose top is its last pushed value, or its empty value when nothing is pushed.
// Popping an empty stack does nothing.
template <typename T>
class TValueStack {
 public:
  explicit TValueStack(T empty_value) : empty_(std::move(empty_value)) {}
  const T& Top() const { return values_.empty() ? empty_ : values_.back(); }
  void Push(T value) { values_.push_back(std::move(value)); }
  void Pop() {
    if (!values_.empty()) values_.pop_back();
  }

 private:
  T empty_;
  std::vector<T> values_;
};

using TIntStack = TValueStack<std::int32_t>;
using TStrStack = TValueStack<std::string>;
using TAlignStack = TValueStack<std::uint8_t>;

struct TTagValList {
  explicit TTagValList(std::int32_t text_delay) : wait(text_delay) {}

  TIntStack size{0};            // 0: the text area's default size
  TIntStack color{-1};          // -1: the default colour
  TIntStack border_color{-1};
  TIntStack shadow_color{-1};
  TStrStack font_name{std::string()};
  std::uint8_t style = 0;       // StyleFlags
  std::uint8_t no_break = 0;
  std::string ruby;
  TAlignStack alignment{kAlignLeft};
  LinkIndex link = 0;
  TIntStack wait;               // empty value: the text delay when the parse starts
  TIntStack border{-1};
  TIntStack shadow{-1};

  // The decoration that characters read now take (reference count 0).
  TDecorate CurrentLook() const {
    TDecorate look;
    look.color = color.Top();
    look.border_color = border_color.Top();
    look.shadow_color = shadow_color.Top();
    look.size = size.Top();
    look.style = style;
    look.face_name = font_name.Top();
    look.no_break = no_break;
    look.ruby = ruby;
    look.border = border.Top();
    look.shadow = shadow.Top();
    return look;
  }
};

}  // namespace kest
