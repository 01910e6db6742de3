// The status data: what survives every game (status variables, read marks, the image cache
// flag, status tables), kept in "save.dat" as the entry "STATUSSAVEDATA" and written when the
// player closes.

#include <filesystem>

#include "core/byte_writer.h"
#include "core/errors.h"
#include "scenario/project.h"
#include "vfs/archive.h"
#include "vfs/atomic_file.h"

namespace kest {

namespace {

constexpr char kStatusEntry[] = "STATUSSAVEDATA";
constexpr char kStatusHeader[] = "Status103";

// The blocks of subsystems that keep no status data yet, written empty so the entry stays whole
// for every reader: no read marks and no pending one, the image cache off, no status tables.
void WriteEmptyReadMarks(ByteWriter& out) {
  out.I32(0);        // page files with marks
  out.LString("");   // the pending mark: page file,
  out.I32(0);        //   command index,
  out.I32(0);        //   page index,
  out.LString("");   //   and the box that showed it
}

void WriteEmptyStatusTables(ByteWriter& out) {
  out.I32(100);  // the table block's version
  out.I32(0);    // tables
}

}  // namespace

Bytes TProject::BuildStatusData() const {
  ByteWriter out;
  for (const char c : std::string_view(kStatusHeader)) out.U8(static_cast<std::uint8_t>(c));
  params_.SaveStatus(out);
  WriteEmptyReadMarks(out);
  out.U8(0);  // the image cache flag
  WriteEmptyStatusTables(out);
  return out.Take();
}

void TProject::SaveStatus() {
  const std::string& path = startup_.save_file;
  try {
    TVrFileCollection save;
    save.LoadFromFile(path);
    save.DeleteEntry(kStatusEntry);
    TVrFile& entry = save.AddMemoryEntry(kStatusEntry);
    const Bytes status = BuildStatusData();
    entry.Data->Write(status.data(), static_cast<std::int64_t>(status.size()));
    entry.ChecksumOfUncompressed = true;
    TVxBigMemoryStream image;
    if (!save.WriteArchive(image)) return;  // an old entry could not be read: keep the file as it is
    std::error_code error;
    if (!WriteStatusFile || !std::filesystem::is_directory(std::filesystem::path(path).parent_path(), error)) return;
    WriteFileAtomically(path, image.Memory().Data());
  } catch (const KestError&) {
    // The status data on disk stays as it was, whole; play has ended anyway.
  }
}

}  // namespace kest
