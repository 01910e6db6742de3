#include "shell/player_session.h"

#include <filesystem>

#include "images/layered_loader.h"
#include "objects/wipe_transition.h"
#include "render/wipes/wipe.h"
#include "vfs/game_mount.h"

namespace kest::shell {

std::string SaveFilePath(const SessionStart& start) {
  std::string folder = start.save_folder;
  if (folder.empty()) folder = start.game_folders.empty() ? start.program_folder : start.game_folders.front();
  return (std::filesystem::path(folder) / "save.dat").string();
}

PlayerSession::PlayerSession(const SessionStart& start, TProjectHost& host)
    : game_folder_(start.game_folders.empty() ? start.program_folder : start.game_folders.front()) {
  if (start.seed) functions_.SetRandomSeed(*start.seed);
  RegisterLayeredImageLoader();
  scene_.SetImageCache(&zelk_man_);
  // The transitions draw their own random numbers (crack drifts, random blocks) from the run's
  // seed, so headless runs repeat and the scripts' numbers are left alone.
  SetWipeRandomSeed(start.seed.value_or(0));
  MountGameData(files_, {.program_folder = start.program_folder, .game_folders = start.game_folders});
  project_ = std::make_unique<TProject>(
      files_, params_, host,
      ProjectStartup{.arguments = start.game_folders, .program_folder = start.program_folder,
                     .save_file = SaveFilePath(start)},
      ProjectRuntime{.functions = &functions_, .scene = &scene_, .clock = &clock_});
  zelk_man_.SetImageSeed(project_->ImageSeed);
  RegisterMaskPictureLoader(files_, project_->ImageSeed);
  // A screen too large to show is refused by the runner; the scene keeps no surface for it.
  if (!project_->QuitRequested() && SceneSizeFits(project_->ScreenWidth, project_->ScreenHeight))
    scene_.SetSize(project_->ScreenWidth, project_->ScreenHeight);
  // The zoom-in's point defaults to the scene's centre.
  scene_.SetTransitionFactory(MakeWipeTransitionFactory({project_->ScreenWidth / 2, project_->ScreenHeight / 2}));
}

PlayerSession::~PlayerSession() {
  EndProject();
  SetMaskPictureLoader(nullptr);  // it reads through this session's file manager
}

}  // namespace kest::shell
