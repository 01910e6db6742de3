#include "scenario/project.h"

#include <charconv>

#include "core/cp932.h"
#include "core/errors.h"
#include "core/text_format.h"
#include "scenario/interpreter_state.h"
#include "params/param_values.h"
#include "scenario/install_file.h"
#include "scenario/messages.h"
#include "vfs/archive.h"
#include "vfs/real_files.h"

namespace kest {

namespace {

constexpr char kStatusEntry[] = "STATUSSAVEDATA";
constexpr char kGameSavePrefix[] = "GAMESAVEDATA";
constexpr char kProjectFileName[] = "kest.kpb";
constexpr char kOriginalProjectFileName[] = "/original_kest.kpb";
constexpr char kInstallFileName[] = "install.dat";
constexpr char kGameDataName[] = "game.dat";

// The disk prompt comes from the title's file, so it is never a format: "%d" is replaced as text.
std::string ReplaceDiskNumber(std::string prompt, std::int32_t disk) {
  const std::string number = std::to_string(disk);
  for (std::size_t at = prompt.find("%d"); at != std::string::npos; at = prompt.find("%d", at + number.size()))
    prompt.replace(at, 2, number);
  return prompt;
}

// Opens "save.dat" as an archive: a missing file is an empty archive.
TVrFileCollection OpenSaveFile(const std::string& path) {
  TVrFileCollection archive;
  archive.LoadFromFile(path);
  return archive;
}

std::unique_ptr<TCustomParam> DeclaredValue(const DeclaredVariable& variable) {
  switch (variable.type) {
    case PT_INT: {
      auto value = std::make_unique<TParamInt>();
      value->SetInt(std::get<std::int32_t>(variable.value));
      return value;
    }
    case PT_FLOAT: {
      auto value = std::make_unique<TParamFloat>();
      value->SetFloat(std::get<long double>(variable.value));
      return value;
    }
    case PT_BOOL: {
      auto value = std::make_unique<TParamFlag>();
      value->SetBool(std::get<bool>(variable.value));
      return value;
    }
    case PT_STR: {
      auto value = std::make_unique<TParamStr>();
      value->SetStr(std::get<std::string>(variable.value));
      return value;
    }
    default:
      return nullptr;
  }
}

}  // namespace

// Lets the file manager ask for another disk with the project's own texts.
class TProject::DiskPromptAdapter : public TDiskPrompt {
 public:
  explicit DiskPromptAdapter(TProject& project) : project_(project) {}
  std::string ProjectTitle() const override { return project_.Title; }
  bool AskForDisk(std::int32_t disk_number) override {
    return project_.host_.ShowMessage(project_.Title, ReplaceDiskNumber(project_.DiskPrompt, disk_number),
                                      TProjectHost::Icon::Information, TProjectHost::Buttons::OkCancel);
  }
  bool ConfirmQuit() override {
    return project_.host_.ShowMessage(project_.Title, project_.ExitMessage, TProjectHost::Icon::Information,
                                      TProjectHost::Buttons::OkCancel);
  }
  void RequestQuit() override {
    project_.quit_requested_ = true;
    project_.host_.RequestClose();
  }

