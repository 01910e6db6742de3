#include "shell/ui/message_box_view.h"

#include <algorithm>

#include "shell/messages.h"
#include "shell/ui/message_box_icon.h"
#include "shell/ui/paint.h"
#include "shell/ui/palette.h"
#include "shell/ui/text_wrap.h"

namespace kest::ui {

namespace {

using M = MessageBoxMetrics;

const std::string& ButtonCaption(platform::MessageAnswer answer) {
  switch (answer) {
    case platform::MessageAnswer::kOk: return shell::Message(shell::ShellMessage::ButtonOk);
    case platform::MessageAnswer::kCancel: return shell::Message(shell::ShellMessage::ButtonCancel);
    case platform::MessageAnswer::kYes: return shell::Message(shell::ShellMessage::ButtonYes);
    case platform::MessageAnswer::kNo: break;
  }
  return shell::Message(shell::ShellMessage::ButtonNo);
}

// The caption on one row: cut with "…" when it is wider than the strip.
std::string FitCaption(UiText& text, const std::string& caption, std::int32_t width) {
  std::vector<std::string> rows = WrapText(text, caption, width);
  if (rows.empty()) return {};
  return CutRows(text, std::move(rows), 1, width).front();
}

}  // namespace

MessageBoxView::MessageBoxView(UiText& text, const platform::MessageBoxRequest& request, Size room)
    : text_(text), request_(request) {
  const MessageBoxModel model(request.buttons);
  const std::int32_t count = static_cast<std::int32_t>(model.ButtonCount());
  const std::int32_t buttons_width = count * M::kButtonWidth + (count - 1) * M::kButtonGap;
  const bool has_icon = request.icon != platform::MessageIcon::kNone;
  const std::int32_t icon_room = has_icon ? kIconSide + M::kMargin : 0;
  const std::int32_t frame = 2 * M::kBorder;
  const std::int32_t widest = std::max(std::min(room.width, M::kMaxWidth), buttons_width + 2 * M::kMargin + frame);
  const std::int32_t text_room = std::max(widest - frame - 2 * M::kMargin - icon_room, M::kMinTextWidth);

  rows_ = WrapText(text, request.text, text_room);
  std::int32_t text_width = 0;
  for (const std::string& row : rows_) text_width = std::max(text_width, text.Width(row));
  const std::int32_t line = text.LineHeight();
  const std::int32_t caption_need = text.Width(request.caption) + 2 * M::kMargin;
  const std::int32_t inner_width =
      std::max({2 * M::kMargin + icon_room + text_width, 2 * M::kMargin + buttons_width, caption_need});
  size_.width = std::min(inner_width + frame, widest);

  // Height: borders, strip, margin, the taller of icon and text, margin, buttons, margin.
  const std::int32_t fixed = frame + M::kCaptionHeight + 3 * M::kMargin + M::kButtonHeight;
  const std::int32_t most_rows = std::max<std::int32_t>((room.height - fixed) / std::max(line, 1), 1);
  rows_ = CutRows(text, std::move(rows_), static_cast<std::size_t>(most_rows), text_room);
  const std::int32_t text_height = static_cast<std::int32_t>(rows_.size()) * line;
  const std::int32_t body = std::max(text_height, has_icon ? kIconSide : 0);
  size_.height = fixed + body;

  caption_ = FitCaption(text, request.caption, size_.width - frame - 2 * 4);
  const std::int32_t body_top = M::kBorder + M::kCaptionHeight + M::kMargin;
  text_at_ = {M::kBorder + M::kMargin + icon_room, body_top + (body - text_height) / 2};
  const std::int32_t buttons_left = (size_.width - buttons_width) / 2;
  const std::int32_t buttons_top = body_top + body + M::kMargin;
  for (std::int32_t i = 0; i < count; ++i) {
    const std::int32_t left = buttons_left + i * (M::kButtonWidth + M::kButtonGap);
    buttons_.emplace_back(Rect{left, buttons_top, left + M::kButtonWidth, buttons_top + M::kButtonHeight},
                          ButtonCaption(model.AnswerOf(static_cast<std::size_t>(i))));
  }
}

Rect MessageBoxView::CaptionStrip() const {
  return {M::kBorder, M::kBorder, size_.width - M::kBorder, M::kBorder + M::kCaptionHeight};
}

std::optional<Rect> MessageBoxView::IconRect() const {
  if (request_.icon == platform::MessageIcon::kNone) return std::nullopt;
  const std::int32_t left = M::kBorder + M::kMargin;
  const std::int32_t top = M::kBorder + M::kCaptionHeight + M::kMargin;
  const std::int32_t text_height = static_cast<std::int32_t>(rows_.size()) * text_.LineHeight();
  const std::int32_t offset = std::max(text_height - kIconSide, 0) / 2;
  return Rect{left, top + offset, left + kIconSide, top + offset + kIconSide};
}

std::optional<std::size_t> MessageBoxView::ButtonAt(Point p) const {
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    if (Contains(buttons_[i].bounds, p.x, p.y)) return i;
  }
  return std::nullopt;
}

void MessageBoxView::Draw(TCustomDIBX& target, Point at, const MessageBoxModel& model) const {
  const Rect box{at.x, at.y, at.x + size_.width, at.y + size_.height};
  FillColour(target, box, kFaceColour);
  DrawEdge(target, box, Edge::kRaised);
  const Rect strip = Offset(CaptionStrip(), at.x, at.y);
  FillColour(target, strip, kCaptionColour);
  text_.Draw(target, strip.left + 4, strip.top + (strip.Height() - text_.LineHeight()) / 2, caption_,
             kCaptionTextColour);
  if (const std::optional<Rect> icon = IconRect()) DrawMessageIcon(target, at.x + icon->left, at.y + icon->top, request_.icon);
  std::int32_t y = at.y + text_at_.y;
  for (const std::string& row : rows_) {
    text_.Draw(target, at.x + text_at_.x, y, row, kTextColour);
    y += text_.LineHeight();
  }
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    Button shown = buttons_[i];
    shown.bounds = Offset(shown.bounds, at.x, at.y);
    shown.Draw(target, text_, {.enabled = true,
                               .focused = model.Focus() == i,
                               .hover = model.Hover() == i,
                               .pressed = model.ShownPressed() == i});
  }
}

}  // namespace kest::ui
