// The figures of a run's outcome as the reports name them, one row each: the key of the
// command line's JSON report (and of its batch lines, and of Python's Result.as_dict) and the
// attribute of Python's Result, which methods' reports carry it and how it is read off the
// RunOutcome. The reports add a method's options (run/method_option_table.h) among them.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <variant>

#include "run/method_choice.h"
#include "run/run_outcome.h"

namespace hc {

// A figure's value; monostate is JSON's null (Python's None).
using ResultValue = std::variant<std::monostate, bool, int64_t, double, std::string>;

// The bit of a method in a row's set of methods.
constexpr uint8_t methodBit(MethodChoice method) {
  return static_cast<uint8_t>(1u << static_cast<unsigned>(method));
}
inline constexpr uint8_t kEveryMethod = 0b111;

// Where a figure (or an option, MethodOptionRow::reported) appears.
enum class Reported : uint8_t { kNo, kRun, kRunAndBatch };

struct ResultFieldRow {
  const char* key = "";         // the JSON key: "treeNodes"
  const char* pythonName = "";  // Python's Result attribute: "tree_nodes"
  uint8_t methods = 0;          // the methods whose JSON reports carry it
  uint8_t pythonMethods = 0;    // the methods whose Result.as_dict carries it (when not None)
  Reported reported = Reported::kRun;
  bool afterOptions = false;  // after the method's options in the report
  ResultValue (*value)(const RunOutcome& outcome) = nullptr;
};

std::span<const ResultFieldRow> resultFieldRows();

// The line of a run whose method reported a cycle that failed the independent check.
std::string cycleFaultText(const RunOutcome& outcome);

}  // namespace hc
