// The options of the three methods, one row each: the command line's flag and help line, the
// library's and Python's names, the range, and how the row reads and sets the engine's option
// struct (its default is the struct's own). The command line's options and help, the
// library's checks, Python's arguments and docstrings and the window's ranges are all drawn
// from these rows, so adding an option to a method is one row here plus its use in the
// engine.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "run/method_choice.h"
#include "run/result_field_table.h"

namespace hc {

// How a row reads and sets its field of the engine's option struct.
struct OptionField {
  int64_t (*get)(const MethodOptions& options) = nullptr;
  void (*set)(MethodOptions& options, int64_t value) = nullptr;
};

// What a row is besides its range (MethodOptionRow::traits, or-ed).
enum OptionTrait : uint8_t {
  kPlain = 0,
  kSwitch = 1,           // on or off: --minimal, True/False
  kShowDefault = 2,      // --help shows the default
  kAfterSeed = 4,        // the command line lists it after --seed (the threads)
  kHelpShowsValues = 8,  // the help line ends with valuesText
};

struct MethodOptionRow {
  static constexpr int64_t kNoSetting = INT64_MIN;

  MethodChoice method = MethodChoice::kSolve;
  const char* flag = "";        // the command line: "--max-iterations"
  const char* name = "";        // the library, and the key of the CLI's JSON report: "maxIterations"
  const char* pythonName = "";  // Python's keyword argument: "max_iterations"
  int64_t low = 0;              // the range low..high
  int64_t high = 0;
  // A value outside the range that means "no limit of its own" (the default of an option
  // whose absence is its own setting), else kNoSetting.
  int64_t unset = kNoSetting;
  std::span<const int32_t> choices = {};  // when not empty, the only values taken
  uint8_t traits = kPlain;
  Reported reported = Reported::kNo;  // the CLI's JSON reports echo it
  const char* help = "";              // one line, as --help shows it (see helpLine)
  OptionField field;

  bool isSwitch() const { return (traits & kSwitch) != 0; }
  bool has(OptionTrait trait) const { return (traits & trait) != 0; }
};

// Every row, the methods in the order schc, cohc, solve.
std::span<const MethodOptionRow> methodOptionRows();
// The row of `method` with the library name `name`, or null.
const MethodOptionRow* findMethodOption(MethodChoice method, std::string_view name);

// A method's options as every front end starts from them: the engine's defaults (a cohc run
// of a front end writes no cycle file of its own).
MethodOptions defaultMethodOptions(MethodChoice method);
int64_t defaultValueOf(const MethodOptionRow& row);

// "0..6", or of choices "3, 4, 5, 6, 7, 12 or 13".
std::string valuesText(const MethodOptionRow& row);
// The help line: `help`, and the values when the row says so ("Pruning level 0..6").
std::string helpLine(const MethodOptionRow& row);
// Empty when `value` is one the row takes, else the message that refuses it under `shownName`
// ("level must be in 0..6, not 7").
std::string optionValueProblem(const MethodOptionRow& row, int64_t value, std::string_view shownName);

}  // namespace hc
