#pragma once
// The install file "install.dat", written by the title's installer. The player reads it to
// recognise the title's disks (DiskIndex, InstallId) and whether everything was copied to the
// hard disk (FullInstall); the other fields belong to the installer and are kept as they are so
// that the file can be written back unchanged but for what the player adds.
//
//   ["is" + three version digits]  absent: version 0
//   int32 DiskIndex; LString InstallId
//   3 LStrings, byte, LString, byte
//   int32 K; LString, int32, 2 bytes, 2 LStrings
//   K x 4 values; 4 values; byte       (values are 8 bytes from version 100, else 4)
//   byte                               (from 101)
//   int32 L, L x (int32 n, n bytes)    (from 102; n <= 0 means no bytes)
//   byte FullInstall                   (from 103)
//   byte (from 104); byte (from 105)
//   int32 L, L x LString               (from 106)
//   LString                            (from 107)

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/byte_reader.h"

namespace kest {

struct InstallFile {
  std::int32_t version = 107;
  std::int32_t DiskIndex = 0;
  std::string InstallId;
  std::array<std::string, 3> installer_texts;
  std::uint8_t installer_byte1 = 0;
  std::string installer_text4;
  std::uint8_t installer_byte2 = 0;
  std::string installer_text5;
  std::int32_t installer_number = 0;
  std::array<std::uint8_t, 2> installer_bytes{};
  std::array<std::string, 2> installer_texts2;
  std::vector<std::array<std::uint64_t, 4>> installer_table;  // K rows
  std::array<std::uint64_t, 4> installer_values{};
  std::uint8_t installer_byte3 = 0;
  std::uint8_t installer_byte4 = 0;                 // from 101
  std::vector<std::string> file_names;              // from 102: files the player may delete
  bool FullInstall = false;                         // from 103
  std::uint8_t installer_byte5 = 0;                 // from 104
  std::uint8_t installer_byte6 = 0;                 // from 105
  std::vector<std::string> installer_list;          // from 106
  std::string installer_text6;                      // from 107
  bool operator==(const InstallFile&) const = default;
};

// Raises FormatError naming `source` when the bytes end early or a count lies.
InstallFile ReadInstallFile(ByteSpan bytes, const std::string& source);
// Writes the layout of file.version, with the signature when the version is above 0.
Bytes WriteInstallFile(const InstallFile& file);

}  // namespace kest
