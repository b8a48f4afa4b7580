// The option table: every row's default is a value it takes, a row sets and reads back the
// engine's own field, and a value outside its range is refused with the range in the words
// every front end uses. The result table reads the figures off an outcome.
#include "run/method_option_table.h"

#include <gtest/gtest.h>

#include "run/run_method.h"

namespace hc::testing {
namespace {

TEST(MethodOptionTable, DefaultsLieInTheRangeAndEveryRowSetsItsField) {
  for (const MethodOptionRow& row : methodOptionRows()) {
    SCOPED_TRACE(row.flag);
    const int64_t fallback = defaultValueOf(row);
    EXPECT_EQ(optionValueProblem(row, fallback, row.name), "");
    EXPECT_EQ(findMethodOption(row.method, row.name), &row);
    MethodOptions options = defaultMethodOptions(row.method);
    row.field.set(options, row.high);
    EXPECT_EQ(row.field.get(options), row.high);
    EXPECT_EQ(optionValueProblem(row, row.high + 1, row.pythonName),
              std::string(row.pythonName) + (row.choices.empty() ? " must be in " : " must be ") +
                  valuesText(row) + ", not " + std::to_string(row.high + 1));
  }
  EXPECT_EQ(valuesText(*findMethodOption(MethodChoice::kSchc, "version")), "3, 4, 5, 6, 7, 12 or 13");
  EXPECT_EQ(optionValueProblem(*findMethodOption(MethodChoice::kSchc, "version"), 8, "version"),
            "version must be 3, 4, 5, 6, 7, 12 or 13, not 8");
  // maxIterations 0 is "no limit of its own", outside the range 1.. and taken all the same.
  EXPECT_EQ(optionValueProblem(*findMethodOption(MethodChoice::kSchc, "maxIterations"), 0, "maxIterations"),
            "");
  EXPECT_EQ(helpLine(*findMethodOption(MethodChoice::kCohc, "level")), "Pruning level 0..6");
  EXPECT_EQ(findMethodOption(MethodChoice::kCohc, "threads"), nullptr);
}

TEST(ResultFieldTable, FiguresReadOffTheOutcome) {
  RunOutcome outcome;
  outcome.decidedBy = DecidedBy::kFrontierSearch;
  outcome.treeNodes = 12;
  for (const ResultFieldRow& row : resultFieldRows()) {
    if (std::string(row.key) == "method") {
      EXPECT_EQ(std::get<std::string>(row.value(outcome)), "frontier search");
      EXPECT_TRUE(std::holds_alternative<std::monostate>(row.value(RunOutcome{})));
    }
    if (std::string(row.key) == "treeNodes") {
      EXPECT_EQ(std::get<int64_t>(row.value(outcome)), 12);
    }
  }
  for (auto part = static_cast<int>(DecidedBy::kNone); part <= static_cast<int>(DecidedBy::kCubeSplit);
       ++part)
    EXPECT_EQ(decidedByOfName(decidedByName(static_cast<DecidedBy>(part))), static_cast<DecidedBy>(part));
}

}  // namespace
}  // namespace hc::testing
