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
#include "shell/player_state.h"
#include "source/title_source.h"
#include "support/temp_folder.h"

namespace kest::shell {

class PlayLoopTest : public ::testing::Test {
 protected:
  void WriteTitle(const std::string& start_page, const std::string& project_extra = "") {
    std::filesystem::create_directories(source_.Path());
    std::ofstream(source_.File("project.kest"))
        << "title \"Loop\"\nscreen 64 48\nstart-page \"start.ksb\"\nexit-page \"exit.ksb\"\n"
        << "var int ticks = 0\nvar int clock = 0\n" << project_extra;
    std::ofstream(source_.File("start.kss")) << start_page;
    std::ofstream(source_.File("exit.kss")) << "VarNew exited, type: bool, value: TRUE\n";
    source::CompileTitle({.source_folder = source_.Path().string(), .output_folder = game_.Path().string()});
  }

  // Starts the title on a headless platform with this scripted input.
  void Start(const std::string& input) {
    platform_ = std::make_unique<platform::HeadlessPlatform>(
        platform::HeadlessOptions{.input = platform::ParseScriptedInput(input, "input"), .log = &log_});
    host_ = std::make_unique<PlatformHost>(*platform_);
    session_ = std::make_unique<PlayerSession>(
        SessionStart{.game_folders = {game_.Path().string()}, .program_folder = game_.Path().string() + "/"}, *host_);
    ASSERT_FALSE(session_->Project().QuitRequested()) << host_->LastMessage();
    display_ = &platform_->OpenDisplay({.scene = {64, 48}, .title = "Loop"});
    screen_ = std::make_unique<TScreenManager>(*display_, platform::Size{64, 48}, platform::Size{64, 48});
    ConnectPlayerState(*session_, *screen_, *display_);
  }

  LoopEnd Run(std::uint32_t frames) {
    errors_ = std::make_unique<ErrorLog>(log_);
    loop_ = std::make_unique<PlayLoop>(*session_, *platform_, platform_.get(), *host_, *screen_, *errors_,
                                       LoopOptions{.frames = frames});
    return loop_->Run();
  }

  std::int32_t Int(const std::string& name) {
    const TParamCollectionItem* item = session_->Params().Find(name);
    return item ? item->Value().AsInt() : -1;
  }

  testing::TempFolder source_, game_;
  std::ostringstream log_;
  std::unique_ptr<platform::HeadlessPlatform> platform_;
  std::unique_ptr<PlatformHost> host_;
  std::unique_ptr<PlayerSession> session_;
  platform::Display* display_ = nullptr;
  std::unique_ptr<TScreenManager> screen_;
  std::unique_ptr<ErrorLog> errors_;
  std::unique_ptr<PlayLoop> loop_;
};

}  // namespace kest::shell
