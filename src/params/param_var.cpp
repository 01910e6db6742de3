#include "params/param_var.h"

#include "core/byte_reader.h"
#include "core/byte_writer.h"

namespace kest {

namespace {
// Longest chain of references to references that a reference may start.
constexpr int kMaxReferenceChain = 16;
}  // namespace

void TParamVar::SetTarget(AnchorPtr target) {
  const TCustomParam* link = target ? target->value : nullptr;
  for (int depth = 0; link; ++depth) {
    if (link == this || depth >= kMaxReferenceChain) {
      target_.reset();
      return;
    }
    const auto* next = dynamic_cast<const TParamVar*>(link);
    link = next ? next->Target() : nullptr;
  }
  target_ = std::move(target);
}

std::int32_t TParamVar::Count() const { return Target() ? Target()->Count() : 0; }
void TParamVar::SetCount(std::int32_t count) {
  if (TCustomParam* t = Target()) t->SetCount(count);
}
ParamTypeCode TParamVar::ParamType() const { return Target() ? Target()->ParamType() : PT_NONE; }

bool TParamVar::AsBool() const { return Target() ? Target()->GetBoolAt(element_index_) : false; }
long double TParamVar::AsFloat() const { return Target() ? Target()->GetFloatAt(element_index_) : 0; }
std::int32_t TParamVar::AsInt() const { return Target() ? Target()->GetIntAt(element_index_) : 0; }
std::string TParamVar::AsStr() const { return Target() ? Target()->GetStrAt(element_index_) : std::string(); }
void TParamVar::SetBool(bool value) {
  if (TCustomParam* t = Target()) t->SetBoolAt(element_index_, value);
}
void TParamVar::SetFloat(long double value) {
  if (TCustomParam* t = Target()) t->SetFloatAt(element_index_, value);
}
void TParamVar::SetInt(std::int32_t value) {
  if (TCustomParam* t = Target()) t->SetIntAt(element_index_, value);
}
void TParamVar::SetStr(const std::string& value) {
  if (TCustomParam* t = Target()) t->SetStrAt(element_index_, value);
}

std::int32_t TParamVar::GetIntAt(std::int32_t i) const { return Target() ? Target()->GetIntAt(i) : 0; }
void TParamVar::SetIntAt(std::int32_t i, std::int32_t value) {
  if (TCustomParam* t = Target()) t->SetIntAt(i, value);
}
long double TParamVar::GetFloatAt(std::int32_t i) const { return Target() ? Target()->GetFloatAt(i) : 0; }
void TParamVar::SetFloatAt(std::int32_t i, long double value) {
  if (TCustomParam* t = Target()) t->SetFloatAt(i, value);
}
bool TParamVar::GetBoolAt(std::int32_t i) const { return Target() ? Target()->GetBoolAt(i) : false; }
void TParamVar::SetBoolAt(std::int32_t i, bool value) {
  if (TCustomParam* t = Target()) t->SetBoolAt(i, value);
}
std::string TParamVar::GetStrAt(std::int32_t i) const { return Target() ? Target()->GetStrAt(i) : std::string(); }
void TParamVar::SetStrAt(std::int32_t i, const std::string& value) {
  if (TCustomParam* t = Target()) t->SetStrAt(i, value);
}

std::int32_t TParamVar::DimCount() const { return Target() ? Target()->DimCount() : TCustomParam::DimCount(); }
std::int32_t TParamVar::DimSize(std::int32_t dimension) const {
  return Target() ? Target()->DimSize(dimension) : TCustomParam::DimSize(dimension);
}
void TParamVar::SetDims(std::span<const std::int32_t> sizes) {
  if (TCustomParam* t = Target()) t->SetDims(sizes);
}
void TParamVar::FillInt(std::int32_t value) {
  if (TCustomParam* t = Target()) t->FillInt(value);
}
void TParamVar::FillFloat(long double value) {
  if (TCustomParam* t = Target()) t->FillFloat(value);
}
void TParamVar::FillBool(bool value) {
  if (TCustomParam* t = Target()) t->FillBool(value);
}
void TParamVar::FillStr(const std::string& value) {
  if (TCustomParam* t = Target()) t->FillStr(value);
}
void TParamVar::CopyMem(const TCustomParam& source) {
  if (TCustomParam* t = Target()) t->CopyMem(source);
}
void TParamVar::ClearDims() {
  if (TCustomParam* t = Target()) t->ClearDims();
}
std::int32_t TParamVar::IndexOf(const std::string& text, CaseSensitivity sensitivity, MatchMode mode) const {
  return Target() ? Target()->IndexOf(text, sensitivity, mode) : -1;
}

void TParamVar::SaveToStream(ByteWriter& out) const {
  SaveDims(out);
  out.LString(ref_name_);
  out.LString(TargetName());
  out.U8(spare_);
  out.I32(element_index_);
}

void TParamVar::LoadFromStream(ByteReader& in, const TargetLookup& lookup) {
  std::vector<std::int32_t> dims = LoadDims(in);
  std::string ref_name = in.LString();
  std::string target_name = in.LString();
  const std::uint8_t spare = in.U8();
  const std::int32_t index = in.I32();
  dims_ = std::move(dims);
  ref_name_ = std::move(ref_name);
  spare_ = spare;
  element_index_ = index;
  target_.reset();
  if (!target_name.empty() && lookup) SetTarget(lookup(target_name));
  loaded_target_name_ = std::move(target_name);
}

std::unique_ptr<TCustomParam> TParamVar::Clone() const {
  auto copy = std::make_unique<TParamVar>(ref_name_);
  copy->dims_ = dims_;
  copy->spare_ = spare_;
  copy->element_index_ = element_index_;
  copy->target_ = target_;
  return copy;
}

}  // namespace kest
