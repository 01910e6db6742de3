#include "platform/message_box.h"

#include <array>

#include "core/cp932.h"

namespace kest::platform {
namespace {

struct ButtonSet {
  MessageButtons buttons;
  MessageAnswer first;
  MessageAnswer second;  // equal to `first` for a box with one button
  std::string_view names;
};

constexpr std::array<ButtonSet, 3> kButtonSets{{
    {MessageButtons::kOk, MessageAnswer::kOk, MessageAnswer::kOk, "ok"},
    {MessageButtons::kOkCancel, MessageAnswer::kOk, MessageAnswer::kCancel, "ok/cancel"},
    {MessageButtons::kYesNo, MessageAnswer::kYes, MessageAnswer::kNo, "yes/no"},
}};

constexpr std::array<std::string_view, 4> kAnswerNames{"ok", "cancel", "yes", "no"};

const ButtonSet& SetOf(MessageButtons buttons) {
  for (const ButtonSet& set : kButtonSets) {
    if (set.buttons == buttons) return set;
  }
  return kButtonSets[0];
}

std::string_view IconName(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kInformation: return "information";
    case MessageIcon::kWarning: return "warning";
    case MessageIcon::kError: return "error";
    case MessageIcon::kQuestion: return "question";
    case MessageIcon::kNone: break;
  }
  return "plain";
}

}  // namespace

MessageAnswer DefaultAnswer(MessageButtons buttons) { return SetOf(buttons).first; }

MessageAnswer DismissAnswer(MessageButtons buttons) { return SetOf(buttons).second; }

bool Offers(MessageButtons buttons, MessageAnswer answer) {
  const ButtonSet& set = SetOf(buttons);
  return answer == set.first || answer == set.second;
}

std::string_view AnswerName(MessageAnswer answer) {
  return kAnswerNames[static_cast<std::size_t>(answer)];
}

std::optional<MessageAnswer> AnswerFromName(std::string_view name) {
  for (std::size_t i = 0; i < kAnswerNames.size(); ++i) {
    if (kAnswerNames[i] == name) return static_cast<MessageAnswer>(i);
  }
  return std::nullopt;
}

std::string DescribeMessageBox(const MessageBoxRequest& request) {
  std::string line = "message box [";
  line += IconName(request.icon);
  line += "] \"" + cp932::ToUtf8OneLine(request.caption) + "\": " + cp932::ToUtf8OneLine(request.text) + " [";
  line += SetOf(request.buttons).names;
  line += "]";
  return line;
}

std::string DescribeMessageBox(const MessageBoxRequest& request, MessageAnswer answer,
                               std::string_view how) {
  std::string line = DescribeMessageBox(request);
  line += " -> ";
  line += AnswerName(answer);
  line += " (";
  line += how;
  line += ")";
  return line;
}

}  // namespace kest::platform
