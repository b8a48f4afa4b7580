// LogicalFormula: the random formula, occurrence counts, DIMACS text and the reduction.
//
// The reduction adds its edges in a fixed order (clause gadgets, clause chain, variable
// gadgets, variable chain, literal connections), so for one formula the node numbering
// and every neighbour array are fully determined by the clauses and their order.
#include "generators/logical_formula.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <ctime>
#include <fstream>
#include <new>
#include <sstream>

#include "core/diagnostics.h"
#include "core/random.h"
#include "generators/generation_limits.h"

namespace hc {

namespace {

constexpr int32_t kClauseGadgetNodes = 37;

// Local edges of one clause gadget, in join order. Local 24..35 are the literal slots.
constexpr std::array<std::array<int32_t, 2>, 23> kClauseCoreEdges{{
    {0, 1}, {0, 12}, {1, 2},  {1, 6}, {2, 3},  {2, 5}, {3, 4},  {3, 15}, {3, 16}, {4, 5},   {4, 8},   {5, 6},
    {5, 7}, {6, 7},  {6, 11}, {7, 8}, {7, 10}, {8, 9}, {9, 10}, {9, 19}, {9, 20}, {10, 11}, {11, 36},
}};

// Four consecutive nodes of a variable path, owned by one literal occurrence.
struct OccurrenceRecord {
  int32_t first = -1;  // the nodes are first .. first + 3
};

class Reduction {
 public:
  Reduction(const LogicalFormula& formula, Graph& graph) : formula_(formula), graph_(graph) {}

  void run() {
    const int32_t m = formula_.howManyClauses;
    for (int32_t j = 0; j < m; ++j) addClauseGadget(j);
    for (int32_t j = 0; j + 1 < m; ++j) joinForFormula(37 * j + 36, 37 * (j + 1), 0);
    addVariableGadgets();
    chainVariableGadgets();
    connectLiterals();
  }

 private:
  void joinForFormula(int32_t a, int32_t b, int32_t offset) {
    if (graph_.isAdjacentByList(a + offset, b + offset)) {
      diagnostic("ERROR! Attempt by logical formula to join two nodes which are already adjacent.\n");
      return;
    }
    graph_.addEdge(a + offset, b + offset);
  }

  void addClauseGadget(int32_t j) {
    const int32_t offset = kClauseGadgetNodes * j;
    for (const auto& edge : kClauseCoreEdges) joinForFormula(edge[0], edge[1], offset);
    for (int32_t b = 0; b <= 8; b += 4) {
      joinForFormula(12 + b, 13 + b, offset);
      joinForFormula(12 + b, 24 + b, offset);
      joinForFormula(13 + b, 14 + b, offset);
      joinForFormula(13 + b, 25 + b, offset);
      joinForFormula(14 + b, 15 + b, offset);
      joinForFormula(14 + b, 26 + b, offset);
      joinForFormula(15 + b, 27 + b, offset);
    }
    joinForFormula(23, 36, offset);
  }

  void addVariableGadgets() {
    const int32_t n = formula_.howManyVariables;
    const auto size = static_cast<size_t>(n) + 1;
    gadgetStart_.assign(size, -1);
    gadgetEnd_.assign(size, -1);
    positive_.assign(size, {});
    negative_.assign(size, {});
    int32_t s = kClauseGadgetNodes * formula_.howManyClauses;
    for (int32_t v = 1; v <= n; ++v) {
      const int32_t p = formula_.positiveCount[static_cast<size_t>(v)];
      const int32_t q = formula_.negativeCount[static_cast<size_t>(v)];
      if (p + q == 0) continue;
      const int32_t e = s + 4 * (p + q) + 1;
      gadgetStart_[static_cast<size_t>(v)] = s;
      gadgetEnd_[static_cast<size_t>(v)] = e;
      addPath(positive_[static_cast<size_t>(v)], s, s + 1, p, e);
      addPath(negative_[static_cast<size_t>(v)], s, s + 4 * p + 1, q, e);
      s = e + 1;
    }
  }

