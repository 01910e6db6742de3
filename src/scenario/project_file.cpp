#include "scenario/project_file.h"

#include "core/byte_writer.h"
#include "core/cp932.h"
#include "params/save_archive.h"

namespace kest {

namespace {

template <typename Io>
void SyncDeclaredValue(Io& io, DeclaredVariable& variable) {
  switch (variable.type) {
    case 1: {
      std::int32_t value = Io::kLoading ? 0 : std::get<std::int32_t>(variable.value);
      io.Int(value);
      variable.value = value;
      break;
    }
    case 2:
      if constexpr (Io::kLoading) {
        variable.value = io.In().Extended();
      } else {
        io.Out().Extended(std::get<long double>(variable.value));
      }
      break;
    case 3: {
      bool value = Io::kLoading ? false : std::get<bool>(variable.value);
      io.Flag(value);
      variable.value = value;
      break;
    }
    case 4: {
      std::string value = Io::kLoading ? std::string() : std::get<std::string>(variable.value);
      io.Str(value);
      variable.value = std::move(value);
      break;
    }
    default:
      variable.value = std::monostate{};  // other type codes carry no value
  }
}

// Counts are checked against the bytes left before anything is sized by them.
template <typename Io, typename Item>
void SyncCount(Io& io, std::vector<Item>& items, std::size_t min_item_size, const char* what) {
  std::int32_t count = static_cast<std::int32_t>(items.size());
  io.Int(count);
  if constexpr (Io::kLoading) items.resize(io.In().Count(count, min_item_size, what));
}

// The one description of the layout, read and written alike.
template <typename Io>
void SyncProject(Io& io, ProjectFile& p) {
  io.Str(p.Title);
  io.Int(p.ScreenWidth);
  io.Int(p.ScreenHeight);
  io.Int(p.FullScreenWidth);
  io.Int(p.FullScreenHeight);
  io.Str(p.StartPage);
  if (io.Since(110)) io.Str(p.ExitPage);
  io.Str(p.RegistryKey);
  io.Int(p.ImageSeed);
  if (io.Since(104)) io.Flag(p.WriteStatusFile);
  if (io.Since(106)) io.Flag(p.FrameWait);
  if (io.Since(109)) io.Str(p.SoundExtensions);
  io.Str(p.DiskPrompt);
  io.Str(p.ExitMessage);
  SyncCount(io, p.Variables, 5, "declared variables");
  for (DeclaredVariable& variable : p.Variables) {
    io.Byte(variable.type);
    io.Str(variable.name);
    SyncDeclaredValue(io, variable);
  }
  SyncCount(io, p.FolderDisks, 8, "folder-disk list");
  for (FolderDisk& entry : p.FolderDisks) {
    io.Str(entry.folder);
    io.Int(entry.disk);
  }
}

}  // namespace

ProjectFile ReadProjectFile(ByteSpan bytes, const std::string& source) {
  ByteReader in(bytes, source);
  ProjectFile project;
  project.version = in.I32();
  if (project.version > kNewestProjectVersion) return project;
  // Fields a version does not have keep their defaults for that version.
  project.WriteStatusFile = true;
  project.FrameWait = false;
  project.SoundExtensions = ".wav.wma.ogg.mid";
  SaveReader reader(in, project.version);
  SyncProject(reader, project);
  return project;
}

Bytes WriteProjectFile(const ProjectFile& project) {
  ByteWriter out;
  out.I32(project.version);
  ProjectFile copy = project;
  SaveWriter writer(out, project.version);
  SyncProject(writer, copy);
  return out.Take();
}

}  // namespace kest
