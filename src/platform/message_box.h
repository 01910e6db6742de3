#pragma once
// Rules about message boxes that both implementations share: which answers a box can give,
// the default button, and the one-line description written to standard error.

#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace kest::platform {

// The button Enter picks: the first one (OK, OK, Yes).
MessageAnswer DefaultAnswer(MessageButtons buttons);

// What closing the box without a button gives: Cancel or No where the box has them, else OK.
MessageAnswer DismissAnswer(MessageButtons buttons);

// Whether the box shows a button for the answer.
bool Offers(MessageButtons buttons, MessageAnswer answer);

// Lower-case names as scripts and logs spell them: "ok", "cancel", "yes", "no".
std::string_view AnswerName(MessageAnswer answer);
std::optional<MessageAnswer> AnswerFromName(std::string_view name);

// One line in UTF-8, line breaks of the text shown as \r and \n:
//   message box [warning] "CAPTION": TEXT [ok/cancel]
std::string DescribeMessageBox(const MessageBoxRequest& request);

// The same line with the answer and where it came from ("scripted", "default"):
//   message box [warning] "CAPTION": TEXT [ok/cancel] -> cancel (HOW)
std::string DescribeMessageBox(const MessageBoxRequest& request, MessageAnswer answer,
                               std::string_view how);

}  // namespace kest::platform
