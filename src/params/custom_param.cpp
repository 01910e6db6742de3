#include "params/custom_param.h"

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/cp932.h"
#include "core/errors.h"
#include "core/text_format.h"
#include "params/messages.h"
#include "params/param_values.h"
#include "params/param_var.h"

namespace kest {

void ThrowIndexOutOfRange() { throw KestError(Message(ParamsMessage::IndexOutOfRange)); }

std::int32_t CheckedElementCount(std::span<const std::int32_t> sizes) {
  std::int64_t product = 1;
  bool valid = true;
  for (const std::int32_t size : sizes) {
    if (size < 1) {
      valid = false;
      break;
    }
    product *= size;  // stays within 64 bits: the product is checked against the cap each step
    if (product > kMaxElements) {
      valid = false;
      break;
    }
  }
  if (valid) return static_cast<std::int32_t>(product);
  std::string listed;
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    if (i) listed += ',';
    listed += std::to_string(sizes[i]);
  }
  throw KestError(FillMessage(Message(ParamsMessage::BadDimensions), {listed}));
}

std::int32_t IndexOfElements(const TCustomParam& value, const std::string& text, CaseSensitivity sensitivity,
                             MatchMode mode) {
  const bool sensitive = sensitivity == CaseSensitivity::Sensitive;
  const std::string folded = sensitive ? text : cp932::LowerCase(text);
  for (std::int32_t i = 0; i < value.Count(); ++i) {
    const std::string element = value.GetStrAt(i);
    bool match;
    if (mode == MatchMode::Partial)
      match = (sensitive ? element : cp932::LowerCase(element)).find(folded) != std::string::npos;
    else
      match = sensitive ? element == text : cp932::SameText(element, text);
    if (match) return i;
  }
  return -1;
}

std::int32_t TCustomParam::DimCount() const {
  return dims_.empty() ? 1 : static_cast<std::int32_t>(dims_.size());
}

std::int32_t TCustomParam::DimSize(std::int32_t dimension) const {
  if (dimension < 0 || static_cast<std::size_t>(dimension) >= dims_.size()) return 1;
  return dims_[static_cast<std::size_t>(dimension)];
}

void TCustomParam::SaveDims(ByteWriter& out) const {
  out.I32(static_cast<std::int32_t>(dims_.size()));
  for (const std::int32_t size : dims_) out.I32(size);
}

std::vector<std::int32_t> TCustomParam::LoadDims(ByteReader& in) {
  const std::size_t count = in.Count(in.I32(), 4, "array dimension count");
  std::vector<std::int32_t> sizes(count);
  std::int64_t product = 1;
  for (std::int32_t& size : sizes) {
    size = in.I32();
    if (size < 1) in.Fail("array dimension size " + std::to_string(size) + " is below 1");
    product *= size;
    if (product > kMaxElements) in.Fail("array dimensions ask for more than " + std::to_string(kMaxElements) + " elements");
  }
  return sizes;
}

void TCustomParam::SaveToStream(ByteWriter& out) const { SaveDims(out); }

void TCustomParam::LoadFromStream(ByteReader& in, const TargetLookup&) { dims_ = LoadDims(in); }

std::unique_ptr<TCustomParam> TCustomParam::Clone() const {
  auto copy = CreateParam(ParamType());
  if (copy) copy->AssignConverted(*this);
  return copy;
}

void TCustomParam::AssignConverted(const TCustomParam& source) {
  std::vector<std::int32_t> shape(static_cast<std::size_t>(std::max(source.DimCount(), 0)));
  for (std::size_t d = 0; d < shape.size(); ++d) shape[d] = source.DimSize(static_cast<std::int32_t>(d));
  SetDims(shape);
  const std::int32_t count = std::min(source.Count(), Count());
  switch (ParamType()) {
    case PT_INT:
      for (std::int32_t i = 0; i < count; ++i) SetIntAt(i, source.GetIntAt(i));
      break;
    case PT_FLOAT:
      for (std::int32_t i = 0; i < count; ++i) SetFloatAt(i, source.GetFloatAt(i));
      break;
    case PT_BOOL:
      for (std::int32_t i = 0; i < count; ++i) SetBoolAt(i, source.GetBoolAt(i));
      break;
    case PT_STR:
      for (std::int32_t i = 0; i < count; ++i) SetStrAt(i, source.GetStrAt(i));
      break;
    default:
      break;
  }
}

std::unique_ptr<TCustomParam> CreateParam(std::uint8_t type_code) {
  switch (type_code & 0x7F) {
    case PT_NONE: return std::make_unique<TParamVar>();
    case PT_INT: return std::make_unique<TParamInt>();
    case PT_FLOAT: return std::make_unique<TParamFloat>();
    case PT_BOOL: return std::make_unique<TParamFlag>();
    case PT_STR: return std::make_unique<TParamStr>();
    default: return nullptr;
  }
}

}  // namespace kest