 private:
  TProject& project_;
};

std::int32_t ReadStatusHeader(ByteReader& in) {
  const std::size_t start = in.Position();
  if (in.Remaining() >= 9 && in.Chars(6) == "Status") {
    std::int32_t version = 0;
    for (char digit : in.Chars(3)) {
      if (digit < '0' || digit > '9') in.Fail("status data header without a version");
      version = version * 10 + (digit - '0');
    }
    return version;
  }
  in.Seek(start);
  return 0;
}

// The number of frames' runs the exit page gets: it has no frames of its own, so a page that
// waits for ever would otherwise keep the player from closing.
constexpr int kExitPageRuns = 10000;

TProject::TProject(TVrFileManager& files, TParamCollection& params, TProjectHost& host, ProjectStartup startup,
                   ProjectRuntime runtime)
    : files_(files), params_(params), host_(host), startup_(std::move(startup)) {
  if (!runtime.functions) own_functions_ = std::make_unique<TSysFuncMan>();
  if (!runtime.scene) own_scene_ = std::make_unique<TEmptyScene>();
  if (!runtime.clock) own_clock_ = std::make_unique<TFrameClock>();
  functions_ = runtime.functions ? runtime.functions : own_functions_.get();
  scene_ = runtime.scene ? runtime.scene : own_scene_.get();
  clock_ = runtime.clock ? runtime.clock : own_clock_.get();
  files_.SetDiskPrompt(std::make_shared<DiskPromptAdapter>(*this));
  try {
    Start();
  } catch (...) {
    params_.SetSystemState(std::make_unique<TSystemState>());
    files_.SetDiskPrompt(nullptr);
    throw;
  }
}

TProject::~TProject() {
  try {
    RunExitPage();
  } catch (const std::exception&) {
    // The caller that wants the exit page's errors runs it itself before.
  }
  if (call_man_) SaveStatus();  // only a project that started has status data of its own
  params_.SetSystemState(std::make_unique<TSystemState>());
  files_.SetDiskPrompt(nullptr);
}

void TProject::RunScript() {
  if (call_man_ && !quit_requested_) call_man_->Run();
}

void TProject::RunExitPage() {
  if (exit_page_done_) return;
  exit_page_done_ = true;
  if (ExitPage.empty() || !call_man_) return;
  struct QuitAgain {
    bool& quit;
    ~QuitAgain() { quit = true; }
  } quit_again{quit_requested_};
  call_man_->Start(ExitPage);
  quit_requested_ = false;
  for (int run = 0; run < kExitPageRuns && !quit_requested_ && !call_man_->MainScriptEnded(); ++run) call_man_->Run();
}

bool TProject::ProcessPending() {
  std::string failed;
  if (PendingLoad >= 0) {
    PendingLoad = -1;
    failed = "GameLoad";
  }
  if (PendingSave >= 0) {
    PendingSave = -1;
    // A save without a caption writes nothing at all.
    if (!PendingSaveCaption.empty()) failed += failed.empty() ? "GameSave" : ", GameSave";
  }
  if (!failed.empty()) throw KestError(FillMessage(Message(ScenarioMessage::NotAvailableYet), {failed}));
  return false;
}

void TProject::LoadPage(TPage& page, const std::string& name) { page.LoadPage(files_, name); }

void TProject::RequestQuit() {
  quit_requested_ = true;
  host_.RequestClose();
}

void TProject::RequestSave(std::int32_t slot, std::string page, std::int32_t index, std::string caption) {
  PendingSave = slot;
  PendingSavePage = std::move(page);
  PendingSaveIndex = index;
  PendingSaveCaption = std::move(caption);
}

void TProject::Start() {
  // The player's own settings until the project file is read.
  FrameWait = true;
  SoundExtensions = "wav.wma.ogg";
  DiskPrompt = Message(ScenarioMessage::DefaultDiskPrompt);
  ExitMessage = Message(ScenarioMessage::DefaultExitMessage);
  quit_requested_ = true;
  ReadSaveCaptions();
  RestoreStatusData();
  Title = Message(ScenarioMessage::CaptionInformation);

  const bool no_folder_given = startup_.arguments.empty() || startup_.arguments.front() == "/config" ||
                               startup_.arguments.front() == "--config";
  if (no_folder_given && !LocateGameData()) return;
  if (!ReadProject()) return;
  quit_requested_ = false;
  ReadOriginalFolderDisks();

  // The interpreter starts on the start page; a title without one cannot run.
  call_man_ = std::make_unique<TCallMan>(InterpreterServices{params_, *functions_, *scene_, *clock_, *this});
  params_.SetSystemState(std::make_unique<TInterpreterState>(*call_man_, *clock_));
  if (StartPage.empty() || !files_.Exists(StartPage)) {
    host_.ShowMessage(Message(ScenarioMessage::CaptionWarning), Message(ScenarioMessage::NoStartPage),
                      TProjectHost::Icon::Warning, TProjectHost::Buttons::Ok);
    quit_requested_ = true;
    return;
  }
  call_man_->Start(StartPage);
}

void TProject::RestoreStatusData() {
  TVrFileCollection save = OpenSaveFile(startup_.save_file);
  if (save.IndexOf(kStatusEntry) < 0) return;
  const Bytes status = save.ReadEntry(kStatusEntry);
  ByteReader in(status, startup_.save_file + ":" + kStatusEntry);
  const std::int32_t version = ReadStatusHeader(in);
  params_.LoadStatus(in, version);
  // The read marks and the table data belong to subsystems that restore their own parts.
  RestoreStatusTail(in, version);
}

bool TProject::ReadProject() {
  Bytes bytes;
  try {
    bytes = files_.ReadFile(kProjectFileName);
  } catch (const KestError&) {
    start_stop_ = SilentStop::kNoProjectFile;  // the player closes without a word
    return false;
  }
  if (bytes.empty()) {
    host_.ShowMessage(Message(ScenarioMessage::CaptionWarning), Message(ScenarioMessage::NoProject),
                      TProjectHost::Icon::Warning, TProjectHost::Buttons::Ok);
    return false;
  }
  const ProjectFile project = ReadProjectFile(bytes, kProjectFileName);
  project_version_read_ = project.version;
  if (project.version > kNewestProjectVersion) {
    start_stop_ = SilentStop::kProjectTooNew;
    return false;
  }

  static_cast<ProjectSettings&>(*this) = project;
  host_.SetApplicationTitle(Title);
  host_.SceneSizeKnown(ScreenWidth, ScreenHeight);
  CreateDeclaredVariables(project.Variables);
  FolderDisks.Assign(project.FolderDisks);
  return true;
}

void TProject::CreateDeclaredVariables(const std::vector<DeclaredVariable>& variables) {
  for (const DeclaredVariable& variable : variables) {
    // A variable restored from the status data keeps its saved value.
    if (params_.Find(variable.name)) continue;
    const std::unique_ptr<TCustomParam> initial = DeclaredValue(variable);
    if (!initial) continue;  // unknown type codes declare nothing
    params_.Declare(variable.name, variable.type, ParamScope::Status, initial.get());
  }
}

void TProject::ReadOriginalFolderDisks() {
  if (!files_.Exists(kOriginalProjectFileName)) return;
  FolderDisks.Clear();
  const ProjectFile original = ReadProjectFile(files_.ReadFile(kOriginalProjectFileName), kOriginalProjectFileName);
  if (original.version <= kNewestProjectVersion) FolderDisks.Assign(original.FolderDisks);
}

bool TProject::EnsureFile(std::string_view name) {
  if (name.empty()) return false;
  if (files_.Exists(name)) return true;
  const std::int32_t disk = FolderDisks.DiskOf(name);
  if (disk <= 0) return false;
  // Missing sounds never ask for a disk. The list's entries match with or without their dots.
  const std::size_t dot = name.rfind('.');
  const std::string extension = cp932::LowerCase(dot == std::string_view::npos ? std::string_view() : name.substr(dot)) + ".";
  std::string sounds = cp932::LowerCase(SoundExtensions) + ".";
  if (sounds.front() != '.') sounds.insert(sounds.begin(), '.');
  if (extension.size() > 1 && sounds.find(extension) != std::string::npos) return false;
  return files_.RequestDisk(disk);
}

bool TProject::ScanForDisk(const std::string& install_id) {
  for (const std::string& root : files_.CdRoots()) {
    const std::optional<std::string> game_data = real_files::Resolve(root, kGameDataName);
    const std::optional<std::string> install = real_files::Resolve(root, kInstallFileName);
    if (!game_data || !install || !real_files::IsFile(*game_data) || !real_files::IsFile(*install)) continue;
    try {
      if (ReadInstallFile(real_files::Load(*install), *install).InstallId != install_id) continue;
    } catch (const KestError&) {
      continue;
    }
    files_.Mount(*game_data);
    return true;
  }
  return false;
}

bool TProject::LocateGameData() {
  const std::optional<std::string> local_install = real_files::FindEntry(startup_.program_folder, kInstallFileName);
  if (local_install && real_files::IsFile(*local_install) && files_.BaseFolder().empty())
    files_.SetBaseFolder(startup_.program_folder);
  if (!files_.Exists(kInstallFileName)) {
    host_.ShowMessage(Message(ScenarioMessage::CaptionInformation), Message(ScenarioMessage::Reinstall),
                      TProjectHost::Icon::Information, TProjectHost::Buttons::Ok);
    return false;
  }
  const InstallFile install = ReadInstallFile(files_.ReadFile(kInstallFileName), kInstallFileName);
  if (const std::optional<std::string> local_game = real_files::FindEntry(startup_.program_folder, kGameDataName);
      local_game && real_files::IsFile(*local_game))
    files_.Mount(*local_game);
  if (install.FullInstall) return true;
  for (;;) {
    if (ScanForDisk(install.InstallId)) return true;
    if (host_.ShowMessage(Message(ScenarioMessage::CaptionInformation), Message(ScenarioMessage::InsertDisk),
                          TProjectHost::Icon::Information, TProjectHost::Buttons::OkCancel))
      continue;
    if (host_.ShowMessage(Title, ExitMessage, TProjectHost::Icon::Information, TProjectHost::Buttons::OkCancel))
      return false;
  }
}

void TProject::ReadSaveCaptions() {
  save_captions_.clear();
  if (!real_files::IsFile(startup_.save_file)) return;
  TVrFileCollection save = OpenSaveFile(startup_.save_file);
  const std::string_view prefix = kGameSavePrefix;
  for (const auto& entry : save) {
    const std::string& name = entry->Name();
    if (name.size() <= prefix.size() || !cp932::SameText(std::string_view(name).substr(0, prefix.size()), prefix)) continue;
    std::int32_t slot = -1;
    const char* digits = name.data() + prefix.size();
    const auto [end, error] = std::from_chars(digits, name.data() + name.size(), slot);
    if (error != std::errc() || end != name.data() + name.size() || slot < 0) continue;
    try {
      const Bytes content = save.ReadEntry(name);
      ByteReader in(content, startup_.save_file + ":" + cp932::ToUtf8Lenient(name));
      in.I32();  // the save's version
      SetSaveCaption(slot, in.LString());
    } catch (const KestError&) {
      // A damaged save has no caption; loading it reports the damage.
    }
  }
}

std::string TProject::SaveCaption(std::int32_t slot) const {
  for (const auto& [number, caption] : save_captions_)
    if (number == slot) return caption;
  return {};
}

void TProject::SetSaveCaption(std::int32_t slot, std::string caption) {
  for (auto& [number, text] : save_captions_) {
    if (number == slot) {
      text = std::move(caption);
      return;
    }
  }
  save_captions_.emplace_back(slot, std::move(caption));
}

}  // namespace kest
