// Runs the built hamcycles-cli as a child process with stdin from /dev/null (or from a file
// holding `input`) and stdout and stderr captured to files, the way scripts use it.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "support/test_graphs.h"

namespace hc::testing {

struct CliRun {
  int exitCode = -1;
  std::string out;
  std::string err;
  // Lines of stderr, each ended by a newline.
  int errLines() const { return static_cast<int>(std::count(err.begin(), err.end(), '\n')); }
  nlohmann::json json() const { return nlohmann::json::parse(out); }
};

inline std::string slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// Writes `text` to `path` byte for byte and returns the path.
inline std::string writeFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

// A scratch folder per test, removed afterwards.
class ScratchFolder {
 public:
  ScratchFolder()
      : path_(mkdtemp((std::filesystem::temp_directory_path() / "hc-cli-test-XXXXXX").string().data())) {}
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// Starts the CLI; `interruptAfter` > 0 sends SIGINT after that many seconds; `input`, when
// given, is its standard input.
inline CliRun runCli(const std::vector<std::string>& args, double interruptAfter = 0.0,
                     const std::optional<std::string>& input = std::nullopt) {
  ScratchFolder scratch;
  const std::string outPath = scratch / "stdout", errPath = scratch / "stderr";
  const std::string inPath = input ? writeFile(scratch / "stdin", *input) : std::string("/dev/null");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, inPath.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<std::string> all{HC_CLI_PATH};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, HC_CLI_PATH, &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return {-1, "", "could not start " + std::string(HC_CLI_PATH)};
  if (interruptAfter > 0.0) {
    std::this_thread::sleep_for(std::chrono::duration<double>(interruptAfter));
    kill(pid, SIGINT);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  CliRun run;
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  run.out = slurp(outPath);
  run.err = slurp(errPath);
  return run;
}

inline std::string example(const std::string& name) {
  return std::string(HC_EXAMPLES_DIR) + "/" + name;
}

}  // namespace hc::testing
