#pragma once
// How a message box looks: a raised frame, a caption strip with the caption in white, the icon
// at the left, the text wrapped beside it, and the buttons centred along the bottom, the focused
// one with its focus rectangle. The box is as wide as its caption, text and buttons need, and no
// wider or taller than the room it is shown in; text that does not fit is cut with "…".

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "render/surface.h"
#include "shell/ui/button.h"
#include "shell/ui/message_box_model.h"
#include "shell/ui/ui_text.h"

namespace kest::ui {

struct MessageBoxMetrics {
  static constexpr std::int32_t kBorder = 3;          // raised edge and one pixel of face
  static constexpr std::int32_t kCaptionHeight = 18;  // the strip below the top border
  static constexpr std::int32_t kMargin = 12;         // round the icon, the text and the buttons
  static constexpr std::int32_t kButtonWidth = 75;
  static constexpr std::int32_t kButtonHeight = 23;
  static constexpr std::int32_t kButtonGap = 6;
  static constexpr std::int32_t kMinTextWidth = 60;
  static constexpr std::int32_t kMaxWidth = 480;      // the text wraps rather than widen the box past this
};

class MessageBoxView {
 public:
  // `room` is the picture the box is shown over (the window's, or its own window's largest size).
  MessageBoxView(UiText& text, const platform::MessageBoxRequest& request, Size room);

  Size BoxSize() const { return size_; }
  const std::vector<std::string>& Rows() const { return rows_; }
  // In box coordinates.
  Rect CaptionStrip() const;
  std::optional<Rect> IconRect() const;
  Point TextOrigin() const { return text_at_; }
  const std::vector<Button>& Buttons() const { return buttons_; }
  std::optional<std::size_t> ButtonAt(Point box_point) const;

  // Draws the whole box with its top-left at `at`.
  void Draw(TCustomDIBX& target, Point at, const MessageBoxModel& model) const;

 private:
  UiText& text_;
  platform::MessageBoxRequest request_;
  Size size_;
  std::vector<std::string> rows_;
  std::string caption_;
  Point text_at_;
  std::vector<Button> buttons_;
};

}  // namespace kest::ui
