// Whole frames on the headless platform: the frame loop's own cost per frame with a title that
// does nothing (a script parked in a long wait, nothing on screen changes), and the demo title
// as it plays (three boxes moved every frame, their old and new places repainted and presented).
// items_per_second is frames per second.

#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>
#include <sstream>

#include "platform/headless/headless_platform.h"
#include "shell/play_loop.h"
#include "source/title_source.h"
#include "support/temp_folder.h"

namespace kest::shell {
namespace {

constexpr std::uint32_t kFramesPerIteration = 100;

class HeadlessPlayer {
 public:
  explicit HeadlessPlayer(const std::string& source_folder) {
    source::CompileTitle({.source_folder = source_folder, .output_folder = game_.Path().string()});
    host_ = std::make_unique<PlatformHost>(platform_);
    session_ = std::make_unique<PlayerSession>(
        SessionStart{.game_folders = {game_.Path().string()}, .program_folder = game_.Path().string() + "/"},
        *host_);
    TProject& project = session_->Project();
    platform::Display& display =
        platform_.OpenDisplay({.scene = {project.ScreenWidth, project.ScreenHeight}, .title = project.Title});
    screen_ = std::make_unique<TScreenManager>(display, platform::Size{project.ScreenWidth, project.ScreenHeight},
                                               platform::Size{project.ScreenWidth, project.ScreenHeight});
  }

  void RunFrames(std::uint32_t frames) {
    PlayLoop loop(*session_, platform_, &platform_, *host_, *screen_, errors_, {.frames = frames});
    loop.Run();
  }

 private:
  testing::TempFolder game_;
  std::ostringstream log_;
  platform::HeadlessPlatform platform_{platform::HeadlessOptions{.log = &log_}};
  ErrorLog errors_{log_};
  std::unique_ptr<PlatformHost> host_;
  std::unique_ptr<PlayerSession> session_;
  std::unique_ptr<TScreenManager> screen_;
};

void RunTitle(benchmark::State& state, const std::string& source_folder) {
  HeadlessPlayer player(source_folder);
  player.RunFrames(kFramesPerIteration);  // the start-up frames are not measured
  for (auto _ : state) player.RunFrames(kFramesPerIteration);
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kFramesPerIteration);
}

void BM_IdleTitleFrames(benchmark::State& state) {
  testing::TempFolder source;
  std::ofstream(source.File("project.kest")) << "title \"Idle\"\nscreen 800 600\nstart-page \"start.ksb\"\n";
  std::ofstream(source.File("start.kss")) << "Wait 2000000000\n";
  RunTitle(state, source.Path().string());
}
BENCHMARK(BM_IdleTitleFrames);

void BM_DemoTitleFrames(benchmark::State& state) { RunTitle(state, KEST_DEMO_SOURCE); }
BENCHMARK(BM_DemoTitleFrames);

}  // namespace
}  // namespace kest::shell
