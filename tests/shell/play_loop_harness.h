#pragma once
// A title compiled in the test and played by the frame loop on the headless platform.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "params/param_collection.h"
#include "platform/headless/headless_platform.h"
#include "shell/play_loop.h"
#include "shell/fixed_cell_ui_text.h"
#include "shell/player_state.h"
#include "source/title_source.h"
#include "support/temp_folder.h"

namespace kest::shell {

class PlayLoopTest : public ::testing::Test {
 protected:
  void WriteTitle(const std::string& start_page, const std::string& project_extra = "") {
    std::filesystem::create_directories(source_.Path());
    std::ofstream(source_.File("project.kest"))
        << "title \"Loop\"\nscreen " << scene_.width << ' ' << scene_.height << "\nstart-page \"start.ksb\"\nexit-page \"exit.ksb\"\n"
        << "var int ticks = 0\nvar int clock = 0\n" << project_extra;
    std::ofstream(source_.File("start.kss")) << start_page;
    std::ofstream(source_.File("exit.kss")) << "VarNew exited, type: bool, value: TRUE\n";
    source::CompileTitle({.source_folder = source_.Path().string(), .output_folder = game_.Path().string()});
  }

  // Starts the title on a headless platform with this scripted input.
  // `windowed`: a platform that stands for a window (the loop and the boxes then take the
  // window's paths: the real tick, the modal box) instead of the scripted headless one.
  void Start(const std::string& input, std::unique_ptr<platform::HeadlessPlatform> windowed = nullptr) {
    windowed_ = windowed != nullptr;
    platform_ = windowed ? std::move(windowed)
                         : std::make_unique<platform::HeadlessPlatform>(platform::HeadlessOptions{
                               .input = platform::ParseScriptedInput(input, "input"), .log = &log_});
    boxes_ = std::make_unique<MessageBoxes>(*platform_, Scripted(), ui_text_, shots_, log_);
    host_ = std::make_unique<PlatformHost>(*platform_, *boxes_);
    session_ = std::make_unique<PlayerSession>(
        SessionStart{.game_folders = {game_.Path().string()}, .program_folder = game_.Path().string() + "/"}, *host_);
    ASSERT_FALSE(session_->Project().QuitRequested()) << host_->LastMessage();
    display_ = &platform_->OpenDisplay({.scene = scene_, .title = "Loop", .dock_height = dock_height_});
    screen_ = std::make_unique<TScreenManager>(*display_, scene_, scene_);
    window_ = std::make_unique<WindowPicture>(*display_);
    if (dock_height_ > 0) toolbar_ = std::make_unique<ToolbarDock>(ui_text_, scene_.width);
    boxes_->AttachWindow(window_.get());
    ConnectPlayerState(*session_, *screen_, *display_);
  }

  LoopEnd Run(std::uint32_t frames) {
    errors_ = std::make_unique<ErrorLog>(log_);
    loop_ = std::make_unique<PlayLoop>(*session_, *platform_, Scripted(), *host_, *screen_,
                                       LoopWindow{.picture = *window_, .toolbar = toolbar_.get(), .boxes = *boxes_},
                                       *errors_, LoopOptions{.frames = frames});
    return loop_->Run();
  }

  std::int32_t Int(const std::string& name) {
    const TParamCollectionItem* item = session_->Params().Find(name);
    return item ? item->Value().AsInt() : -1;
  }

  platform::HeadlessPlatform* Scripted() { return windowed_ ? nullptr : platform_.get(); }

  testing::TempFolder source_, game_;
  bool windowed_ = false;
  std::ostringstream log_;
  platform::Size scene_{64, 48};
  int dock_height_ = 0;  // set before Start for a window with the toolbar
  ui::FixedCellUiText ui_text_;
  DialogShots shots_{""};
  std::unique_ptr<MessageBoxes> boxes_;
  std::unique_ptr<platform::HeadlessPlatform> platform_;
  std::unique_ptr<PlatformHost> host_;
  std::unique_ptr<PlayerSession> session_;
  platform::Display* display_ = nullptr;
  std::unique_ptr<TScreenManager> screen_;
  std::unique_ptr<WindowPicture> window_;
  std::unique_ptr<ToolbarDock> toolbar_;
  std::unique_ptr<ErrorLog> errors_;
  std::unique_ptr<PlayLoop> loop_;
};

}  // namespace kest::shell
