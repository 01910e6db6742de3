#pragma once
// TCustomParam: a script value. A value is a scalar or a row-major array of one element type;
// every operation converts between the stored element type and the requested type by the one
// conversion table (conversions.h). TParamInt, TParamFloat, TParamFlag and TParamStr store
// elements; TParamVar refers to another variable's element; TParamSystem reads and writes
// player state.

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "params/param_types.h"

namespace kest {

class ByteReader;
class ByteWriter;
class TCustomParam;

// What a reference holds on to: the value of a variable and the variable's name. The owner of
// the value clears `value` when it goes away, so a reference can never reach a freed value.
struct TParamAnchor {
  TCustomParam* value = nullptr;
  std::string name;
};
using AnchorPtr = std::shared_ptr<TParamAnchor>;

// Looks a variable up by name while a reference is loaded; answers none when there is none.
using TargetLookup = std::function<AnchorPtr(std::string_view name)>;

enum class CaseSensitivity { Insensitive, Sensitive };
enum class MatchMode { Whole, Partial };

// Largest number of elements one value may hold. Titles use arrays of a few thousand elements;
// the cap keeps a script or a save from asking for gigabytes.
inline constexpr std::int32_t kMaxElements = 1 << 22;

class TCustomParam {
 public:
  TCustomParam() = default;
  virtual ~TCustomParam() = default;
  TCustomParam(const TCustomParam&) = delete;
  TCustomParam& operator=(const TCustomParam&) = delete;

  virtual std::int32_t Count() const { return 0; }
  virtual void SetCount(std::int32_t) {}
  virtual ParamTypeCode ParamType() const { return PT_INT; }

  virtual bool AsBool() const { return false; }
  virtual long double AsFloat() const { return 0; }
  virtual std::int32_t AsInt() const { return 0; }
  virtual std::string AsStr() const { return {}; }
  virtual void SetBool(bool) {}
  virtual void SetFloat(long double) {}
  virtual void SetInt(std::int32_t) {}
  virtual void SetStr(const std::string&) {}

  // Indexed access by flat element index: reads below 0 or past Count - 1 and writes outside
  // 0 .. Count - 1 raise "配列の添字が不正です".
  virtual std::int32_t GetIntAt(std::int32_t) const { return 0; }
  virtual void SetIntAt(std::int32_t, std::int32_t) {}
  virtual long double GetFloatAt(std::int32_t) const { return 0; }
  virtual void SetFloatAt(std::int32_t, long double) {}
  virtual bool GetBoolAt(std::int32_t) const { return false; }
  virtual void SetBoolAt(std::int32_t, bool) {}
  virtual std::string GetStrAt(std::int32_t) const { return {}; }
  virtual void SetStrAt(std::int32_t, const std::string&) {}

  // A scalar has one dimension of size 1; a dimension out of range has size 1.
  virtual std::int32_t DimCount() const;
  virtual std::int32_t DimSize(std::int32_t dimension) const;

  // Copies the shape and every element of a value of the same class.
  virtual void Assign(const TCustomParam&) {}
  // Validates every size (each at least 1, their product at most kMaxElements), then takes
  // them as the shape and resizes; elements keep their flat order. A bad size raises
  // "配列の要素数[3,0]が不正です" and changes nothing.
  virtual void SetDims(std::span<const std::int32_t>) {}
  virtual void FillInt(std::int32_t) {}
  virtual void FillFloat(long double) {}
  virtual void FillBool(bool) {}
  virtual void FillStr(const std::string&) {}
  // Copies count, shape (one entry per dimension of the source) and elements of a value of the
  // same class; another class raises "CopyMem:変数の型があいません".
  virtual void CopyMem(const TCustomParam&) {}
  virtual void ClearDims() {}
  virtual std::int32_t IndexOf(const std::string&, CaseSensitivity, MatchMode) const { return -1; }

  // The value stream: dimension count and sizes, then what the class stores. Loading checks
  // every count against the bytes left and replaces nothing unless the whole value was read.
  virtual void SaveToStream(ByteWriter& out) const;
  virtual void LoadFromStream(ByteReader& in, const TargetLookup& lookup);

  // The value that holds the elements: the value itself, or a reference's final target.
  virtual const TCustomParam& Resolved() const { return *this; }
  // True for a reference (TParamVar), whatever it refers to.
  virtual bool IsReference() const { return false; }
  // A new value of the same class holding the same shape and elements; a detached copy.
  virtual std::unique_ptr<TCustomParam> Clone() const;

  // Takes the source's shape, then each element converted into this value's own type.
  void AssignConverted(const TCustomParam& source);

  const std::vector<std::int32_t>& Dims() const { return dims_; }

 protected:
  // Writes and reads fields 1 and 2 of the value stream.
  void SaveDims(ByteWriter& out) const;
  static std::vector<std::int32_t> LoadDims(ByteReader& in);

  std::vector<std::int32_t> dims_;
};

// A new value for a type code (masked with 0x7F): 0 a reference without a target, 1 to 4 the
// storing classes; any other code gives none.
std::unique_ptr<TCustomParam> CreateParam(std::uint8_t type_code);

// The product of the sizes, after checking each is at least 1 and the product is at most
// kMaxElements; otherwise raises "配列の要素数[%s]が不正です" listing all sizes.
std::int32_t CheckedElementCount(std::span<const std::int32_t> sizes);

// IndexOf over any value's elements read as text: the first element that contains `text`
// (partial; without case sensitivity both lower-cased) or equals it (whole; without case
// sensitivity ignoring the case of ASCII letters); -1 when none.
std::int32_t IndexOfElements(const TCustomParam& value, const std::string& text, CaseSensitivity sensitivity,
                             MatchMode mode);

// Raises "配列の添字が不正です".
[[noreturn]] void ThrowIndexOutOfRange();

}  // namespace kest
