#include "source/project_source.h"

#include <cstdio>
#include <algorithm>
#include <cstring>

#include "core/cp932.h"
#include "core/extended.h"
#include "params/conversions.h"
#include "scenario/messages.h"
#include "source/source_text.h"

namespace kest::source {

namespace {

constexpr std::string_view kTypeNames[] = {"", "int", "float", "bool", "str"};

std::int64_t Number(const std::string& text, const Place& place, std::int64_t low, std::int64_t high) {
  char* end = nullptr;
  const long long value = std::strtoll(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || value < low || value > high)
    place.Fail(0, "expected a whole number from " + std::to_string(low) + " to " + std::to_string(high));
  return value;
}

std::string Quoted(const std::string& text, const Place& place) {
  if (text.empty() || text[0] != '"') place.Fail(0, "expected a quoted string");
  std::size_t consumed = 0;
  std::string value = ParseQuoted(text, consumed, place);
  if (consumed != text.size()) place.Fail(consumed, "unexpected text after the string");
  return value;
}

bool Flag(const std::string& text, const Place& place) {
  if (text == "true") return true;
  if (text == "false") return false;
  place.Fail(0, "expected true or false");
}

// A real value: decimal text, or "x:" and the 10 stored bytes in hexadecimal for an exact value.
long double Real(const std::string& text, const Place& place) {
  if (text.rfind("x:", 0) == 0 && text.size() == 22) {
    ExtendedBytes bytes{};
    for (std::size_t i = 0; i < 10; ++i) {
      unsigned byte = 0;
      if (std::sscanf(text.c_str() + 2 + i * 2, "%2x", &byte) != 1) place.Fail(2 + i * 2, "not a hexadecimal digit");
      bytes[i] = static_cast<std::uint8_t>(byte);
    }
    return ExtendedFromBytes(bytes);
  }
  const std::optional<long double> value = ParseFloatText(text);
  if (!value) place.Fail(0, "expected a real number");
  return *value;
}

std::string RealText(long double value) {
  for (int precision : {15, 17, 18, 19, 20, 21}) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*Lg", precision, value);
    const std::optional<long double> back = ParseFloatText(text);
    if (back && std::memcmp(&*back, &value, 10) == 0) return text;
  }
  std::string exact = "x:";
  for (std::uint8_t byte : ExtendedToBytes(value)) {
    char hex[4];
    std::snprintf(hex, sizeof hex, "%02X", byte);
    exact += hex;
  }
  return exact;
}

// One line of the project's settings.
void ProjectSetting(ProjectFile& project, const std::string& file, const SourceLine& line) {
  const Place place{&file, &line, 0};
  const std::size_t space = line.text.find(' ');
  const std::string key = line.text.substr(0, space);
  const std::string value = space == std::string::npos ? std::string() : Trim(std::string_view(line.text).substr(space + 1));
  const Place at = place.At(space == std::string::npos ? line.text.size() : space + 1);
  const auto pair = [&](std::int32_t& first, std::int32_t& second) {
    const std::size_t split = value.find(' ');
    if (split == std::string::npos) at.Fail(0, "expected two numbers");
    first = static_cast<std::int32_t>(Number(value.substr(0, split), at, INT32_MIN, INT32_MAX));
    second = static_cast<std::int32_t>(Number(Trim(value.substr(split + 1)), at.At(split + 1), INT32_MIN, INT32_MAX));
  };
  if (key == "version") project.version = static_cast<std::int32_t>(Number(value, at, 0, kNewestProjectVersion));
  else if (key == "title") project.Title = Quoted(value, at);
  else if (key == "screen") pair(project.ScreenWidth, project.ScreenHeight);
  else if (key == "fullscreen") pair(project.FullScreenWidth, project.FullScreenHeight);
  else if (key == "start-page") project.StartPage = Quoted(value, at);
  else if (key == "exit-page") project.ExitPage = Quoted(value, at);
  else if (key == "registry-key") project.RegistryKey = Quoted(value, at);
  else if (key == "image-seed") project.ImageSeed = static_cast<std::int32_t>(Number(value, at, INT32_MIN, INT32_MAX));
  else if (key == "write-status-file") project.WriteStatusFile = Flag(value, at);
  else if (key == "frame-wait") project.FrameWait = Flag(value, at);
  else if (key == "sound-extensions") project.SoundExtensions = Quoted(value, at);
  else if (key == "disk-prompt") project.DiskPrompt = Quoted(value, at);
  else if (key == "exit-message") project.ExitMessage = Quoted(value, at);
  else if (key == "disk") {
    // disk "FOLDER" NUMBER
    if (value.empty() || value[0] != '"') at.Fail(0, "expected disk \"FOLDER\" NUMBER");
    std::size_t consumed = 0;
    FolderDisk entry;
    entry.folder = ParseQuoted(value, consumed, at);
    entry.disk = static_cast<std::int32_t>(Number(Trim(value.substr(consumed)), at.At(consumed), INT32_MIN, INT32_MAX));
    project.FolderDisks.push_back(entry);
  } else if (key == "var") {
    // var TYPE NAME [= VALUE]
    const std::size_t type_end = value.find(' ');
    if (type_end == std::string::npos) at.Fail(0, "expected var TYPE NAME = VALUE");
    const std::string type = value.substr(0, type_end);
    DeclaredVariable variable;
    const auto named = std::find(std::begin(kTypeNames) + 1, std::end(kTypeNames), type);
    variable.type = named != std::end(kTypeNames) ? static_cast<std::uint8_t>(named - std::begin(kTypeNames))
                                                  : static_cast<std::uint8_t>(Number(type, at, 0, 255));
    const std::string rest = Trim(value.substr(type_end + 1));
    const std::size_t equals = rest.find('=');
    const std::string name_text = Trim(rest.substr(0, equals));
    variable.name = !name_text.empty() && name_text[0] == '"' ? Quoted(name_text, at.At(type_end + 1)) : name_text;
    if (variable.name.empty()) at.Fail(type_end + 1, "a declared variable needs a name");
    const std::string initial = equals == std::string::npos ? std::string() : Trim(rest.substr(equals + 1));
    const Place value_at = at.At(type_end + 1 + (equals == std::string::npos ? rest.size() : equals + 1));
    const bool has_value = variable.type >= 1 && variable.type <= 4;
    if (!has_value && !initial.empty()) value_at.Fail(0, "a variable of type " + type + " holds no value");
    switch (variable.type) {
      case 1: variable.value = static_cast<std::int32_t>(initial.empty() ? 0 : Number(initial, value_at, INT32_MIN, INT32_MAX)); break;
      case 2: variable.value = initial.empty() ? 0.0L : Real(initial, value_at); break;
      case 3: variable.value = initial.empty() ? false : Flag(initial, value_at); break;
      case 4: variable.value = initial.empty() ? std::string() : Quoted(initial, value_at); break;
      default: break;
    }
    project.Variables.push_back(std::move(variable));
  } else {
    place.Fail(0, "unknown setting '" + cp932::ToUtf8Lenient(key) + "'");
  }
}

}  // namespace

