#pragma once
// The compiled project file "kest.kpb": the title's settings, its declared variables and which
// folder lies on which disk. All integers little-endian; strings are LStrings (CP932).
//
//   int32 version (103 to 110 are read; a newer file is not a project this player can run)
//   LString Title; int32 ScreenWidth, ScreenHeight; int32 FullScreenWidth, FullScreenHeight
//   LString StartPage; LString ExitPage (from 110); LString RegistryKey; int32 ImageSeed
//   byte WriteStatusFile (from 104, else true); byte FrameWait (from 106, else false)
//   LString SoundExtensions (from 109, else ".wav.wma.ogg.mid")
//   LString DiskPrompt; LString ExitMessage
//   int32 N, N declared variables: byte type, LString name, then the value for types 1 (int32),
//     2 (10-byte real), 3 (byte flag), 4 (LString); other types carry no value
//   int32 M, M folder-disk pairs: LString folder, int32 disk number

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "core/byte_reader.h"

namespace kest {

inline constexpr std::int32_t kOldestProjectVersion = 103;
inline constexpr std::int32_t kNewestProjectVersion = 110;

struct DeclaredVariable {
  std::uint8_t type = 0;  // 1 integer, 2 real, 3 flag, 4 string
  std::string name;
  std::variant<std::monostate, std::int32_t, long double, bool, std::string> value;
  bool operator==(const DeclaredVariable&) const = default;
};

struct FolderDisk {
  std::string folder;  // relative to the game folder, "\" between folders
  std::int32_t disk = 0;
  bool operator==(const FolderDisk&) const = default;
};

// The project-wide settings, as the file stores them and as the running project carries them.
struct ProjectSettings {
  std::string Title;
  std::int32_t ScreenWidth = 0, ScreenHeight = 0;
  std::int32_t FullScreenWidth = 0, FullScreenHeight = 0;
  std::string StartPage;
  std::string ExitPage;
  std::string RegistryKey;
  std::int32_t ImageSeed = 0;
  bool WriteStatusFile = true;
  bool FrameWait = false;
  std::string SoundExtensions = ".wav.wma.ogg.mid";
  std::string DiskPrompt;
  std::string ExitMessage;
  bool operator==(const ProjectSettings&) const = default;
};

struct ProjectFile : ProjectSettings {
  std::int32_t version = kNewestProjectVersion;
  std::vector<DeclaredVariable> Variables;
  std::vector<FolderDisk> FolderDisks;
  bool operator==(const ProjectFile&) const = default;
};

// Reads a project file. A version above 110 gives a project with only its version read (the
// caller stops there); a truncated or lying file raises FormatError naming `source`. Declared
// variables of unknown type codes are skipped.
ProjectFile ReadProjectFile(ByteSpan bytes, const std::string& source);

// Writes `project` in the layout of project.version (103 to 110); fields the version does not
// have are left out.
Bytes WriteProjectFile(const ProjectFile& project);

}  // namespace kest
