// What several commands print alike: one JSON object on stdout, the head of a
// solving command's object, the reader options.
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
  if (outcome.verdict == Verdict::kHamiltonian) j["cycle"] = outcome.cycle;
  j["seed"] = outcome.seed;
  return j;
}

}  // namespace hc::cli
