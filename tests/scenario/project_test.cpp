#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/byte_writer.h"
#include "params/param_values.h"
#include "scenario/install_file.h"
#include "scenario/messages.h"
#include "scenario/page.h"
#include "scenario/project.h"
#include "support/archive_builder.h"
#include "support/temp_folder.h"

namespace kest {
namespace {

using testing::BuildArchive;
using testing::TempFolder;
using testing::TextBytes;

// A page file with no commands: the interpreter starts on it.
Bytes EmptyPage() {
  TPage page;
  page.StorePropertySets();
  return page.Write();
}

struct ShownMessage {
  std::string caption, text;
};

class ScriptedHost : public TProjectHost {
 public:
  bool ShowMessage(const std::string& caption, const std::string& text, Icon, Buttons) override {
    shown.push_back({caption, text});
    if (answers.empty()) return false;
    const bool answer = answers.front();
    answers.erase(answers.begin());
    return answer;
  }
  void SetApplicationTitle(const std::string& title) override { application_title = title; }
  void RequestClose() override { close_requested = true; }

  std::vector<ShownMessage> shown;
  std::vector<bool> answers;
  std::string application_title;
  bool close_requested = false;
};

class ProjectTest : public ::testing::Test {
 protected:
  ProjectTest() : files_({.extra_disk_roots = {disk_.Path().string()}, .scan_optical_mounts = false}) {
    project_.Title = "Demo";
    project_.ScreenWidth = 640;
    project_.ScreenHeight = 480;
    project_.StartPage = "start.ksb";
    project_.DiskPrompt = "Insert disk %d%s";
    project_.ExitMessage = "Quit?";
    project_.Variables = {{1, "score", std::int32_t{5}}, {4, "hero", std::string("Ann")}, {7, "odd", {}}};
    project_.FolderDisks = {{"CG", 2}, {"BGM", 2}};
  }

  std::unique_ptr<TProject> Start() {
    game_.Write("kest.kpb", WriteProjectFile(project_));
    game_.Write("start.ksb", EmptyPage());
    files_.SetBaseFolder(game_.Path().string());
    return std::make_unique<TProject>(
        files_, params_, host_,
        ProjectStartup{.arguments = {game_.Path().string()}, .program_folder = "/nonexistent/", .save_file = game_.File("save.dat")});
  }

