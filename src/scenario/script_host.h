#pragma once
// What the interpreter needs from the project around it: pages by name, the disk check before
// a page is opened, the quit request, and the game save and load requests that commands leave
// for the end of the frame. TProject is the real one; tests supply their own.

#include <cstdint>
#include <string>
#include <string_view>

namespace kest {

class TPage;

class TScriptHost {
 public:
  virtual ~TScriptHost() = default;

  // Reads the named page file into `page`; raises what reading raises.
  virtual void LoadPage(TPage& page, const std::string& name) = 0;
  // True when the file can be opened now (it may ask the user for a disk).
  virtual bool EnsureFile(std::string_view name) = 0;
  // True when the file lies on one of the title's disks (so it may become reachable later).
  virtual bool IsOnSomeDisk(std::string_view name) = 0;

  virtual bool QuitRequested() const = 0;
  // Terminate: set QuitRequested and close the window once the frame is over.
  virtual void RequestQuit() = 0;

  virtual void RequestSave(std::int32_t slot, std::string page, std::int32_t index, std::string caption) = 0;
  virtual void RequestLoad(std::int32_t slot) = 0;
};

}  // namespace kest
