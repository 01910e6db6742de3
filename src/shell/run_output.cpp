#include "shell/run_output.h"

#include <algorithm>
#include <iostream>
#include <stdexcept>
#include <vector>

#include "core/cp932.h"
#include "params/param_collection.h"

namespace kest::shell {

TraceFile::TraceFile(const std::string& path) : out_(&std::cout) {
  if (path == "-") return;
  file_.open(path, std::ios::binary | std::ios::trunc);
  if (!file_) throw std::runtime_error(path + ": cannot write the trace file");
  out_ = &file_;
}

void TraceFile::Write(std::string_view cp932_line) { *out_ << cp932::ToUtf8OneLine(cp932_line) << '\n'; }

void TraceFile::Flush() { out_->flush(); }

namespace {

std::string_view ScopeName(const TParamCollectionItem& item) {
  if (item.is_status) return "status";
  if (item.is_local) return "local";
  if (item.owner_depth >= 0) return "auto";
  return "global";
}

std::string_view TypeName(ParamTypeCode type) {
  switch (type) {
    case PT_INT: return "int";
    case PT_FLOAT: return "float";
    case PT_BOOL: return "bool";
    case PT_STR: return "str";
    default: return "none";
  }
}

std::string ValueText(const TCustomParam& value) {
  // One element in one dimension reads as a scalar: the player cannot tell them apart.
  if (value.DimCount() <= 1 && value.Count() == 1) return cp932::ToUtf8OneLine(value.AsStr());
  std::string text = "[";
  for (std::int32_t i = 0; i < value.Count(); ++i) {
    if (i > 0) text += ',';
    text += cp932::ToUtf8OneLine(value.GetStrAt(i));
  }
  return text + "]";
}

}  // namespace

void DumpVariables(const TParamCollection& params, std::ostream& out) {
  std::vector<std::pair<std::string, std::string>> lines;  // UTF-8 name, the rest
  for (std::size_t i = 0; i < params.Count(); ++i) {
    const TParamCollectionItem& item = params[i];
    if (item.IsSystem()) continue;
    const TCustomParam& value = item.Value().Resolved();
    std::string rest = std::string(ScopeName(item)) + '\t' + std::string(TypeName(value.ParamType())) + '\t' +
                       ValueText(value);
    lines.emplace_back(cp932::ToUtf8OneLine(item.Name()), std::move(rest));
  }
  std::stable_sort(lines.begin(), lines.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& [name, rest] : lines) out << name << '\t' << rest << '\n';
}

}  // namespace kest::shell
