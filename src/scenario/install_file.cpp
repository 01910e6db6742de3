#include "scenario/install_file.h"

#include "core/byte_writer.h"
#include "params/save_archive.h"

namespace kest {

namespace {

template <typename Io>
void SyncValue(Io& io, std::uint64_t& value) {
  // Values are 8 bytes from version 100, 4 before.
  if constexpr (Io::kLoading) {
    value = io.Since(100) ? io.In().U64() : io.In().U32();
  } else if (io.Since(100)) {
    io.Out().U64(value);
  } else {
    io.Out().U32(static_cast<std::uint32_t>(value));
  }
}

template <typename Io>
void SyncBlobList(Io& io, std::vector<std::string>& list) {
  std::int32_t count = static_cast<std::int32_t>(list.size());
  io.Int(count);
  if constexpr (Io::kLoading) list.resize(io.In().Count(count, 4, "install file list"));
  for (std::string& item : list) io.Str(item);  // an int32 length and that many bytes
}

template <typename Io>
void SyncInstall(Io& io, InstallFile& f) {
  io.Int(f.DiskIndex);
  io.Str(f.InstallId);
  for (std::string& text : f.installer_texts) io.Str(text);
  io.Byte(f.installer_byte1);
  io.Str(f.installer_text4);
  io.Byte(f.installer_byte2);
  std::int32_t rows = static_cast<std::int32_t>(f.installer_table.size());
  io.Int(rows);
  io.Str(f.installer_text5);
  io.Int(f.installer_number);
  for (std::uint8_t& byte : f.installer_bytes) io.Byte(byte);
  for (std::string& text : f.installer_texts2) io.Str(text);
  if constexpr (Io::kLoading) f.installer_table.resize(io.In().Count(rows, io.Since(100) ? 32 : 16, "install table"));
  for (auto& row : f.installer_table)
    for (std::uint64_t& value : row) SyncValue(io, value);
  for (std::uint64_t& value : f.installer_values) SyncValue(io, value);
  io.Byte(f.installer_byte3);
  if (io.Since(101)) io.Byte(f.installer_byte4);
  if (io.Since(102)) SyncBlobList(io, f.file_names);
  if (io.Since(103)) io.Flag(f.FullInstall);
  if (io.Since(104)) io.Byte(f.installer_byte5);
  if (io.Since(105)) io.Byte(f.installer_byte6);
  if (io.Since(106)) SyncBlobList(io, f.installer_list);
  if (io.Since(107)) io.Str(f.installer_text6);
}

}  // namespace

InstallFile ReadInstallFile(ByteSpan bytes, const std::string& source) {
  ByteReader in(bytes, source);
  InstallFile file;
  file.version = 0;
  if (bytes.size() >= 5 && bytes[0] == 'i' && bytes[1] == 's') {
    const std::string digits = in.Chars(5).substr(2);
    file.version = 0;
    for (char digit : digits) {
      if (digit < '0' || digit > '9') in.Fail("install file signature without a version");
      file.version = file.version * 10 + (digit - '0');
    }
  }
  SaveReader reader(in, file.version);
  SyncInstall(reader, file);
  return file;
}

Bytes WriteInstallFile(const InstallFile& file) {
  ByteWriter out;
  if (file.version > 0) {
    char signature[16];
    std::snprintf(signature, sizeof signature, "is%03d", (file.version % 1000 + 1000) % 1000);
    out.Raw(std::string_view(signature, 5));
  }
  InstallFile copy = file;
  SaveWriter writer(out, file.version);
  SyncInstall(writer, copy);
  return out.Take();
}

}  // namespace kest
