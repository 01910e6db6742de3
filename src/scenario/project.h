#pragma once
// TProject: the loaded game. Creating it is the scenario's start-up: status data restored from
// "save.dat", the game data found (on disk or on the title's CDs), the project file "kest.kpb"
// read, the declared variables created. During play it carries the project-wide settings and
// decides whether a file needs another disk.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "params/param_collection.h"
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

class TProject : public ProjectSettings {
 public:
  // Runs the start-up. Afterwards QuitRequested() is clear and the start page is known to exist,
  // or QuitRequested() is set and the player closes. Errors of the status data propagate.
  TProject(TVrFileManager& files, TParamCollection& params, TProjectHost& host, ProjectStartup startup);
  ~TProject();
  TProject(const TProject&) = delete;
  TProject& operator=(const TProject&) = delete;

  bool QuitRequested() const { return quit_requested_; }
  void SetQuitRequested(bool quit) { quit_requested_ = quit; }

  // Makes a file reachable before it is opened: true when it exists; otherwise a file on a
  // listed disk, unless it is a sound, asks for that disk.
  bool EnsureFile(std::string_view name);
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

 private:
  class DiskPromptAdapter;

  void Start();
  void RestoreStatusData();
  bool ReadProject();
  void CreateDeclaredVariables(const std::vector<DeclaredVariable>& variables);
  void ReadOriginalFolderDisks();
  bool ScanForDisk(const std::string& install_id);

  TVrFileManager& files_;
  TParamCollection& params_;
  TProjectHost& host_;
  ProjectStartup startup_;
  bool quit_requested_ = true;
  std::vector<std::pair<std::int32_t, std::string>> save_captions_;
};

// The status entry of "save.dat" begins with "Status" and three version digits; without them
// the version is 0 and the data starts at once. Returns the version and moves past the header.
std::int32_t ReadStatusHeader(ByteReader& in);

}  // namespace kest