  // From `start` through `count` records of four nodes (the first at `firstNode`) to `end`.
  void addPath(std::vector<OccurrenceRecord>& records, int32_t start, int32_t firstNode, int32_t count,
               int32_t end) {
    records.assign(static_cast<size_t>(count), {});
    int32_t previous = start;
    for (int32_t t = 0; t < count; ++t) {
      const int32_t a = firstNode + 4 * t;
      records[static_cast<size_t>(t)].first = a;
      joinForFormula(previous, a, 0);
      joinForFormula(a, a + 1, 0);
      joinForFormula(a + 1, a + 2, 0);
      joinForFormula(a + 2, a + 3, 0);
      previous = a + 3;
    }
    joinForFormula(previous, end, 0);
  }

  void chainVariableGadgets() {
    int32_t first = -1;
    int32_t lastEnd = -1;
    for (int32_t v = 1; v <= formula_.howManyVariables; ++v) {
      const int32_t start = gadgetStart_[static_cast<size_t>(v)];
      if (start < 0) continue;
      if (lastEnd >= 0) joinForFormula(lastEnd, start, 0);
      if (first < 0) first = start;
      lastEnd = gadgetEnd_[static_cast<size_t>(v)];
    }
    joinForFormula(0, first, 0);
    joinForFormula(lastEnd, kClauseGadgetNodes * formula_.howManyClauses - 1, 0);
  }

  void connectLiterals() {
    std::vector<int32_t> nextPositive(static_cast<size_t>(formula_.howManyVariables) + 1, 0);
    std::vector<int32_t> nextNegative(nextPositive.size(), 0);
    for (int32_t j = 0; j < formula_.howManyClauses; ++j) {
      const Clause& clause = formula_.clauses[static_cast<size_t>(j)];
      for (int32_t slot = 1; slot <= 3; ++slot) {
        const int32_t literal = clause[static_cast<size_t>(slot - 1)];
        const auto v = static_cast<size_t>(std::abs(literal));
        const OccurrenceRecord& record = literal > 0 ? positive_[v][static_cast<size_t>(nextPositive[v]++)]
                                                     : negative_[v][static_cast<size_t>(nextNegative[v]++)];
        for (int32_t t = 1; t <= 4; ++t) {
          const int32_t slotNode = kClauseGadgetNodes * j + 23 + 4 * (slot - 1) + t;
          joinForFormula(slotNode, record.first + t - 1, 0);
        }
      }
    }
  }

