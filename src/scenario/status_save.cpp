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
// for every reader: no read marks and no pending one, no status tables.
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
  out.U8(scene_->Dither() ? 1 : 0);  // the image cache flag
  WriteEmptyStatusTables(out);
  return out.Take();
}

// The read marks are not restored yet; their block is stepped over (item count; per item the
// page file and n command and n page indexes; from version 100 the pending mark) to reach the
// image cache flag, which is read only above version 100.
void TProject::RestoreStatusTail(ByteReader& in, std::int32_t version) {
  if (in.AtEnd()) return;  // status data written before these blocks existed
  const std::size_t items = in.Count(in.I32(), 8, "read marks");
  for (std::size_t i = 0; i < items; ++i) {
    in.LString();
    const std::size_t pairs = in.Count(in.I32(), 8, "read mark indexes");
    in.Skip(pairs * 8);
  }
  if (version < 100) return;
  in.LString();
  in.Skip(8);
  in.LString();
  if (version > 100) scene_->SetDither(in.U8() != 0);
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
