#pragma once
// How the file manager asks the user for another disk of a multi-disk title. The shell supplies
// the dialogs; tests supply scripted answers.

#include <cstdint>
#include <string>

namespace kest {

class TDiskPrompt {
 public:
  virtual ~TDiskPrompt() = default;
  // The project title, which an install file on the right disk carries as its install id.
  virtual std::string ProjectTitle() const = 0;
  // Shows the project's disk prompt for `disk_number` (1 for the first disk); true for OK.
  virtual bool AskForDisk(std::int32_t disk_number) = 0;
  // Shows the project's exit message after a cancelled prompt; true when the user confirms quitting.
  virtual bool ConfirmQuit() = 0;
  // Stops the player: no script runs any more and the window closes.
  virtual void RequestQuit() = 0;
};

}  // namespace kest
