#include "solve/sat_formula.h"

#include <initializer_list>

namespace hc {

namespace {

// Up to this degree "exactly two" is written out over all subsets (at most ten 3-clauses
// and five 4-clauses); above it the counter's linear size wins.
constexpr size_t kSubsetEncodingDegree = 5;

class ClauseWriter {
 public:
  explicit ClauseWriter(TwoFactorFormula& formula) : formula_(formula) {}
  int32_t freshVariable() { return ++formula_.variables; }
  void clause(std::initializer_list<int32_t> literals) {
    for (int32_t literal : literals)
      if (literal != 0) formula_.clauses.push_back(literal);  // 0 stands for an absent (false) literal
    formula_.clauses.push_back(0);
  }
  void push(int32_t literal) { formula_.clauses.push_back(literal); }
  void close() { formula_.clauses.push_back(0); }

 private:
  TwoFactorFormula& formula_;
};

// Exactly two of `x` (edge literals, at least 2 of them) over all subsets: no three true,
// and among any size - 1 of them one is true.
void exactlyTwoBySubsets(const std::vector<int32_t>& x, ClauseWriter& out) {
  const size_t d = x.size();
  for (size_t i = 0; i < d; ++i)
    for (size_t j = i + 1; j < d; ++j)
      for (size_t k = j + 1; k < d; ++k) out.clause({-x[i], -x[j], -x[k]});
  for (size_t skip = 0; skip < d; ++skip) {
    for (size_t i = 0; i < d; ++i)
      if (i != skip) out.push(x[i]);
    out.close();
  }
}

// Exactly two of `x` by a sequential counter: one = "one of x[0..i] is true" and two = "two
// of them are", each defined in both directions so that the counter cannot claim a count the
// edges do not have. A literal 0 is the constant false (no count of two yet).
void exactlyTwoByCounter(const std::vector<int32_t>& x, ClauseWriter& out) {
  int32_t one = x[0];
  int32_t two = 0;
  const size_t last = x.size() - 1;
  for (size_t i = 1; i < last; ++i) {
    const int32_t nextOne = out.freshVariable();
    const int32_t nextTwo = out.freshVariable();
    out.clause({-one, nextOne});
    out.clause({-x[i], nextOne});
    out.clause({-nextOne, one, x[i]});
    if (two != 0) {
      out.clause({-two, -x[i]});  // a third true edge
      out.clause({-two, nextTwo});
    }
    out.clause({-one, -x[i], nextTwo});
    out.clause({-nextTwo, two, one});
    out.clause({-nextTwo, two, x[i]});
    one = nextOne;
    two = nextTwo;
  }
  out.clause({-two, -x[last]});
  out.clause({two, one});  // the count reaches two with the last edge at the latest
  out.clause({two, x[last]});
}

}  // namespace

SatEdgeProblem satEdgeProblemOf(const Graph& pruned, const EdgeSnapshot* original) {
  SatEdgeProblem problem;
  const int32_t n = pruned.howManyNodes;
  problem.nodeCount = n;
  // stamp[w] == v + 1: w is already listed as a neighbour of v.
  std::vector<int32_t> stamp(static_cast<size_t>(n), 0);
  for (int32_t v = 0; v < n; ++v) {
    const Node& node = pruned.node(v);
    for (int32_t i = 0; i < node.degree; ++i) {
      const int32_t w = node.neighborArray[i];
      if (w < 0 || w >= n || w == v || stamp[static_cast<size_t>(w)] == v + 1) continue;
      stamp[static_cast<size_t>(w)] = v + 1;
      if (w < v) continue;  // listed from the smaller end
      problem.edges.emplace_back(v, w);
      problem.fix.push_back(pruned.isUncuttableEdge(v, w) ? EdgeFix::kForced : EdgeFix::kFree);
    }
    if (original == nullptr || original->nodes() != n) continue;
    for (const int32_t w : original->neighborsOf(v)) {
      if (w <= v || w >= n || stamp[static_cast<size_t>(w)] == v + 1) continue;
      stamp[static_cast<size_t>(w)] = v + 1;
      problem.edges.emplace_back(v, w);
      problem.fix.push_back(EdgeFix::kDeleted);
    }
  }
  return problem;
}

EdgeIncidence edgeIncidenceOf(const SatEdgeProblem& problem) {
  EdgeIncidence incidence;
  incidence.start.assign(static_cast<size_t>(problem.nodeCount) + 1, 0);
  for (const auto& [a, b] : problem.edges) {
    ++incidence.start[static_cast<size_t>(a) + 1];
    ++incidence.start[static_cast<size_t>(b) + 1];
  }
  for (size_t v = 1; v < incidence.start.size(); ++v) incidence.start[v] += incidence.start[v - 1];
  incidence.edges.resize(2 * problem.edges.size());
  std::vector<int64_t> next(incidence.start.begin(), incidence.start.end() - 1);
  for (size_t e = 0; e < problem.edges.size(); ++e) {
    incidence.edges[static_cast<size_t>(next[static_cast<size_t>(problem.edges[e].first)]++)] =
        static_cast<int32_t>(e);
    incidence.edges[static_cast<size_t>(next[static_cast<size_t>(problem.edges[e].second)]++)] =
        static_cast<int32_t>(e);
  }
  return incidence;
}

TwoFactorFormula encodeTwoFactors(const SatEdgeProblem& problem) {
  TwoFactorFormula formula;
  formula.variables = static_cast<int32_t>(problem.edges.size());
  ClauseWriter out(formula);
  for (size_t e = 0; e < problem.edges.size(); ++e) {
    const int32_t x = static_cast<int32_t>(e) + 1;
    if (problem.fix[e] == EdgeFix::kForced) out.clause({x});
    if (problem.fix[e] == EdgeFix::kDeleted) out.clause({-x});
  }
  const EdgeIncidence incidence = edgeIncidenceOf(problem);
  std::vector<int32_t> x;
  for (int32_t v = 0; v < problem.nodeCount; ++v) {
    x.clear();
    for (int64_t k = incidence.start[static_cast<size_t>(v)]; k < incidence.start[static_cast<size_t>(v) + 1];
         ++k) {
      const int32_t e = incidence.edges[static_cast<size_t>(k)];
      if (problem.fix[static_cast<size_t>(e)] != EdgeFix::kDeleted) x.push_back(e + 1);
    }
    if (x.size() < 2) {
      out.close();  // the empty clause: no two edges to choose
    } else if (x.size() == 2) {
      out.clause({x[0]});
      out.clause({x[1]});
    } else if (x.size() <= kSubsetEncodingDegree) {
      exactlyTwoBySubsets(x, out);
    } else {
      exactlyTwoByCounter(x, out);
    }
  }
  return formula;
}

SubtourClause subtourClauseOf(const SatEdgeProblem& problem, const EdgeIncidence& incidence,
                              std::vector<int32_t> nodes, std::vector<uint8_t>& inSet) {
  SubtourClause clause;
  for (int32_t v : nodes) inSet[static_cast<size_t>(v)] = 1;
  for (int32_t v : nodes) {
    for (int64_t k = incidence.start[static_cast<size_t>(v)]; k < incidence.start[static_cast<size_t>(v) + 1];
         ++k) {
      const int32_t e = incidence.edges[static_cast<size_t>(k)];
      const auto [a, b] = problem.edges[static_cast<size_t>(e)];
      if (problem.fix[static_cast<size_t>(e)] != EdgeFix::kDeleted &&
          inSet[static_cast<size_t>(a)] != inSet[static_cast<size_t>(b)])
        clause.literals.push_back(e + 1);
    }
  }
  for (int32_t v : nodes) inSet[static_cast<size_t>(v)] = 0;
  clause.nodes = std::move(nodes);
  return clause;
}

}  // namespace hc
