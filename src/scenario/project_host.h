#pragma once
// What the project needs from the player around it: message boxes, the application title, and
// a way to close the window. The shell supplies the real ones; tests supply scripted ones.

#include <cstdint>
#include <string>

namespace kest {

class TProjectHost {
 public:
  enum class Icon { Warning, Information };
  enum class Buttons { Ok, OkCancel };

  virtual ~TProjectHost() = default;
  // Shows a message box (texts in CP932); true when the user answered OK.
  virtual bool ShowMessage(const std::string& caption, const std::string& text, Icon icon, Buttons buttons) = 0;
  // The title becomes the application title and the window caption.
  virtual void SetApplicationTitle(const std::string& title) = 0;
  // The scene size is known (the default centre of zoom transitions follows it).
  virtual void SceneSizeKnown(std::int32_t /*width*/, std::int32_t /*height*/) {}
  // Closes the main window once the current frame is over.
  virtual void RequestClose() = 0;
};

}  // namespace kest
