#pragma once
// Runs the real programs: writes a title's source into a private folder, compiles it with
// `kest compile`, runs `kestplayer --headless` on it and collects what it wrote.

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <fcntl.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/temp_folder.h"

extern char** environ;

namespace kest::testing {

struct ProgramRun {
  int status = -1;  // the exit status, or -1 when the program did not exit normally
  std::string out, err;
};

inline std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

inline std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  std::istringstream in(text);
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

// Runs a program with an argument vector (no shell), its output captured in files of `work`.
inline ProgramRun RunProgram(const std::vector<std::string>& argv, const std::filesystem::path& work) {
  const std::string out_path = (work / "stdout.txt").string(), err_path = (work / "stderr.txt").string();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  pid_t pid = 0;
  ProgramRun run;
  const int spawned = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    run.err = "cannot start " + argv[0];
    return run;
  }
  int wait_status = 0;
  waitpid(pid, &wait_status, 0);
  if (WIFEXITED(wait_status)) run.status = WEXITSTATUS(wait_status);
  run.out = ReadText(out_path);
  run.err = ReadText(err_path);
  return run;
}

// One variable of a --dump-vars file.
struct DumpedVariable {
  std::string scope, type, value;
  bool operator==(const DumpedVariable&) const = default;
};
inline std::ostream& operator<<(std::ostream& out, const DumpedVariable& v) {
  return out << v.scope << '/' << v.type << '/' << v.value;
}

class TitleRun : public ::testing::Test {
 protected:
  // A title whose project names "start.ksb" (and "exit.ksb" when `exit_page` is set).
  void WriteTitle(const std::map<std::string, std::string>& pages, bool exit_page = false) {
    std::string project = "title \"E2E\"\nscreen 640 480\nstart-page \"start.ksb\"\n";
    if (exit_page) project += "exit-page \"exit.ksb\"\n";
    WriteFile("src/project.kest", project);
    for (const auto& [name, text] : pages) WriteFile("src/" + name, text);
  }
  void WriteFile(const std::string& name, const std::string& text) {
    folder_.Write(name, Bytes(text.begin(), text.end()));
  }

  // Compiles the title; the test fails at once when it does not compile.
  void Compile() {
    const ProgramRun run = RunProgram({KEST_BINARY, "compile", folder_.File("src"), "-o", folder_.File("game")},
                                      folder_.Path());
    ASSERT_EQ(run.status, 0) << run.err;
  }

  // Runs the compiled title headless with a trace and a variable dump, plus `extra` options.
  ProgramRun Play(std::vector<std::string> extra, const std::string& input = "") {
    std::vector<std::string> argv = {KESTPLAYER_BINARY, "--headless", folder_.File("game"),
                                     "--trace", folder_.File("trace.txt"), "--dump-vars", folder_.File("vars.txt")};
    if (!input.empty()) {
      WriteFile("input.txt", input);
      argv.insert(argv.end(), {"--input", folder_.File("input.txt")});
    }
    argv.insert(argv.end(), extra.begin(), extra.end());
    return RunProgram(argv, folder_.Path());
  }

  std::vector<std::string> Trace() const { return SplitLines(ReadText(folder_.File("trace.txt"))); }
  // The trace lines without their time stamps.
  std::vector<std::string> Commands() const {
    std::vector<std::string> lines;
    for (const std::string& line : Trace()) lines.push_back(line.size() > 11 ? line.substr(11) : line);
    return lines;
  }
  std::map<std::string, DumpedVariable> Variables() const {
    std::map<std::string, DumpedVariable> variables;
    for (const std::string& line : SplitLines(ReadText(folder_.File("vars.txt")))) {
      std::istringstream fields(line);
      std::string name;
      DumpedVariable v;
      std::getline(fields, name, '\t');
      std::getline(fields, v.scope, '\t');
      std::getline(fields, v.type, '\t');
      std::getline(fields, v.value);
      variables[name] = v;
    }
    return variables;
  }
  std::string Value(const std::string& name) const {
    const auto variables = Variables();
    const auto found = variables.find(name);
    return found == variables.end() ? "<none>" : found->second.value;
  }

  TempFolder folder_;
};

}  // namespace kest::testing