  TempFolder game_, disk_;
  TVrFileManager files_;
  TParamCollection params_;
  ScriptedHost host_;
  ProjectFile project_;
};

TEST_F(ProjectTest, StartsAndCreatesTheDeclaredVariables) {
  auto project = Start();
  EXPECT_FALSE(project->QuitRequested());
  EXPECT_EQ(host_.application_title, "Demo");
  EXPECT_EQ(project->ScreenWidth, 640);
  ASSERT_NE(params_.Find("score"), nullptr);
  EXPECT_EQ(params_.Find("score")->Value().AsInt(), 5);
  EXPECT_TRUE(params_.Find("score")->is_status);
  EXPECT_EQ(params_.Find("HERO")->Value().AsStr(), "Ann");
  EXPECT_EQ(params_.Find("odd"), nullptr);  // an unknown type code declares nothing
  EXPECT_TRUE(host_.shown.empty());
}

TEST_F(ProjectTest, ADeclaredVariableRestoredFromStatusDataKeepsItsValue) {
  {
    TParamCollection earlier;
    auto score = std::make_unique<TParamInt>();
    score->SetInt(99);
    earlier.Declare("score", PT_INT, ParamScope::Status, score.get());
    ByteWriter status;
    status.Raw(std::string_view("Status103"));
    earlier.SaveStatus(status);
    testing::FileSpec entry{"STATUSSAVEDATA", status.Take()};
    game_.Write("save.dat", BuildArchive({entry, {"GAMESAVEDATA3", [] {
                                                    ByteWriter save;
                                                    save.I32(134);
                                                    save.LString("Chapter 1");
                                                    return save.Take();
                                                  }()}}));
  }
  auto project = Start();
  EXPECT_EQ(params_.Find("score")->Value().AsInt(), 99);
  EXPECT_EQ(project->SaveCaption(3), "Chapter 1");
  EXPECT_EQ(project->SaveCaption(4), "");
}

// The project stops: QuitRequested stays set, with one warning or, where the player says
// nothing, none.
void ExpectStop(const TProject& project, const ScriptedHost& host, const std::string& warning) {
  EXPECT_TRUE(project.QuitRequested());
  if (warning.empty()) {
    EXPECT_TRUE(host.shown.empty());
    return;
  }
  ASSERT_EQ(host.shown.size(), 1u);
  EXPECT_EQ(host.shown[0].caption, Message(ScenarioMessage::CaptionWarning));
  EXPECT_EQ(host.shown[0].text, warning);
}

TEST_F(ProjectTest, AMissingStartPageStopsWithAWarning) {
  project_.StartPage = "nowhere.ksb";
  ExpectStop(*Start(), host_, Message(ScenarioMessage::NoStartPage));
}

TEST_F(ProjectTest, ANewerProjectStopsSilently) {
  project_.version = 111;
  ExpectStop(*Start(), host_, "");
}

TEST_F(ProjectTest, AnEmptyProjectFileStopsWithAWarning) {
  game_.Write("start.ksb", EmptyPage());
  game_.Write("kest.kpb", {});
  files_.SetBaseFolder(game_.Path().string());
  TProject project(files_, params_, host_, {.arguments = {game_.Path().string()}, .save_file = game_.File("save.dat")});
  ExpectStop(project, host_, Message(ScenarioMessage::NoProject));
}

TEST_F(ProjectTest, AMissingProjectFileStopsSilently) {
  files_.SetBaseFolder(game_.Path().string());
  TProject project(files_, params_, host_, {.arguments = {game_.Path().string()}, .save_file = game_.File("save.dat")});
  ExpectStop(project, host_, "");
}

TEST_F(ProjectTest, EnsureFileAsksForADiskOnlyForNonSoundFiles) {
  auto project = Start();
  EXPECT_TRUE(project->EnsureFile("start.ksb"));
  EXPECT_FALSE(project->EnsureFile(""));
  EXPECT_FALSE(project->EnsureFile("elsewhere\\x.zel"));  // no disk listed
  EXPECT_FALSE(project->EnsureFile("BGM\\title.ogg"));    // a sound never asks
  EXPECT_TRUE(host_.shown.empty());

  // CG lies on disk 2: the prompt shows the number in place of "%d" (and only there); the user
  // inserts the disk and answers OK.
  InstallFile install;
  install.DiskIndex = 1;
  install.InstallId = "Demo";
  disk_.Write("install.dat", WriteInstallFile(install));
  disk_.Write("game.dat", BuildArchive({{"CG\\ev01.zel", TextBytes("picture")}}));
  host_.answers = {true};
  EXPECT_TRUE(project->EnsureFile("CG\\ev01.zel"));
  ASSERT_EQ(host_.shown.size(), 1u);
  EXPECT_EQ(host_.shown[0].text, "Insert disk 2%s");
  EXPECT_EQ(files_.ReadFile("CG\\ev01.zel"), TextBytes("picture"));
}

TEST_F(ProjectTest, ACancelledDiskRequestEndsInAQuitWhenConfirmed) {
  auto project = Start();
  host_.answers = {false, false, false, true};  // cancel, keep playing, cancel, quit
  EXPECT_FALSE(project->EnsureFile("CG\\ev01.zel"));
  EXPECT_EQ(host_.shown.size(), 4u);
  EXPECT_EQ(host_.shown[1].text, "Quit?");
  EXPECT_TRUE(project->QuitRequested());
  EXPECT_TRUE(host_.close_requested);
}

TEST_F(ProjectTest, WithoutAGameFolderTheInstallFileIsRequired) {
  TProject project(files_, params_, host_, {.program_folder = game_.Path().string() + "/", .save_file = game_.File("save.dat")});
  EXPECT_TRUE(project.QuitRequested());
  ASSERT_EQ(host_.shown.size(), 1u);
  EXPECT_EQ(host_.shown[0].text, Message(ScenarioMessage::Reinstall));
}

TEST_F(ProjectTest, AFullInstallBesideTheProgramNeedsNoDisk) {
  InstallFile install;
  install.InstallId = "Demo";
  install.FullInstall = true;
  game_.Write("install.dat", WriteInstallFile(install));
  game_.Write("game.dat", BuildArchive({{"kest.kpb", WriteProjectFile(project_)}, {"start.ksb", EmptyPage()}}));
  TProject project(files_, params_, host_, {.program_folder = game_.Path().string() + "/", .save_file = game_.File("save.dat")});
  EXPECT_FALSE(project.QuitRequested());
  EXPECT_EQ(project.Title, "Demo");
}

TEST_F(ProjectTest, WithoutAGameFolderTheTitlesDiskIsFound) {
  InstallFile install;
  install.InstallId = "Demo";
  game_.Write("install.dat", WriteInstallFile(install));  // a partial install: data on the disk
  // The first scan finds nothing; the user inserts the disk and answers OK.
  bool inserted = false;
  const auto insert_disk = [&] {
    disk_.Write("install.dat", WriteInstallFile(install));
    disk_.Write("game.dat", BuildArchive({{"kest.kpb", WriteProjectFile(project_)}, {"start.ksb", EmptyPage()}}));
    inserted = true;
  };
  class InsertingHost : public ScriptedHost {
   public:
    std::function<void()> on_show;
    bool ShowMessage(const std::string& caption, const std::string& text, Icon icon, Buttons buttons) override {
      if (on_show) on_show();
      return ScriptedHost::ShowMessage(caption, text, icon, buttons);
    }
  } host;
  host.answers = {true};
  host.on_show = insert_disk;
  TProject project(files_, params_, host, {.program_folder = game_.Path().string() + "/", .save_file = game_.File("save.dat")});
  EXPECT_TRUE(inserted);
  ASSERT_EQ(host.shown.size(), 1u);
  EXPECT_EQ(host.shown[0].text, Message(ScenarioMessage::InsertDisk));
  EXPECT_FALSE(project.QuitRequested());
  EXPECT_EQ(project.Title, "Demo");
}

TEST_F(ProjectTest, ADiskThatNeverComesEndsInAQuit) {
  InstallFile install;
  install.InstallId = "Demo";
  game_.Write("install.dat", WriteInstallFile(install));
  host_.answers = {false, false, false, true};  // cancel, keep waiting, cancel, quit
  TProject project(files_, params_, host_, {.program_folder = game_.Path().string() + "/", .save_file = game_.File("save.dat")});
  EXPECT_TRUE(project.QuitRequested());
  ASSERT_EQ(host_.shown.size(), 4u);
  EXPECT_EQ(host_.shown[0].text, Message(ScenarioMessage::InsertDisk));
  EXPECT_EQ(host_.shown[1].text, Message(ScenarioMessage::DefaultExitMessage));
}

}  // namespace
}  // namespace kest