  const LogicalFormula& formula_;
  Graph& graph_;
  std::vector<int32_t> gadgetStart_;
  std::vector<int32_t> gadgetEnd_;
  std::vector<std::vector<OccurrenceRecord>> positive_;
  std::vector<std::vector<OccurrenceRecord>> negative_;
};

// Checks a clause list against n variables; empty when every clause is usable.
std::string clauseProblem(int32_t n, const std::vector<Clause>& clauses) {
  for (size_t j = 0; j < clauses.size(); ++j) {
    const Clause& clause = clauses[j];
    for (size_t s = 0; s < 3; ++s) {
      const int32_t literal = clause[s];
      if (literal == 0 || literal < -n || literal > n) {
        return "clause " + std::to_string(j + 1) + ": literal " + std::to_string(literal) +
               " is not a variable 1.." + std::to_string(n) + " or its negation";
      }
      for (size_t r = 0; r < s; ++r) {
        if (std::abs(clause[r]) == std::abs(literal)) {
          return "clause " + std::to_string(j + 1) + ": variable " + std::to_string(std::abs(literal)) +
                 " occurs twice (the three variables of a clause must be distinct)";
        }
      }
    }
  }
  return {};
}

std::string sizeProblem(int64_t n, int64_t m) {
  if (49 * m + 2 * n > kMaxGeneratedNodes) {
    return "a formula with " + std::to_string(n) + " variables and " + std::to_string(m) +
           " clauses reduces to more than " + std::to_string(kMaxGeneratedNodes) + " nodes";
  }
  return {};
}

}  // namespace

void LogicalFormula::countOccurrences() {
  howManyClauses = static_cast<int32_t>(clauses.size());
  positiveCount.assign(static_cast<size_t>(howManyVariables) + 1, 0);
  negativeCount.assign(static_cast<size_t>(howManyVariables) + 1, 0);
  for (const Clause& clause : clauses) {
    for (int32_t literal : clause) {
      if (literal > 0) {
        ++positiveCount[static_cast<size_t>(literal)];
      } else {
        ++negativeCount[static_cast<size_t>(-literal)];
      }
    }
  }
  howManyUsedVariables = 0;
  for (int32_t v = 1; v <= howManyVariables; ++v) {
    if (positiveCount[static_cast<size_t>(v)] + negativeCount[static_cast<size_t>(v)] > 0) {
      ++howManyUsedVariables;
    }
  }
  howManyGraphNodes = 49 * howManyClauses + 2 * howManyUsedVariables;
}

void LogicalFormula::reduceToGraph(Graph& graph) const {
  if (howManyClauses <= 0) {
    diagnostic("Error: Attempt to reduce a formula without clauses.\n");
    return;
  }
  if (graph.howManyNodes != howManyGraphNodes) {
    diagnostic("Error: Attempt to reduce a formula into a graph with ", graph.howManyNodes,
               " nodes instead of ", howManyGraphNodes, ".\n");
    return;
  }
  Reduction(*this, graph).run();
}

bool LogicalFormula::isSatisfiedBy(const std::vector<bool>& assignment) const {
  for (const Clause& clause : clauses) {
    bool satisfied = false;
    for (int32_t literal : clause) {
      const auto v = static_cast<size_t>(std::abs(literal));
      if (v < assignment.size() && assignment[v] == (literal > 0)) satisfied = true;
    }
    if (!satisfied) return false;
  }
  return true;
}

FormulaResult randomFormula(int32_t n, int32_t k, double c) {
  FormulaResult result;
  if (k != 3) {
    result.error = "Error: Attempt to generate a random formula with k != 3.";
    return result;
  }
  if (n < 3) {
    result.error = "a random formula needs at least 3 variables (its clauses use three distinct variables)";
    return result;
  }
  const double clauseCount = static_cast<double>(n) * c;
  if (!std::isfinite(clauseCount) || clauseCount < 0.0) {
    result.error = "the clause multiplier must be a number of 0 or more";
    return result;
  }
  if (clauseCount >= static_cast<double>(kMaxGeneratedNodes)) {
    result.error = sizeProblem(n, static_cast<int64_t>(kMaxGeneratedNodes));
    return result;
  }
  const auto m = static_cast<int32_t>(clauseCount);
  if (std::string problem = sizeProblem(n, m); !problem.empty()) {
    result.error = problem;
    return result;
  }
  reseedFromClock(static_cast<uint32_t>(std::time(nullptr)));
  LogicalFormula formula;
  formula.howManyVariables = n;
  formula.literalsPerClause = k;
  formula.clauseMultiplier = c;
  formula.clauses.resize(static_cast<size_t>(m));
  for (Clause& clause : formula.clauses) {
    for (size_t slot = 0; slot < 3; ++slot) {
      int32_t v = 0;
      bool taken = true;
      while (taken) {
        v = nextRandom() % n + 1;
        taken = false;
        for (size_t r = 0; r < slot; ++r) taken = taken || std::abs(clause[r]) == v;
      }
      clause[slot] = nextRandom() % 2 == 1 ? -v : v;
    }
  }
  formula.countOccurrences();
  result.formula = std::move(formula);
  return result;
}

FormulaResult formulaFromClauses(int32_t n, std::vector<Clause> clauses) {
  FormulaResult result;
  if (n < 1) {
    result.error = "a formula needs at least 1 variable";
    return result;
  }
  if (std::string problem = sizeProblem(n, static_cast<int64_t>(clauses.size())); !problem.empty()) {
    result.error = problem;
    return result;
  }
  if (std::string problem = clauseProblem(n, clauses); !problem.empty()) {
    result.error = problem;
    return result;
  }
  LogicalFormula formula;
  formula.howManyVariables = n;
  formula.literalsPerClause = 3;
  formula.clauses = std::move(clauses);
  formula.clauseMultiplier = static_cast<double>(formula.clauses.size()) / static_cast<double>(n);
  formula.countOccurrences();
  result.formula = std::move(formula);
  return result;
}

FormulaResult readDimacs(std::istream& in, const std::string& sourceName) {
  FormulaResult result;
  auto fail = [&](int64_t line, const std::string& what) {
    result.error = sourceName + ": line " + std::to_string(line) + ": " + what;
    return std::move(result);
  };
  int64_t variables = -1;
  int64_t declaredClauses = -1;
  std::vector<Clause> clauses;
  std::vector<int32_t> pending;
  std::string text;
  int64_t lineNumber = 0;
  while (std::getline(in, text)) {
    ++lineNumber;
    if (!text.empty() && text.back() == '\r') text.pop_back();
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos || text[first] == 'c') continue;
    if (text[first] == '%') break;  // the end marker some benchmark sets use
    if (text[first] == 'p') {
      if (variables >= 0) return fail(lineNumber, "a second problem line");
      std::istringstream header(text.substr(first + 1));
      std::string format;
      if (!(header >> format >> variables >> declaredClauses) || format != "cnf") {
        return fail(lineNumber, "expected \"p cnf <variables> <clauses>\"");
      }
      std::string rest;
      if (header >> rest) return fail(lineNumber, "unexpected text after the problem line");
      if (variables < 1 || declaredClauses < 0) return fail(lineNumber, "the counts must be positive");
      if (std::string problem = sizeProblem(variables, declaredClauses); !problem.empty()) {
        return fail(lineNumber, problem);
      }
      continue;
    }
    if (variables < 0) return fail(lineNumber, "clauses before the \"p cnf\" line");
    const char* at = text.data() + first;
    const char* end = text.data() + text.size();
    while (at < end) {
      if (*at == ' ' || *at == '\t') {
        ++at;
        continue;
      }
      int64_t literal = 0;
      auto [next, ec] = std::from_chars(at, end, literal);
      if (ec != std::errc() || (next < end && *next != ' ' && *next != '\t')) {
        return fail(
            lineNumber,
            "\"" +
                std::string(
                    at, static_cast<size_t>(
                            std::find_if(at, end, [](char ch) { return ch == ' ' || ch == '\t'; }) - at)) +
                "\" is not a literal");
      }
      at = next;
      if (literal == 0) {
        if (pending.size() != 3) {
          return fail(lineNumber, "a clause with " + std::to_string(pending.size()) +
                                      " literals (only clauses of exactly 3 literals can be reduced)");
        }
        clauses.push_back({pending[0], pending[1], pending[2]});
        pending.clear();
        continue;
      }
      if (literal < -variables || literal > variables) {
        return fail(lineNumber, "literal " + std::to_string(literal) + " is beyond variable " +
                                    std::to_string(variables));
      }
      if (pending.size() == 3) return fail(lineNumber, "a clause with more than 3 literals");
      pending.push_back(static_cast<int32_t>(literal));
    }
  }
  if (in.bad()) return fail(lineNumber, "read error");
  if (variables < 0) return fail(lineNumber, "no \"p cnf\" line");
  if (!pending.empty()) return fail(lineNumber, "the last clause is not ended by 0");
  if (static_cast<int64_t>(clauses.size()) != declaredClauses) {
    return fail(lineNumber, "the problem line declares " + std::to_string(declaredClauses) + " clauses but " +
                                std::to_string(clauses.size()) + " follow");
  }
  FormulaResult built = formulaFromClauses(static_cast<int32_t>(variables), std::move(clauses));
  if (!built) built.error = sourceName + ": " + built.error;
  return built;
}

std::unique_ptr<Graph> graphFromFormula(const LogicalFormula& formula) {
  if (formula.howManyClauses <= 0 || static_cast<int64_t>(formula.clauses.size()) != formula.howManyClauses) {
    return nullptr;
  }
  try {
    reseedFromClock(graphClockSeed());
    auto graph = std::make_unique<Graph>(formula.howManyGraphNodes, int16_t{0});
    formula.reduceToGraph(*graph);
    graph->finishConstruction();
    return graph;
  } catch (const std::bad_alloc&) {
    diagnostic("New failed.\n");
    return nullptr;
  }
}

}  // namespace hc
