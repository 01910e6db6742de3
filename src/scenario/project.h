#pragma once
// TProject: the loaded game. Creating it is the scenario's start-up: status data restored from
// "save.dat", the game data found (on disk or on the title's CDs), the project file "kest.kpb"
// read, the declared variables created. During play it carries the project-wide settings and
// decides whether a file needs another disk.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "params/param_collection.h"
#include "params/sys_func_man.h"
#include "scenario/call_man.h"
#include "scenario/frame_clock.h"
#include "scenario/scene.h"
#include "scenario/script_host.h"
#include "scenario/folder_disks.h"
#include "scenario/project_file.h"
#include "scenario/project_host.h"
#include "vfs/file_manager.h"

namespace kest {

struct ProjectStartup {
  std::vector<std::string> arguments;  // the command line: game folders, "/config", or nothing
  std::string program_folder;          // the folder of the running program, with a trailing "/"
  std::string save_file;               // the real path of "save.dat"
};

// What the interpreter runs with besides the variables: the built-in functions, the scene (its
// event queue and objects) and the frame clock. Any left out, the project makes its own.
struct ProjectRuntime {
  TSysFuncMan* functions = nullptr;
  TScene* scene = nullptr;
  TFrameClock* clock = nullptr;
};

class TProject final : public TScriptHost, public ProjectSettings {
 public:
  // Runs the start-up, which ends by placing the interpreter on the start page. Afterwards
  // QuitRequested() is clear, or it is set and the player closes. Errors of the status data
  // and of reading the start page propagate.
  TProject(TVrFileManager& files, TParamCollection& params, TProjectHost& host, ProjectStartup startup,
           ProjectRuntime runtime = {});
  // Runs the exit page if RunExitPage has not (its errors are lost here).
  ~TProject() override;
  TProject(const TProject&) = delete;
  TProject& operator=(const TProject&) = delete;

  bool QuitRequested() const override { return quit_requested_; }
  void SetQuitRequested(bool quit) { quit_requested_ = quit; }

  // Why the start-up closed the player without a message of its own: the player closes without
  // a word when the project file is missing or too new, and the shell says which it was.
  enum class SilentStop { kNone, kNoProjectFile, kProjectTooNew };
  SilentStop StartStop() const { return start_stop_; }
  std::int32_t ProjectVersionRead() const { return project_version_read_; }

  // The interpreter, once start-up reached it; none before or when start-up stopped earlier.
  TCallMan* CallMan() { return call_man_.get(); }
  TScene& Scene() { return *scene_; }
  TFrameClock& Clock() { return *clock_; }

  // One frame's run of the interpreter.
  void RunScript();
  // The end of a frame: the pending game load, then the pending save. True when a game was
  // loaded. Both requests are cleared; saving and loading games are not built yet, so a
  // request that would write or read raises "... not available yet".
  bool ProcessPending();
  // Runs the exit page to its end, once; the interpreter's errors propagate. Afterwards
  // QuitRequested() is set.
  void RunExitPage();
  // Replaces the status data in "save.dat" (the file is rewritten whole and atomically, unless
  // the title asks not to write it). A failure leaves the file as it was.
  void SaveStatus();
  // The status entry: "Status103", then the status variables and the other subsystems' blocks.
  Bytes BuildStatusData() const;

  // ---- TScriptHost
  void LoadPage(TPage& page, const std::string& name) override;
  // Makes a file reachable before it is opened: true when it exists; otherwise a file on a
  // listed disk, unless it is a sound, asks for that disk.
  bool EnsureFile(std::string_view name) override;
  bool IsOnSomeDisk(std::string_view name) override { return FolderDisks.DiskOf(name) > 0; }
  void RequestQuit() override;
  void RequestSave(std::int32_t slot, std::string page, std::int32_t index, std::string caption) override;
  void RequestLoad(std::int32_t slot) override { PendingLoad = slot; }
  // Looks for the game data beside the program or on a disk; false when the player must quit.
  bool LocateGameData();

  const std::string& SaveFileName() const { return startup_.save_file; }
  // The caption of a game save slot, or "" when there is none.
  std::string SaveCaption(std::int32_t slot) const;
  void SetSaveCaption(std::int32_t slot, std::string caption);
  // Rebuilds the captions from the game saves in "save.dat".
  void ReadSaveCaptions();
  const std::vector<std::pair<std::int32_t, std::string>>& SaveCaptions() const { return save_captions_; }

  TFolderDiskList FolderDisks;
  std::int32_t PendingLoad = -1;
  std::int32_t PendingSave = -1;
  std::string PendingSavePage;
  std::int32_t PendingSaveIndex = 0;
  std::string PendingSaveCaption;

 private:
  class DiskPromptAdapter;

  void Start();
  void RestoreStatusData();
  void RestoreStatusTail(ByteReader& in, std::int32_t version);
  bool ReadProject();
  void CreateDeclaredVariables(const std::vector<DeclaredVariable>& variables);
  void ReadOriginalFolderDisks();
  bool ScanForDisk(const std::string& install_id);

  TVrFileManager& files_;
  TParamCollection& params_;
  TProjectHost& host_;
  ProjectStartup startup_;
  bool quit_requested_ = true;
  SilentStop start_stop_ = SilentStop::kNone;
  std::int32_t project_version_read_ = 0;
  std::vector<std::pair<std::int32_t, std::string>> save_captions_;

  // The runtime the caller did not supply, owned here.
  std::unique_ptr<TSysFuncMan> own_functions_;
  std::unique_ptr<TEmptyScene> own_scene_;
  std::unique_ptr<TFrameClock> own_clock_;
  TSysFuncMan* functions_;
  TScene* scene_;
  TFrameClock* clock_;
  std::unique_ptr<TCallMan> call_man_;
  bool exit_page_done_ = false;
};

// The status entry of "save.dat" begins with "Status" and three version digits; without them
// the version is 0 and the data starts at once. Returns the version and moves past the header.
std::int32_t ReadStatusHeader(ByteReader& in);

}  // namespace kest
