#include "run/method_option_table.h"

#include <algorithm>
#include <type_traits>

#include "run/run_method.h"
#include "schc/probability_mill.h"
#include "solve/frontier_search.h"

namespace hc {

namespace {

template <typename Member>
struct MemberOf;
template <typename Options, typename Value>
struct MemberOf<Value Options::*> {
  using OptionsType = Options;
  using ValueType = Value;
};

// The OptionField of the engine struct's member `Field`.
template <auto Field>
constexpr OptionField field() {
  using Options = typename MemberOf<decltype(Field)>::OptionsType;
  using Value = typename MemberOf<decltype(Field)>::ValueType;
  return {
      [](const MethodOptions& options) { return static_cast<int64_t>(std::get<Options>(options).*Field); },
      [](MethodOptions& options, int64_t value) {
        std::get<Options>(options).*Field = static_cast<Value>(value);
      }};
}

constexpr int32_t kMostThreads = 256;
constexpr int32_t kUnlimitedDepth = 999999999;

constexpr int64_t kNone = MethodOptionRow::kNoSetting;
constexpr auto kSchc = MethodChoice::kSchc;
constexpr auto kCohc = MethodChoice::kCohc;
constexpr auto kSolve = MethodChoice::kSolve;
constexpr auto kRun = Reported::kRun;
constexpr auto kBatch = Reported::kRunAndBatch;

// clang-format off
constexpr MethodOptionRow kRows[] = {
    // method, flag, library and JSON name, Python name, range, unset, choices, traits, reported; help line, field
    {kSchc, "--version", "version", "version", kOfferedVersions[0], kOfferedVersions[std::size(kOfferedVersions) - 1],
     kNone, kOfferedVersions, kHelpShowsValues, kBatch, "Algorithm version:", field<&SchcOptions::version>()},
    {kSchc, "--max-iterations", "maxIterations", "max_iterations", 1, kMillIterationLimit, 0, {}, kPlain,
     Reported::kNo, "Stop after this many iterations", field<&SchcOptions::maxIterations>()},
    {kSchc, "--threads", "threads", "threads", 1, kMostThreads, kNone, {}, kShowDefault | kAfterSeed, kRun,
     "Worker threads of the parallel mill", field<&SchcOptions::threads>()},
    {kCohc, "--level", "level", "level", 0, 6, kNone, {}, kShowDefault | kHelpShowsValues, kBatch,
     "Pruning level", field<&CohcOptions::pruningLevel>()},
    {kCohc, "--max-depth", "maxDepth", "max_depth", 0, kUnlimitedDepth, kNone, {}, kPlain, kRun,
     "Maximum search depth (default unlimited)", field<&CohcOptions::maxSearchDepth>()},
    {kCohc, "--minimal", "minimal", "minimal", 0, 1, kNone, {}, kSwitch, kRun,
     "Build minimal children", field<&CohcOptions::buildMinimalChildren>()},
    {kSolve, "--threads", "threads", "threads", 1, kMostThreads, kNone, {}, kShowDefault | kAfterSeed, kRun,
     "Threads in all (search, finder, clause learner, proof system, mill)", field<&SolveOptions::threads>()},
    {kSolve, "--frontier-width", "frontierWidth", "frontier_width", 1, kFrontierWidthLimit, kNone, {}, kShowDefault,
     Reported::kNo, "Widest frontier (in nodes) the frontier search takes on before it gives up",
     field<&SolveOptions::frontierWidth>()},
};
// clang-format on

}  // namespace

std::span<const MethodOptionRow> methodOptionRows() {
  return kRows;
}

const MethodOptionRow* findMethodOption(MethodChoice method, std::string_view name) {
  for (const MethodOptionRow& row : kRows)
    if (row.method == method && name == row.name) return &row;
  return nullptr;
}

MethodOptions defaultMethodOptions(MethodChoice method) {
  switch (method) {
    case MethodChoice::kSchc: return SchcOptions{};
    case MethodChoice::kCohc: {
      CohcOptions cohc;
      cohc.writeCycleFile = false;  // a found cycle is written after its verification, by the front end
      return cohc;
    }
    case MethodChoice::kSolve: break;
  }
  return SolveOptions{};
}

int64_t defaultValueOf(const MethodOptionRow& row) {
  return row.field.get(defaultMethodOptions(row.method));
}

std::string valuesText(const MethodOptionRow& row) {
  if (row.choices.empty()) return std::to_string(row.low) + ".." + std::to_string(row.high);
  std::string text;
  for (size_t i = 0; i < row.choices.size(); ++i)
    text += (i == 0 ? "" : i + 1 == row.choices.size() ? " or " : ", ") + std::to_string(row.choices[i]);
  return text;
}

std::string helpLine(const MethodOptionRow& row) {
  return row.has(kHelpShowsValues) ? std::string(row.help) + " " + valuesText(row) : std::string(row.help);
}

std::string optionValueProblem(const MethodOptionRow& row, int64_t value, std::string_view shownName) {
  if (value == row.unset) return {};
  const bool taken = row.choices.empty()
                         ? value >= row.low && value <= row.high
                         : std::find(row.choices.begin(), row.choices.end(), value) != row.choices.end();
  if (taken) return {};
  return std::string(shownName) + (row.choices.empty() ? " must be in " : " must be ") + valuesText(row) +
         ", not " + std::to_string(value);
}

}  // namespace hc
