#pragma once
// Real files on Linux for names that titles made on Windows: "\" separates folders, letters may
// differ in case from the names on disk, and names are CP932. A name from data never leaves the
// folder it is looked up in: ".." and a drive letter make it unusable, and a leading separator
// still means the folder itself (the player joined names to folders).

#include <ctime>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/byte_reader.h"

namespace kest::real_files {

// The real path of `name` (CP932, "\" or "/" separated) inside `folder` (a real path in the
// file system's encoding; empty means the current folder), matching each component without
// regard to ASCII case. Nothing when the name is unsafe, unmappable or no such file exists.
std::optional<std::string> Resolve(const std::string& folder, std::string_view name);

// The entry of a real `folder` named `file_name` (in the file system's encoding), matched
// exactly or else without regard to ASCII case.
std::optional<std::string> FindEntry(const std::string& folder, const std::string& file_name);

// The components of a CP932 name split at "\" and "/" (never at a trail byte), without empty
// and "." components.
std::vector<std::string> SplitName(std::string_view name);

// Whether `name` stays inside any folder it is resolved in: no "..", no drive letter, no NUL
// byte. A leading separator is allowed and ignored.
bool IsContainedName(std::string_view name);

// A regular file (not a folder) exists at this real path.
bool IsFile(const std::string& path);

// The whole content of a real file; KestError naming the path when it cannot be read.
Bytes Load(const std::string& path);

// The folder part of a real path, with its trailing "/" ("" for a bare name).
std::string FolderOf(const std::string& path);

// The time stamp archives record: the MS-DOS packed date (high 16 bits) and time (low 16 bits)
// of a modification time, in local time; 0 when it cannot be represented.
std::int32_t DosTimeStamp(std::time_t modified);
std::int32_t DosTimeStampOf(const std::string& path);
// "YYYY-MM-DD hh:mm:ss" of a packed stamp, or "-" for 0.
std::string FormatDosTimeStamp(std::int32_t stamp);

}  // namespace kest::real_files
