// The random 3-SAT formula, its DIMACS form (read here, written by io) and the reduction to a
// Hamiltonian Cycle instance: sizes, degrees, numbering, and the equivalence itself on tiny
// formulas.
#include "generators/logical_formula.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>

#include "core/graph_invariants.h"
#include "core/random.h"
#include "io/dimacs_cnf_format.h"
#include "io/file_access.h"
#include "solve/solve_graph.h"
#include "support/test_graphs.h"

namespace hc {
namespace {

std::string toDimacs(const LogicalFormula& formula) {
  return formatDimacsCnf(formula.howManyVariables, formula.clauses);
}

LogicalFormula formulaOf(int32_t n, std::vector<Clause> clauses) {
  FormulaResult result = formulaFromClauses(n, std::move(clauses));
  EXPECT_TRUE(result) << result.error;
  return std::move(*result.formula);
}

// The reduction graph, checked against the size and degree formulas.
std::unique_ptr<Graph> reduce(const LogicalFormula& formula) {
  std::unique_ptr<Graph> graph = graphFromFormula(formula);
  EXPECT_NE(graph, nullptr);
  const int32_t m = formula.howManyClauses;
  const int32_t u = formula.howManyUsedVariables;
  EXPECT_EQ(std::pair(graph->howManyNodes, graph->howManyEdges), std::pair(49 * m + 2 * u, 70 * m + 3 * u));
  EXPECT_EQ(graph->edgesToRemove, graph->howManyEdges - graph->howManyNodes);
  for (int32_t v = 0; v < graph->howManyNodes; ++v)
    EXPECT_TRUE(graph->node(v).degree >= 2 && graph->node(v).degree <= 4) << v;
  EXPECT_EQ(checkInvariants(*graph), "");
  // Every literal is counted once, as a positive or a negative occurrence.
  int32_t occurrences = 0;
  for (size_t v = 1; v <= static_cast<size_t>(formula.howManyVariables); ++v)
    occurrences += formula.positiveCount[v] + formula.negativeCount[v];
  EXPECT_EQ(occurrences, 3 * m);
  return graph;
}

// The verdict of the exact solver on a reduction graph; a cycle it finds is checked here.
HamiltonicityState decide(const LogicalFormula& formula) {
  std::unique_ptr<Graph> graph = reduce(formula);
  SolveOptions options;
  options.threads = 1;
  options.timeLimitSeconds = 60;
  const SolveResult result = solveGraph(*graph, options);
  const testing::EdgeSet edges = testing::currentEdges(*graph);
  EXPECT_TRUE(result.verdict != kHamiltonian ||
              testing::isHamiltonianCycleOf(result.cycle, graph->howManyNodes, edges));
  return result.verdict;
}

bool satisfiable(const LogicalFormula& formula) {
  const int32_t n = formula.howManyVariables;
  for (int32_t a = 0; a < (1 << n); ++a) {
    std::vector<bool> assignment(static_cast<size_t>(n) + 1, false);
    for (int32_t v = 1; v <= n; ++v) assignment[static_cast<size_t>(v)] = ((a >> (v - 1)) & 1) != 0;
    if (formula.isSatisfiedBy(assignment)) return true;
  }
  return false;
}

TEST(LogicalFormula, RandomFormulaDrawsAsDescribed) {
  // Same reseed, same draws: variable v = draw mod n + 1 (redrawn while taken), then a sign
  // draw, odd meaning negated.
  enableFixedSeed(99);
  FormulaResult result = randomFormula(10, 3, 2.5);
  disableFixedSeed();
  ASSERT_TRUE(result);
  EXPECT_EQ(result.formula->howManyClauses, 25);
  reduce(*result.formula);  // the size and count formulas on a larger formula
  enableFixedSeed(99);
  reseedFromClock(0);
  disableFixedSeed();
  for (const Clause& clause : result.formula->clauses) {
    std::vector<int32_t> placed;
    for (int32_t literal : clause) {
      int32_t v = nextRandom() % 10 + 1;
      while (std::find(placed.begin(), placed.end(), v) != placed.end()) v = nextRandom() % 10 + 1;
      placed.push_back(v);
      EXPECT_EQ(literal, nextRandom() % 2 == 1 ? -v : v);
    }
  }
}

TEST(LogicalFormula, RefusedFormulas) {
  EXPECT_EQ(randomFormula(5, 4, 1.0).error, "Error: Attempt to generate a random formula with k != 3.");
  EXPECT_FALSE(randomFormula(2, 3, 5.0));  // three distinct variables could never be found
  EXPECT_FALSE(randomFormula(5, 3, -1.0));
  for (Clause bad : {Clause{1, 2, 4}, Clause{1, 0, 2}, Clause{1, -1, 2}})
    EXPECT_FALSE(formulaFromClauses(3, {bad}));
  EXPECT_EQ(graphFromFormula(formulaOf(3, {})), nullptr);
}

TEST(LogicalFormula, ReductionNumbering) {
  // x1 only positive, x2 only negative, x3 unused (no gadget), x4 both.
  LogicalFormula formula = formulaOf(4, {{1, -2, 4}, {-4, 1, -2}});
  EXPECT_EQ(formula.howManyUsedVariables, 3);
  std::unique_ptr<Graph> graph = reduce(formula);
  // Gadget starts and ends: the first after the two clause gadgets, x1's with two positive occurrences.
  const int32_t s1 = 74, e1 = s1 + 4 * 2 + 1, s2 = e1 + 1, e2 = s2 + 9, s4 = e2 + 1, e4 = s4 + 9;
  EXPECT_EQ(e4, graph->howManyNodes - 1);
  // The gadget chain from local 0 of clause 0, a direct start-end edge where a sign never
  // occurs, the last gadget closing on local 36 of the last clause, and the clause chain; then
  // clause 0 slot 1 (+x1, first occurrence), clause 1 slot 2 (+x1, second) and clause 1 slot 1
  // (-x4, negative path).
  testing::EdgeList edges = {{0, s1},  {s1, e1}, {s1, s1 + 1}, {e1, s2},
                             {s2, e2}, {e2, s4}, {e4, 73},     {36, 37}};
  for (int32_t t = 1; t <= 4; ++t)
    edges.insert(edges.end(), {{23 + t, s1 + t}, {37 + 27 + t, s1 + 4 + t}, {37 + 23 + t, s4 + 4 + t}});
  for (auto [a, b] : edges) EXPECT_TRUE(graph->isAdjacent(a, b)) << a << "-" << b;
  // Join order fixes the neighbour arrays: local 0 of clause 0 joined 1, 12, then the gadget.
  EXPECT_EQ(testing::neighbourList(*graph, 0), (std::vector<int32_t>{1, 12, s1}));
}

TEST(LogicalFormula, AFormulaIsSatisfiableExactlyWhenItsGraphIsHamiltonian) {
  std::vector<Clause> all;  // all eight sign patterns of x1, x2, x3: unsatisfiable
  for (int32_t signs = 0; signs < 8; ++signs)
    all.push_back({signs & 1 ? -1 : 1, signs & 2 ? -2 : 2, signs & 4 ? -3 : 3});
  const std::vector<Clause> allButOne(all.begin(), all.end() - 1);
  const std::vector<std::pair<int32_t, std::vector<Clause>>> known = {
      {3, all}, {3, allButOne}, {3, {{1, 2, 3}, {1, 2, 3}}}, {4, {{1, -2, 3}, {-1, 2, -4}}}};
  for (const auto& [n, clauses] : known) {
    LogicalFormula formula = formulaOf(n, clauses);
    EXPECT_EQ(decide(formula), satisfiable(formula) ? kHamiltonian : kNotHamiltonian) << toDimacs(formula);
  }
  EXPECT_FALSE(satisfiable(formulaOf(3, all)));

  int32_t counts[2] = {0, 0};
  for (uint32_t seed = 1; seed <= 60; ++seed) {
    const int32_t n = 3 + static_cast<int32_t>(seed % 3);
    enableFixedSeed(seed);
    // Three variables with many clauses often use all eight sign patterns: unsatisfiable.
    const double multiplier =
        n == 3 ? 4.0 + static_cast<double>(seed % 4) : 1.0 + 0.5 * static_cast<double>(seed % 6);
    FormulaResult result = randomFormula(n, 3, multiplier);
    disableFixedSeed();
    ASSERT_TRUE(result) << result.error;
    const bool expected = satisfiable(*result.formula);
    EXPECT_EQ(decide(*result.formula), expected ? kHamiltonian : kNotHamiltonian)
        << toDimacs(*result.formula);
    ++counts[expected ? 1 : 0];
  }
  EXPECT_TRUE(counts[0] > 0 && counts[1] > 0) << "both answers occur";
}

TEST(LogicalFormula, DimacsRoundTripAndErrors) {
  LogicalFormula formula = formulaOf(5, {{1, -2, 3}, {-5, 4, 2}});
  EXPECT_EQ(toDimacs(formula), "p cnf 5 2\n1 -2 3 0\n-5 4 2 0\n");
  std::istringstream text("c a comment\np cnf 5 2\n1 -2\n 3 0 -5 4 2 0\n%\n0\n");
  FormulaResult read = readDimacs(text, "f.cnf");
  ASSERT_TRUE(read) << read.error;
  EXPECT_EQ(std::pair(read.formula->clauses, read.formula->howManyGraphNodes),
            std::pair(formula.clauses, formula.howManyGraphNodes));

  const std::pair<const char*, const char*> errors[] = {
      {"1 2 3 0\n", "f.cnf: line 1: clauses before the \"p cnf\" line"},
      {"p cnf 3 1\n1 2 0\n",
       "f.cnf: line 2: a clause with 2 literals (only clauses of exactly 3 literals can be reduced)"},
      {"p cnf 3 1\n1 2 4 0\n", "f.cnf: line 2: literal 4 is beyond variable 3"},
      {"p cnf 3 2\n1 2 3 0\n", "f.cnf: line 2: the problem line declares 2 clauses but 1 follow"},
      {"p cnf 3 1\n1 x 3 0\n", "f.cnf: line 2: \"x\" is not a literal"},
      {"p cnf 3 1\n1 2 3\n", "f.cnf: line 2: the last clause is not ended by 0"},
      {"p cnf 3 1\n1 99999999999999999999 3 0\n", "f.cnf: line 2: \"99999999999999999999\" is not a literal"},
      {"p cnf 3 1\n1 1 3 0\n",
       "f.cnf: clause 1: variable 1 occurs twice (the three variables of a clause must be distinct)"},
      {"", "f.cnf: line 0: no \"p cnf\" line"},
  };
  for (const auto& [input, error] : errors) {
    std::istringstream in(input);
    EXPECT_EQ(readDimacs(in, "f.cnf").error, error);
  }

  const std::string path = (std::filesystem::temp_directory_path() / "hc_generators_formula.cnf").string();
  ASSERT_TRUE(writeDimacsCnfFile(path, formula.howManyVariables, formula.clauses));
  std::string content;
  ASSERT_TRUE(readInputFile(path, content));
  std::remove(path.c_str());
  std::istringstream stored(content);
  FormulaResult fromFile = readDimacs(stored, path);
  ASSERT_TRUE(fromFile) << fromFile.error;
  EXPECT_EQ(toDimacs(*fromFile.formula), toDimacs(formula));
}

TEST(LogicalFormula, TruncatedAndFlippedDimacsNeverCrash) {
  const std::string good = "c x\np cnf 4 3\n1 -2 3 0\n-1 2 4 0\n2 3 -4 0\n";
  seedRandom(1234);
  for (size_t trial = 0; trial < good.size() + 500; ++trial) {
    std::string text = good.substr(0, std::min(trial, good.size()));
    if (trial > good.size())
      text[static_cast<size_t>(nextRandom()) % text.size()] = static_cast<char>(nextRandom() % 128);
    std::istringstream in(text);
    FormulaResult result = readDimacs(in, "t");
    EXPECT_TRUE(result ? graphFromFormula(*result.formula) != nullptr : !result.error.empty()) << trial;
  }
}

}  // namespace
}  // namespace hc
