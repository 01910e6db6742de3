#pragma once
// The object model's own message texts.

#include <string>

#include "core/messages.h"

namespace kest {

enum class ObjectMessage {
  GetPropError,  // a property id outside the table
  SetPropError,  // a property id outside the table, or one that cannot be written
  BadProperty,   // a property command whose property expression gave no value
  kCount
};

const std::string& Message(ObjectMessage id);

}  // namespace kest