namespace kest {
namespace {

// A scene that keeps only the image cache's dither flag.
class DitherScene final : public TScene {
 public:
  TTimerList& Events() override { return events_; }
  std::string ObjectName(ObjectId) const override { return {}; }
  void ProcessInput() override {}
  void Update(std::int32_t) override {}
  void Draw() override {}
  void Reset() override {}
  ObjectId StandInSender(std::string_view) override { return 0; }
  bool Dither() const override { return dither; }
  void SetDither(bool value) override { dither = value; }

  bool dither = false;

 private:
  TTimerList events_;
};

class StatusCacheFlagTest : public ProjectTest {
 protected:
  std::unique_ptr<TProject> StartWith(DitherScene& scene) {
    game_.Write("kest.kpb", WriteProjectFile(project_));
    game_.Write("start.ksb", EmptyPage());
    files_.SetBaseFolder(game_.Path().string());
    return std::make_unique<TProject>(files_, params_, host_,
                                      ProjectStartup{.arguments = {game_.Path().string()},
                                                     .program_folder = "/nonexistent/",
                                                     .save_file = game_.File("save.dat")},
                                      ProjectRuntime{.scene = &scene});
  }

  void WriteStatus(const std::string& header, bool flag) {
    ByteWriter status;
    status.Raw(header);
    TParamCollection().SaveStatus(status);
    status.I32(1);  // one page file with read marks
    status.LString("start.ksb");
    status.I32(2);
    for (std::int32_t v : {4, 9, 0, 0}) status.I32(v);
    status.LString("start.ksb");  // the pending mark
    status.I32(3);
    status.I32(0);
    status.LString("mes");
    status.U8(flag ? 1 : 0);
    status.I32(100);
    status.I32(0);
    game_.Write("save.dat", BuildArchive({{"STATUSSAVEDATA", status.Take()}}));
  }
};

TEST_F(StatusCacheFlagTest, TheFlagIsReadOnlyAboveVersion100) {
  for (const char* header : {"Status100", "Status101", "Status103"}) {
    SCOPED_TRACE(header);
    WriteStatus(header, true);
    DitherScene scene;
    auto project = StartWith(scene);
    EXPECT_EQ(scene.dither, std::string(header) != "Status100");
  }
}

TEST_F(StatusCacheFlagTest, TheWrittenFlagReadsBack) {
  for (bool flag : {false, true}) {
    DitherScene scene;
    auto first = StartWith(scene);
    scene.dither = flag;  // after the start, which restored the flag of the file before
    const Bytes status = first->BuildStatusData();
    first.reset();
    game_.Write("save.dat", BuildArchive({{"STATUSSAVEDATA", status}}));
    DitherScene later;
    later.dither = !flag;
    auto project = StartWith(later);
    EXPECT_EQ(later.dither, flag);
  }
}

}  // namespace
}  // namespace kest
