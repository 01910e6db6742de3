#pragma once
// Saved structures are described once, as a function template over an archive: SaveWriter
// writes the fields, SaveReader reads them back, and both honour the same version gates. A
// field added in format version v is written and read only when the save's version is at least
// v; an older save leaves it as it was.

#include <cstdint>
#include <string>

#include "core/byte_reader.h"
#include "core/byte_writer.h"

namespace kest {

class SaveWriter {
 public:
  SaveWriter(ByteWriter& out, std::int32_t version) : out_(out), version_(version) {}
  static constexpr bool kLoading = false;
  bool Since(std::int32_t version) const { return version_ >= version; }
  void Byte(std::uint8_t& value) { out_.U8(value); }
  void Flag(bool& value) { out_.Bool(value); }
  void Int(std::int32_t& value) { out_.I32(value); }
  void Str(std::string& value) { out_.LString(value); }
  ByteWriter& Out() { return out_; }

 private:
  ByteWriter& out_;
  std::int32_t version_;
};

class SaveReader {
 public:
  SaveReader(ByteReader& in, std::int32_t version) : in_(in), version_(version) {}
  static constexpr bool kLoading = true;
  bool Since(std::int32_t version) const { return version_ >= version; }
  void Byte(std::uint8_t& value) { value = in_.U8(); }
  void Flag(bool& value) { value = in_.U8() != 0; }  // stored as 0 or 1; any other byte is true
  void Int(std::int32_t& value) { value = in_.I32(); }
  void Str(std::string& value) { value = in_.LString(); }
  ByteReader& In() { return in_; }

 private:
  ByteReader& in_;
  std::int32_t version_;
};

}  // namespace kest
