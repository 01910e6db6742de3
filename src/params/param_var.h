#pragma once
// TParamVar: a reference to one element of another variable. The scalar operations act on
// element ElementIndex of the target, the indexed ones pass their index on, and the whole-value
// operations (count, shape, fills, CopyMem, IndexOf) act on the whole target. Without a target
// it reads 0, 0.0, false, "" and Count 0, and ignores writes.
//
// The target is held through its anchor, which its owner clears when the variable is freed, so
// a reference never reaches a freed value; it then behaves as having no target.

#include <cstdint>
#include <string>

#include "params/custom_param.h"

namespace kest {

class TParamVar final : public TCustomParam {
 public:
  TParamVar() = default;
  explicit TParamVar(std::string ref_name) : ref_name_(std::move(ref_name)) {}

  const std::string& RefName() const { return ref_name_; }
  void SetRefName(std::string name) { ref_name_ = std::move(name); }
  std::int32_t ElementIndex() const { return element_index_; }
  void SetElementIndex(std::int32_t index) { element_index_ = index; }
  std::uint8_t SpareByte() const { return spare_; }

  // The target's value, or none.
  TCustomParam* Target() const { return target_ ? target_->value : nullptr; }
  const AnchorPtr& TargetAnchor() const { return target_; }
  // Takes the target, refusing one that would make a chain of references loop back to this
  // value or run deeper than a few links (such a target is dropped: the reference has none).
  void SetTarget(AnchorPtr target);
  void ClearTarget() { target_.reset(); }
  // Name of the target variable, empty without a target.
  std::string TargetName() const { return Target() ? target_->name : std::string(); }

  std::int32_t Count() const override;
  void SetCount(std::int32_t count) override;
  ParamTypeCode ParamType() const override;

  bool AsBool() const override;
  long double AsFloat() const override;
  std::int32_t AsInt() const override;
  std::string AsStr() const override;
  void SetBool(bool value) override;
  void SetFloat(long double value) override;
  void SetInt(std::int32_t value) override;
  void SetStr(const std::string& value) override;

  std::int32_t GetIntAt(std::int32_t i) const override;
  void SetIntAt(std::int32_t i, std::int32_t value) override;
  long double GetFloatAt(std::int32_t i) const override;
  void SetFloatAt(std::int32_t i, long double value) override;
  bool GetBoolAt(std::int32_t i) const override;
  void SetBoolAt(std::int32_t i, bool value) override;
  std::string GetStrAt(std::int32_t i) const override;
  void SetStrAt(std::int32_t i, const std::string& value) override;

  std::int32_t DimCount() const override;
  std::int32_t DimSize(std::int32_t dimension) const override;
  void Assign(const TCustomParam& other) override { dims_ = other.Dims(); }
  void SetDims(std::span<const std::int32_t> sizes) override;
  void FillInt(std::int32_t value) override;
  void FillFloat(long double value) override;
  void FillBool(bool value) override;
  void FillStr(const std::string& value) override;
  void CopyMem(const TCustomParam& source) override;
  void ClearDims() override;
  std::int32_t IndexOf(const std::string& text, CaseSensitivity sensitivity, MatchMode mode) const override;

  // Dimensions, RefName, the target's name, the spare byte and ElementIndex. Loading looks the
  // target up by name through `lookup` (when given and the name is not empty).
  void SaveToStream(ByteWriter& out) const override;
  void LoadFromStream(ByteReader& in, const TargetLookup& lookup) override;
  // The target name read by the last LoadFromStream, for callers that resolve it later.
  const std::string& LoadedTargetName() const { return loaded_target_name_; }

  const TCustomParam& Resolved() const override { return Target() ? Target()->Resolved() : *this; }
  bool IsReference() const override { return true; }
  std::unique_ptr<TCustomParam> Clone() const override;

 private:
  std::string ref_name_;
  AnchorPtr target_;
  std::uint8_t spare_ = 0;
  std::int32_t element_index_ = 0;
  std::string loaded_target_name_;
};

}  // namespace kest
