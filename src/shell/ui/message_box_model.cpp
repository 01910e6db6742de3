#include "shell/ui/message_box_model.h"

#include "platform/message_box.h"
#include "shell/ui/virtual_keys.h"

namespace kest::ui {

using platform::MessageAnswer;

MessageBoxModel::MessageBoxModel(platform::MessageButtons buttons) : buttons_(buttons) {
  const MessageAnswer first = platform::DefaultAnswer(buttons);
  const MessageAnswer second = platform::DismissAnswer(buttons);
  answers_.push_back(first);
  if (second != first) answers_.push_back(second);
}

std::optional<std::size_t> MessageBoxModel::ShownPressed() const {
  if (held_ && hover_ == held_) return held_;
  return std::nullopt;
}

std::optional<MessageAnswer> MessageBoxModel::KeyDown(std::uint8_t key) {
  const std::size_t count = answers_.size();
  switch (key) {
    case vk::kShift:
      shift_ = true;
      return std::nullopt;
    case vk::kTab:
      focus_ = shift_ ? (focus_ + count - 1) % count : (focus_ + 1) % count;
      return std::nullopt;
    case vk::kRight:
      focus_ = (focus_ + 1) % count;
      return std::nullopt;
    case vk::kLeft:
      focus_ = (focus_ + count - 1) % count;
      return std::nullopt;
    case vk::kReturn:
    case vk::kSpace:
      return answers_[focus_];
    case vk::kEscape:
      return CloseRequested();
    case 'Y':
      if (platform::Offers(buttons_, MessageAnswer::kYes)) return MessageAnswer::kYes;
      return std::nullopt;
    case 'N':
      if (platform::Offers(buttons_, MessageAnswer::kNo)) return MessageAnswer::kNo;
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

void MessageBoxModel::KeyUp(std::uint8_t key) {
  if (key == vk::kShift) shift_ = false;
}

void MessageBoxModel::PointerMoved(std::optional<std::size_t> over) { hover_ = over; }

void MessageBoxModel::LeftPressed(std::optional<std::size_t> over) {
  hover_ = over;
  held_ = over;
  if (over) focus_ = *over;
}

std::optional<MessageAnswer> MessageBoxModel::LeftReleased(std::optional<std::size_t> over) {
  const std::optional<std::size_t> held = held_;
  held_.reset();
  hover_ = over;
  if (held && over == held) return answers_[*held];
  return std::nullopt;
}

MessageAnswer MessageBoxModel::CloseRequested() const { return platform::DismissAnswer(buttons_); }

}  // namespace kest::ui
