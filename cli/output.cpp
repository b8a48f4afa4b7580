// What several commands print or check alike: one JSON object on stdout, the head of a
// solving command's object, the writable path of an output file, the reader options.
#include <unistd.h>

#include <filesystem>
#include <iostream>

#include "commands.h"
#include "core/message_text.h"

namespace hc::cli {

FormatOptions& commandLineFormatOptions() {
  static FormatOptions options;
  return options;
}

namespace {

// Every string in the object made valid UTF-8 (names and messages can hold any bytes, and the
// JSON writer refuses invalid UTF-8). Keys are this program's own words.
void makeValidUtf8(Json& value) {
  if (value.is_string()) {
    value = validUtf8Text(value.get_ref<const std::string&>());
  } else if (value.is_structured()) {
    for (auto& item : value) makeValidUtf8(item);
  }
}

}  // namespace

void printJson(Json object) {
  makeValidUtf8(object);
  std::cout << object.dump() << '\n' << std::flush;
}

Json reportHead(const char* command, const std::string& name, int32_t nodes, int64_t edges,
                const RunOutcome& outcome) {
  Json j;
  j["command"] = command;
  j["graph"] = name;
  j["verdict"] = std::string(verdictName(outcome.verdict));
  j["nodes"] = nodes;
  j["edges"] = edges;
  j["seconds"] = outcome.seconds;
  if (outcome.verdict == Verdict::Hamiltonian) j["cycle"] = outcome.cycle;
  j["seed"] = outcome.seed;
  return j;
}

std::string checkWritablePath(const std::string& option, const std::string& path) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return option + " " + path + " is a folder";
  std::filesystem::path folder = std::filesystem::path(path).parent_path();
  if (folder.empty()) folder = ".";
  if (!std::filesystem::is_directory(folder, ec))
    return option + " " + path + ": folder " + folder.string() + " does not exist";
  if (access(folder.c_str(), W_OK) != 0)
    return option + " " + path + ": folder " + folder.string() + " is not writable";
  return {};
}

}  // namespace hc::cli
