#include "params/param_values.h"

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/errors.h"
#include "params/messages.h"

namespace kest {

namespace {

// The stored bytes of one element, and the fewest bytes one element can take in a stream.
void WriteElement(ByteWriter& out, std::int32_t value) { out.I32(value); }
void WriteElement(ByteWriter& out, long double value) { out.Extended(value); }
void WriteElement(ByteWriter& out, std::uint8_t value) { out.U8(value ? 1 : 0); }
void WriteElement(ByteWriter& out, const std::string& value) { out.LString(value); }

void ReadElement(ByteReader& in, std::int32_t& value) { value = in.I32(); }
void ReadElement(ByteReader& in, long double& value) { value = in.Extended(); }
void ReadElement(ByteReader& in, std::uint8_t& value) { value = in.U8() != 0 ? 1 : 0; }
void ReadElement(ByteReader& in, std::string& value) { value = in.LString(); }

template <typename Stored>
constexpr std::size_t kMinElementBytes = std::is_same_v<Stored, long double> ? 10
                                         : std::is_same_v<Stored, std::uint8_t> ? 1
                                                                                : 4;

}  // namespace

template <typename Element>
void TParamValues<Element>::CopyMem(const TCustomParam& source) {
  const auto* same = dynamic_cast<const TParamValues*>(&source.Resolved());
  if (!same) throw KestError(Message(ParamsMessage::CopyMemType));
  std::vector<std::int32_t> shape(static_cast<std::size_t>(same->DimCount()));
  for (std::size_t d = 0; d < shape.size(); ++d) shape[d] = same->DimSize(static_cast<std::int32_t>(d));
  values_ = same->values_;
  dims_ = std::move(shape);
}

template <typename Element>
std::int32_t TParamValues<Element>::IndexOf(const std::string& text, CaseSensitivity sensitivity,
                                            MatchMode mode) const {
  return IndexOfElements(*this, text, sensitivity, mode);
}

template <typename Element>
void TParamValues<Element>::SaveToStream(ByteWriter& out) const {
  SaveDims(out);
  out.I32(Count());
  for (const Stored& value : values_) WriteElement(out, value);
}

template <typename Element>
void TParamValues<Element>::LoadFromStream(ByteReader& in, const TargetLookup&) {
  std::vector<std::int32_t> dims = LoadDims(in);
  const std::int32_t expected = CheckedElementCount(dims);  // 1 for a scalar; LoadDims capped it
  const std::int32_t stored = in.I32();
  if (stored != expected)
    in.Fail("element count " + std::to_string(stored) + " does not match the array's sizes (" +
            std::to_string(expected) + ")");
  const std::size_t count = in.Count(stored, kMinElementBytes<Stored>, "array elements");
  std::vector<Stored> values(count);
  for (Stored& value : values) ReadElement(in, value);
  dims_ = std::move(dims);
  values_ = std::move(values);
}

template class TParamValues<IntElement>;
template class TParamValues<FloatElement>;
template class TParamValues<FlagElement>;
template class TParamValues<StrElement>;

}  // namespace kest
