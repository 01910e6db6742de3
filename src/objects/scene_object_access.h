#pragma once
// The scene list's answer to the interpreter's object commands and to the built-in functions
// GetProp and SetProp: a thin adapter from evaluated script values to the object commands'
// algorithms (object_commands.h).

#include "scenario/object_access.h"

namespace kest {

class TKestBaseList;

class TSceneObjectAccess final : public TObjectAccess {
 public:
  explicit TSceneObjectAccess(TKestBaseList& list) : list_(list) {}

  bool Exists(const std::string& object) override;
  bool Create(std::uint8_t kind, const CarriedExpressions& carried) override;
  void SetExpressionRunner(ExpressionRunner runner) override;
  void GetProp(const std::string& object, const TCustomParam* property, TCustomParam* variable) override;
  void SetProp(const std::string& object, const TCustomParam* property, const TCustomParam* value) override;
  void Delete(const std::string& object) override;

  bool ReadProperty(const std::string& object, std::int32_t id, TCustomParam& result) override;
  void WriteProperty(const std::string& object, std::int32_t id, const TCustomParam& value) override;

 private:
  TKestBaseList& list_;
};

}  // namespace kest
