#include "shell/platform_host.h"

#include "core/cp932.h"

namespace kest::shell {

bool PlatformHost::ShowMessage(const std::string& caption, const std::string& text, Icon icon, Buttons buttons) {
  last_message_ = cp932::ToUtf8Message(caption) + ": " + cp932::ToUtf8Message(text);
  const platform::MessageBoxRequest request{
      .caption = caption,
      .text = text,
      .buttons = buttons == Buttons::Ok ? platform::MessageButtons::kOk : platform::MessageButtons::kOkCancel,
      .icon = icon == Icon::Warning ? platform::MessageIcon::kWarning : platform::MessageIcon::kInformation};
  return boxes_.Show(request) == platform::MessageAnswer::kOk;
}

void PlatformHost::SetApplicationTitle(const std::string& title) {
  title_ = title;
  if (platform::Display* display = platform_.CurrentDisplay()) display->SetTitle(title);
}

}  // namespace kest::shell
