#include "solve/sat_worker.h"

#include <algorithm>
#include <cadical.hpp>
#include <memory>
#include <new>

#include "core/diagnostics.h"
#include "solve/short_cycles.h"
#include "solve/token_terminator.h"

namespace hc {

namespace {

void addClauses(CaDiCaL::Solver& solver, const std::vector<int32_t>& clauses) {
  for (int32_t literal : clauses) solver.add(literal);
}

// The cycles of the model's 2-factor (each a node list in walking order), or false when some
// node has not exactly two chosen edges (the encoding rules that out; a fault of ours or of
// the solver ends the worker rather than giving a wrong answer).
bool modelCycles(CaDiCaL::Solver& solver, const SatEdgeProblem& problem, std::vector<int32_t>& first,
                 std::vector<int32_t>& second, std::vector<std::vector<int32_t>>& cycles) {
  std::fill(first.begin(), first.end(), -1);
  std::fill(second.begin(), second.end(), -1);
  for (size_t e = 0; e < problem.edges.size(); ++e) {
    if (problem.fix[e] == EdgeFix::kDeleted || solver.val(static_cast<int32_t>(e) + 1) <= 0) continue;
    for (const auto& [v, w] :
         {problem.edges[e], std::pair(problem.edges[e].second, problem.edges[e].first)}) {
      int32_t& slot =
          first[static_cast<size_t>(v)] < 0 ? first[static_cast<size_t>(v)] : second[static_cast<size_t>(v)];
      if (slot >= 0) return false;
      slot = w;
    }
  }
  cycles.clear();
  std::vector<uint8_t> seen(first.size(), 0);
  for (int32_t start = 0; start < problem.nodeCount; ++start) {
    if (seen[static_cast<size_t>(start)] != 0) continue;
    std::vector<int32_t> cycle;
    int32_t previous = -1;
    int32_t current = start;
    do {
      if (second[static_cast<size_t>(current)] < 0 || seen[static_cast<size_t>(current)] != 0) return false;
      seen[static_cast<size_t>(current)] = 1;
      cycle.push_back(current);
      const int32_t next = first[static_cast<size_t>(current)] != previous
                               ? first[static_cast<size_t>(current)]
                               : second[static_cast<size_t>(current)];
      previous = current;
      current = next;
    } while (current != start);
    cycles.push_back(std::move(cycle));
  }
  return true;
}

SatWorkerResult decide(const SatEdgeProblem& problem, const StopToken& stop,
                       const SatWorkerOptions& options) {
  SatWorkerResult result;
  if (problem.nodeCount < 3) {
    result.verdict = Verdict::kNonHamiltonian;
    return result;
  }
  auto solver = std::make_unique<CaDiCaL::Solver>();
  solver->set("quiet", 1);  // the library would print on standard output, where the JSON goes
  solver->set("seed", static_cast<int>(options.seed % 2000000000u));
  // Edges start unchosen and the "lucky" pre-solve is skipped: a 2-factor is a sparse choice,
  // and on large graphs these two settings find the first ones several times faster.
  solver->set("phase", 0);
  solver->set("lucky", 0);
  TokenTerminator terminator(stop);
  solver->connect_terminator(&terminator);

  TwoFactorFormula formula = encodeTwoFactors(problem);
  addClauses(*solver, formula.clauses);
  if (!options.keepFormula) formula = TwoFactorFormula{};

  const EdgeIncidence incidence = edgeIncidenceOf(problem);
  const size_t n = static_cast<size_t>(problem.nodeCount);
  std::vector<int32_t> first(n), second(n);
  std::vector<uint8_t> inSet(n, 0);
  std::vector<std::vector<int32_t>> cycles;
  auto addSubtour = [&](std::vector<int32_t> nodes) {
    SubtourClause clause = subtourClauseOf(problem, incidence, std::move(nodes), inSet);
    for (int32_t literal : clause.literals) solver->add(literal);
    solver->add(0);
    ++result.subtourClauses;
    if (options.keepFormula) formula.subtours.push_back(std::move(clause));
  };
  for (std::vector<int32_t>& nodes :
       shortCycleNodeSets(problem, incidence, shortCycleLimitsFor(problem), stop))
    addSubtour(std::move(nodes));
  for (;;) {
    if (stop.stopRequested()) break;
    ++result.rounds;
    const int status = solver->solve();
    if (status == 20) {
      result.verdict = Verdict::kNonHamiltonian;
      break;
    }
    if (status != 10) break;  // stopped
    if (!modelCycles(*solver, problem, first, second, cycles)) {
      diagnostic("solve: the clause-learning worker's model is not a 2-factor; it stops undecided.\n");
      break;
    }
    if (cycles.size() == 1) {
      result.verdict = Verdict::kHamiltonian;
      result.cycle = std::move(cycles.front());
      break;
    }
    // With two cycles both clauses are the same cut: one is enough.
    if (cycles.size() == 2) cycles.pop_back();
    for (std::vector<int32_t>& nodes : cycles) addSubtour(std::move(nodes));
  }
  solver->disconnect_terminator();
  if (options.keepFormula) result.formula = std::move(formula);
  return result;
}

SatWorkerResult outOfMemory() {
  diagnostic("solve: the clause-learning worker ran out of memory; it stops undecided.\n");
  SatWorkerResult result;
  result.outOfMemory = true;
  return result;
}

}  // namespace

SatWorkerResult decideBySat(const SatEdgeProblem& problem, const StopToken& stop,
                            const SatWorkerOptions& options) {
  try {
    return decide(problem, stop, options);
  } catch (const std::bad_alloc&) {
    return outOfMemory();
  }
}

SatWorkerResult decideBySat(const Graph& pruned, const EdgeSnapshot* original, const StopToken& stop,
                            const SatWorkerOptions& options) {
  try {
    return decide(satEdgeProblemOf(pruned, original), stop, options);
  } catch (const std::bad_alloc&) {
    return outOfMemory();
  }
}

}  // namespace hc
