// A 3-SAT formula and its reduction to a Hamiltonian Cycle instance: the graph has a
// Hamiltonian cycle exactly when the formula is satisfiable, so every method of the
// workbench can be tried on hard instances.
//
// Formulas come from the random generator (distinct variables per clause, random signs,
// seeded from the calendar time), from given clauses, or from DIMACS CNF text (the form
// in which a formula is stored, so that any SAT solver can check it; io writes the file).
//
// Reduction layout (node ids 0 .. 49m + 2u - 1): clause gadget j owns nodes 37j .. 37j+36
// (local 24..35 are the three literal slots of four nodes each, local 0 and 36 its ends);
// from 37m on, one variable gadget per used variable in increasing variable number, each a
// start node, a path of four nodes per positive occurrence, a path of four nodes per
// negative occurrence and an end node. A Hamiltonian cycle runs through each variable
// gadget along one of its two paths: the truth value.
#pragma once

#include <array>
#include <cstdint>
#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/graph.h"

namespace hc {

using Clause = std::array<int32_t, 3>;

class LogicalFormula {
 public:
  int32_t howManyVariables = 0;  // variables are 1 .. howManyVariables
  int32_t literalsPerClause = 3;
  double clauseMultiplier = 0.0;
  int32_t howManyClauses = 0;
  std::vector<Clause> clauses;         // +v is variable v, -v its negation
  int32_t howManyGraphNodes = 0;       // 49 * howManyClauses + 2 * howManyUsedVariables
  std::vector<int32_t> positiveCount;  // indexed 1 .. howManyVariables (entry 0 unused)
  std::vector<int32_t> negativeCount;
  int32_t howManyUsedVariables = 0;

  // Recomputes the occurrence counts, howManyUsedVariables and howManyGraphNodes from
  // the clauses.
  void countOccurrences();

  // Adds every edge of the reduction to `graph`, which must be in its construction phase
  // with howManyGraphNodes nodes and no edges; counts howManyEdges. Needs at least one
  // clause. Adds 70m + 3u edges.
  void reduceToGraph(Graph& graph) const;

  // True when `assignment` (indexed 1 .. howManyVariables, entry 0 unused) satisfies
  // every clause.
  bool isSatisfiedBy(const std::vector<bool>& assignment) const;
};

// A formula or the reason none was made.
struct FormulaResult {
  std::optional<LogicalFormula> formula;
  std::string error;
  explicit operator bool() const { return formula.has_value(); }
};

// n variables, trunc(n * c) clauses of k literals with distinct variables; reseeds the
// random source from the calendar time (a reseed point). Refuses k != 3 and n < 3 (a
// clause could never find three distinct variables).
FormulaResult randomFormula(int32_t n, int32_t k, double c);

// A formula from given clauses over variables 1 .. n: every literal non-zero, at most n in
// size, and the three variables of a clause distinct. clauseMultiplier = m / n.
FormulaResult formulaFromClauses(int32_t n, std::vector<Clause> clauses);

// DIMACS CNF: "p cnf n m" then m clauses of exactly three literals, each ended by 0.
// Comment lines ("c ...") are skipped. `sourceName` names the input in errors. (The file
// is read and written by io/dimacs_cnf_format.h.)
FormulaResult readDimacs(std::istream& in, const std::string& sourceName);

// The graph of a formula: reseeds the random source from the graph clock (a reseed point,
// as every graph constructor), builds howManyGraphNodes nodes, reduces, finishes
// construction. graphType 0, no file names, version 5, printLevel 0. Needs at least one
// clause (else nullptr).
std::unique_ptr<Graph> graphFromFormula(const LogicalFormula& formula);

}  // namespace hc
