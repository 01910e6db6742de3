#pragma once
// The four storing value classes, one template over the element type: TParamInt (32-bit
// integers), TParamFloat (80-bit extended reals), TParamFlag (bytes 0 or 1) and TParamStr (CP932
// strings). Elements are one contiguous block, row-major (the last index varies fastest).

#include <algorithm>
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

#include "params/conversions.h"
#include "params/custom_param.h"

namespace kest {

struct IntElement {
  using Stored = std::int32_t;
  using Logical = std::int32_t;
  static constexpr ParamTypeCode kType = PT_INT;
};
struct FloatElement {
  using Stored = long double;
  using Logical = long double;
  static constexpr ParamTypeCode kType = PT_FLOAT;
};
struct FlagElement {
  using Stored = std::uint8_t;  // 0 or 1, never anything else
  using Logical = bool;
  static constexpr ParamTypeCode kType = PT_BOOL;
};
struct StrElement {
  using Stored = std::string;
  using Logical = std::string;
  static constexpr ParamTypeCode kType = PT_STR;
};

template <typename Element>
class TParamValues final : public TCustomParam {
 public:
  using Stored = typename Element::Stored;
  using Logical = typename Element::Logical;

  TParamValues() : values_(1) {}

  static Logical Get(const Stored& stored) {
    if constexpr (std::is_same_v<Logical, bool>) return stored != 0;
    else return stored;
  }
  template <typename T>
  static Stored Put(const T& value) {
    if constexpr (std::is_same_v<Logical, bool>) return Convert<bool>(value) ? 1 : 0;
    else return Convert<Logical>(value);
  }

  std::int32_t Count() const override { return static_cast<std::int32_t>(values_.size()); }
  void SetCount(std::int32_t count) override {
    values_.resize(static_cast<std::size_t>(std::clamp(count, 1, kMaxElements)));
  }
  ParamTypeCode ParamType() const override { return Element::kType; }

  bool AsBool() const override { return Convert<bool>(Get(values_[0])); }
  long double AsFloat() const override { return Convert<long double>(Get(values_[0])); }
  std::int32_t AsInt() const override { return Convert<std::int32_t>(Get(values_[0])); }
  std::string AsStr() const override { return Convert<std::string>(Get(values_[0])); }
  void SetBool(bool value) override { SetScalar(value); }
  void SetFloat(long double value) override { SetScalar(value); }
  void SetInt(std::int32_t value) override { SetScalar(value); }
  void SetStr(const std::string& value) override { SetScalar(value); }

  std::int32_t GetIntAt(std::int32_t i) const override { return Convert<std::int32_t>(Get(At(i))); }
  long double GetFloatAt(std::int32_t i) const override { return Convert<long double>(Get(At(i))); }
  bool GetBoolAt(std::int32_t i) const override { return Convert<bool>(Get(At(i))); }
  std::string GetStrAt(std::int32_t i) const override { return Convert<std::string>(Get(At(i))); }
  void SetIntAt(std::int32_t i, std::int32_t value) override { At(i) = Put(value); }
  void SetFloatAt(std::int32_t i, long double value) override { At(i) = Put(value); }
  void SetBoolAt(std::int32_t i, bool value) override { At(i) = Put(value); }
  void SetStrAt(std::int32_t i, const std::string& value) override { At(i) = Put(value); }

  void Assign(const TCustomParam& other) override {
    if (const auto* same = dynamic_cast<const TParamValues*>(&other.Resolved())) {
      dims_ = same->dims_;
      values_ = same->values_;
    }
  }
  void SetDims(std::span<const std::int32_t> sizes) override {
    const std::int32_t count = CheckedElementCount(sizes);
    dims_.assign(sizes.begin(), sizes.end());
    SetCount(count);
  }
  void FillInt(std::int32_t value) override { Fill<IntElement>(value); }
  void FillFloat(long double value) override { Fill<FloatElement>(value); }
  void FillBool(bool value) override { Fill<FlagElement>(value); }
  void FillStr(const std::string& value) override { Fill<StrElement>(value); }
  void CopyMem(const TCustomParam& source) override;
  void ClearDims() override {
    if (dims_.empty()) return;
    dims_.clear();
    SetCount(1);
  }
  std::int32_t IndexOf(const std::string& text, CaseSensitivity sensitivity, MatchMode mode) const override;

  void SaveToStream(ByteWriter& out) const override;
  void LoadFromStream(ByteReader& in, const TargetLookup& lookup) override;
  std::unique_ptr<TCustomParam> Clone() const override {
    auto copy = std::make_unique<TParamValues>();
    copy->Assign(*this);
    return copy;
  }

  // Direct access for whole-array operations of the built-in functions.
  const std::vector<Stored>& Values() const { return values_; }

 private:
  template <typename T>
  void SetScalar(const T& value) {
    ClearDims();
    values_[0] = Put(value);
  }
  template <typename FillElement, typename T>
  void Fill(const T& value) {
    // A fill acts only on values of its own element type.
    if constexpr (std::is_same_v<FillElement, Element>) std::fill(values_.begin(), values_.end(), Put(value));
  }
  const Stored& At(std::int32_t i) const {
    if (i < 0 || i >= Count()) ThrowIndexOutOfRange();
    return values_[static_cast<std::size_t>(i)];
  }
  Stored& At(std::int32_t i) {
    if (i < 0 || i >= Count()) ThrowIndexOutOfRange();
    return values_[static_cast<std::size_t>(i)];
  }

  std::vector<Stored> values_;
};

using TParamInt = TParamValues<IntElement>;
using TParamFloat = TParamValues<FloatElement>;
using TParamFlag = TParamValues<FlagElement>;
using TParamStr = TParamValues<StrElement>;

extern template class TParamValues<IntElement>;
extern template class TParamValues<FloatElement>;
extern template class TParamValues<FlagElement>;
extern template class TParamValues<StrElement>;

}  // namespace kest
