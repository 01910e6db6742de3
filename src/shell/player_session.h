#pragma once
// Everything a running title is made of, built in the player's start-up order: the virtual file
// manager with the title's archives mounted, the variable store, the built-in functions, the
// scene lists, the frame clock and the project (status data restored, project file read, the
// interpreter on the start page). The window and the headless runner both play a session; they
// differ only in where time, input and the screen come from.

#include <memory>
#include <string>
#include <vector>

#include "images/zelk_cache.h"
#include "objects/scene_list.h"
#include "params/param_collection.h"
#include "params/sys_func_man.h"
#include "scenario/frame_clock.h"
#include "scenario/project.h"
#include "vfs/file_manager.h"

namespace kest::shell {

struct SessionStart {
  std::vector<std::string> game_folders;  // the command line's folders; none: the program's own
  std::string program_folder;             // with a trailing "/"
  std::string save_folder;                // where "save.dat" lives; empty: the first game folder
  std::optional<std::uint32_t> seed;      // of the built-in random function
};

class PlayerSession {
 public:
  // Runs the start-up. The player's own errors (a damaged archive, status data or start page)
  // propagate as KestError; a title that cannot start leaves Project().QuitRequested() set after
  // its own message went to `host`.
  PlayerSession(const SessionStart& start, TProjectHost& host);
  // Frees the project first: its exit page runs (when nobody ran it) and its status data is
  // written, while the scene and the variables still exist.
  ~PlayerSession();
  PlayerSession(const PlayerSession&) = delete;
  PlayerSession& operator=(const PlayerSession&) = delete;

  TProject& Project() { return *project_; }
  TKestBaseList& Scene() { return scene_; }
  TFrameClock& Clock() { return clock_; }
  TParamCollection& Params() { return params_; }
  TZelkCollection& ImageCache() { return zelk_man_; }
  TVrFileManager& Files() { return files_; }
  // The game folder the player was started for: the first argument, or the program's folder.
  const std::string& GameFolder() const { return game_folder_; }

  // Frees the project now (exit page, status data); later calls do nothing. The scene's pictures
  // stop running their kept expressions, which ran in the project's interpreter.
  void EndProject() {
    project_.reset();
    scene_.SetExpressionRunner(nullptr);
  }

 private:
  std::string game_folder_;
  TVrFileManager files_;
  TParamCollection params_;
  TSysFuncMan functions_;
  // Declared before the scene: the scene's pictures give their cache entries back when it goes.
  TZelkCollection zelk_man_{files_, ZelkCacheOptions{.on_error = [this](const std::string& e) { scene_.Note(e); }}};
  TKestBaseList scene_{0, 0};
  TFrameClock clock_;
  std::unique_ptr<TProject> project_;
};

// Where "save.dat" lives: `save_folder` when given, else the first game folder, else the
// program's folder.
std::string SaveFilePath(const SessionStart& start);

}  // namespace kest::shell