ProjectFile CompileProjectSource(std::string_view utf8, const std::string& file, SourceErrors& errors) {
  ProjectFile project;
  project.FrameWait = true;  // a title written today paces its frames unless it says otherwise
  project.SoundExtensions = "wav.wma.ogg";
  project.DiskPrompt = Message(ScenarioMessage::DefaultDiskPrompt);
  project.ExitMessage = Message(ScenarioMessage::DefaultExitMessage);
  const std::vector<SourceLine> lines = SplitSource(utf8, file, errors);
  for (const SourceLine& line : lines) {
    if (line.text.empty() || line.text[0] == '#') continue;
    errors.Catch([&] { ProjectSetting(project, file, line); });
  }
  return project;
}

ProjectFile CompileProjectSource(std::string_view utf8, const std::string& file) {
  SourceErrors errors;
  ProjectFile project = CompileProjectSource(utf8, file, errors);
  errors.ThrowFirst();
  return project;
}


std::string DumpProjectSource(const ProjectFile& p) {
  std::string out;
  const auto line = [&](const std::string& cp932_text) { out += ToOutput(cp932_text) + "\n"; };
  line("version " + std::to_string(p.version));
  if (p.version > kNewestProjectVersion) return out;
  line("title " + Quote(p.Title));
  line("screen " + std::to_string(p.ScreenWidth) + " " + std::to_string(p.ScreenHeight));
  line("fullscreen " + std::to_string(p.FullScreenWidth) + " " + std::to_string(p.FullScreenHeight));
  line("start-page " + Quote(p.StartPage));
  if (p.version >= 110) line("exit-page " + Quote(p.ExitPage));
  line("registry-key " + Quote(p.RegistryKey));
  line("image-seed " + std::to_string(p.ImageSeed));
  if (p.version >= 104) line(std::string("write-status-file ") + (p.WriteStatusFile ? "true" : "false"));
  if (p.version >= 106) line(std::string("frame-wait ") + (p.FrameWait ? "true" : "false"));
  if (p.version >= 109) line("sound-extensions " + Quote(p.SoundExtensions));
  line("disk-prompt " + Quote(p.DiskPrompt));
  line("exit-message " + Quote(p.ExitMessage));
  for (const DeclaredVariable& variable : p.Variables) {
    const std::string type = variable.type >= 1 && variable.type <= 4 ? std::string(kTypeNames[variable.type])
                                                                      : std::to_string(variable.type);
    std::string text = "var " + type + " " + Quote(variable.name);
    switch (variable.type) {
      case 1: text += " = " + std::to_string(std::get<std::int32_t>(variable.value)); break;
      case 2: text += " = " + RealText(std::get<long double>(variable.value)); break;
      case 3: text += std::get<bool>(variable.value) ? " = true" : " = false"; break;
      case 4: text += " = " + Quote(std::get<std::string>(variable.value)); break;
      default: break;
    }
    line(text);
  }
  for (const FolderDisk& entry : p.FolderDisks) line("disk " + Quote(entry.folder) + " " + std::to_string(entry.disk));
  return out;
}

}  // namespace kest::source
