#include "run/result_field_table.h"

namespace hc {

namespace {

constexpr uint8_t kSchc = methodBit(MethodChoice::kSchc);
constexpr uint8_t kTree = methodBit(MethodChoice::kCohc) | methodBit(MethodChoice::kSolve);

constexpr uint8_t kAll = kEveryMethod;
constexpr auto kRun = Reported::kRun;
constexpr auto kBatch = Reported::kRunAndBatch;

ResultValue methodOf(const RunOutcome& o) {
  return o.decidedBy == DecidedBy::kNone ? ResultValue()
                                         : ResultValue(std::string(decidedByName(o.decidedBy)));
}

// clang-format off
constexpr ResultFieldRow kRows[] = {
    // JSON key, Python attribute, methods of the JSON, methods of Python, reported, after the options, value
    {"method", "method", methodBit(MethodChoice::kSolve), kAll, kBatch, false, methodOf},
    {"iterations", "iterations", kSchc, kSchc, kBatch, false, [](const RunOutcome& o) { return ResultValue(o.iterations); }},
    {"treeNodes", "tree_nodes", kTree, kTree, kBatch, false, [](const RunOutcome& o) { return ResultValue(o.treeNodes); }},
    {"deepestDepth", "deepest_depth", kTree, kTree, kBatch, false,
     [](const RunOutcome& o) { return ResultValue(int64_t{o.deepestDepth}); }},
    {"bestPercentComplete", "best_percent_complete", kSchc, kSchc, kRun, true,
     [](const RunOutcome& o) { return ResultValue(o.bestPercentComplete); }},
    {"stopped", "stopped", kAll, kAll, kBatch, true, [](const RunOutcome& o) { return ResultValue(o.stoppedText); }},
};
// clang-format on

}  // namespace

std::span<const ResultFieldRow> resultFieldRows() {
  return kRows;
}

std::string cycleFaultText(const RunOutcome& outcome) {
  return "the method reported a cycle that is not a Hamiltonian cycle of the graph (" + outcome.cycleFault +
         "); the run counts as undecided";
}

}  // namespace hc
