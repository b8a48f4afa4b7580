#include "solve/sat_worker.h"

#include <algorithm>
#include <cadical.hpp>
#include <filesystem>
#include <memory>
#include <new>
#include <string>

#include "core/diagnostics.h"
#include "solve/sat_certificate.h"
#include "solve/short_cycles.h"
#include "solve/temporary_file.h"

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

// The stop token as the solver's terminator and, with a proof traced to `path`, its bound:
// a proof that grows past it interrupts the solve (passed()), so that the trace is closed
// rather than filling the disk on a long run.
class TurnTerminator : public CaDiCaL::Terminator {
 public:
  TurnTerminator(const StopToken& stop, const std::string* path, int64_t limitBytes)
      : stop_(stop), path_(path), limit_(std::max<int64_t>(0, limitBytes)) {}
  bool terminate() override {
    if (stop_.stopRequested()) return true;
    // The solver asks every few conflicts; a file's size is asked every 64th time.
    if (path_ == nullptr || ++asks_ % 64 != 0) return false;
    std::error_code ec;
    const uintmax_t size = std::filesystem::file_size(*path_, ec);
    if (ec || size <= static_cast<uintmax_t>(limit_)) return false;
    passed_ = true;
    return true;
  }
  bool passed() const { return passed_; }
  void forgetProof() { path_ = nullptr; }

 private:
  const StopToken& stop_;
  const std::string* path_;
  int64_t limit_;
  bool passed_ = false;
  uint64_t asks_ = 0;
};

SatWorkerResult outOfMemory() {
  diagnostic("solve: the clause-learning worker ran out of memory; it stops undecided.\n");
  SatWorkerResult result;
  result.outOfMemory = true;
  return result;
}

}  // namespace

struct SatWorker::State {
  SatWorkerOptions options;
  const Graph* pruned = nullptr;  // the problem's source until it is built
  const EdgeSnapshot* original = nullptr;
  SatEdgeProblem problem;
  bool built = false;
  bool listed = false;  // the short cycles' clauses are in
  bool over = false;    // decided or failed: nothing more to run
  std::unique_ptr<CaDiCaL::Solver> solver;
  std::unique_ptr<TemporaryFile> proofFile;  // with traceProof: where the solver writes its proof
  bool tracing = false;
  bool proofPassed = false;  // the traced proof passed its bound: the trace was closed
  TwoFactorFormula formula;
  EdgeIncidence incidence;
  std::vector<int32_t> first, second;
  std::vector<uint8_t> inSet;
  std::vector<std::vector<int32_t>> cycles;
  SatWorkerResult result;  // the counts so far, and a cycle found

  void addSubtour(std::vector<int32_t> nodes) {
    SubtourClause clause = subtourClauseOf(problem, incidence, std::move(nodes), inSet);
    for (int32_t literal : clause.literals) solver->add(literal);
    solver->add(0);
    ++result.subtourClauses;
    if (options.keepFormula) formula.subtours.push_back(std::move(clause));
  }

  // The solver with the base formula, once.
  void build() {
    if (pruned != nullptr) problem = satEdgeProblemOf(*pruned, original);
    built = true;
    if (problem.nodeCount < 3) return;
    solver = std::make_unique<CaDiCaL::Solver>();
    solver->set("quiet", 1);  // the library would print on standard output, where the JSON goes
    solver->set("seed", static_cast<int>(options.seed % 2000000000u));
    // Edges start unchosen and the "lucky" pre-solve is skipped: a 2-factor is a sparse
    // choice, and on large graphs these two settings find the first ones several times faster.
    solver->set("phase", 0);
    solver->set("lucky", 0);
    if (options.traceProof) {
      // The checker's clauses, so that the proof is one of them (the subtour clauses below
      // leave out deleted edges, whose units make them the checker's).
      proofFile = std::make_unique<TemporaryFile>();
      solver->set("binary", 0);
      tracing = !proofFile->path().empty() && solver->trace_proof(proofFile->path().c_str());
      addCheckerFormula(*solver, problem);
    } else {
      formula = encodeTwoFactors(problem);
      addClauses(*solver, formula.clauses);
      if (!options.keepFormula) formula = TwoFactorFormula{};
    }
    incidence = edgeIncidenceOf(problem);
    const size_t n = static_cast<size_t>(problem.nodeCount);
    first.assign(n, -1);
    second.assign(n, -1);
    inSet.assign(n, 0);
  }

  // The refutation's proof into `out`: read back, or dropped when it passed the bound. A
  // proof that could not be written or read leaves `out.proof` empty.
  void readProof(SatWorkerResult& out) {
    out.proofDropped = proofPassed;
    if (!tracing) return;
    solver->close_proof_trace();
    std::error_code ec;
    const uintmax_t size = std::filesystem::file_size(proofFile->path(), ec);
    if (ec) return;
    if (size > static_cast<uintmax_t>(std::max<int64_t>(0, options.proofLimitBytes)))
      out.proofDropped = true;
    else if (!proofFile->appendTo(out.proof))
      out.proof.clear();
  }

  // The result to hand out: the counts, and with a verdict the cycle, the kept formula and
  // a refutation's proof.
  SatWorkerResult handOut(Verdict verdict) {
    SatWorkerResult out;
    out.verdict = verdict;
    out.rounds = result.rounds;
    out.subtourClauses = result.subtourClauses;
    if (verdict != Verdict::kUndecided) {
      over = true;
      out.cycle = std::move(result.cycle);
      if (options.keepFormula) out.formula = std::move(formula);
      if (verdict == Verdict::kNonHamiltonian && solver) readProof(out);
      solver.reset();
      proofFile.reset();
    }
    return out;
  }

  SatWorkerResult run(const StopToken& stop) {
    if (over) return {};
    if (!built) build();
    if (problem.nodeCount < 3) return handOut(Verdict::kNonHamiltonian);
    if (!listed) {
      std::vector<std::vector<int32_t>> sets =
          shortCycleNodeSets(problem, incidence, shortCycleLimitsFor(problem), stop);
      // A stopped listing comes back empty: the next turn lists again.
      if (stop.stopRequested()) return handOut(Verdict::kUndecided);
      for (std::vector<int32_t>& nodes : sets) addSubtour(std::move(nodes));
      listed = true;
    }
    TurnTerminator terminator(stop, tracing ? &proofFile->path() : nullptr, options.proofLimitBytes);
    solver->connect_terminator(&terminator);
    Verdict verdict = Verdict::kUndecided;
    for (;;) {
      if (stop.stopRequested()) break;
      ++result.rounds;
      const int status = solver->solve();
      if (status == 20) {
        verdict = Verdict::kNonHamiltonian;
        break;
      }
      if (status == 0 && terminator.passed() && tracing) {
        // The proof is lost: the solver goes on without one.
        solver->close_proof_trace();
        tracing = false;
        proofPassed = true;
        terminator.forgetProof();
        continue;
      }
      if (status != 10) break;  // stopped: the next turn goes on from here
      if (!modelCycles(*solver, problem, first, second, cycles)) {
        diagnostic("solve: the clause-learning worker's model is not a 2-factor; it stops undecided.\n");
        over = true;
        break;
      }
      if (cycles.size() == 1) {
        verdict = Verdict::kHamiltonian;
        result.cycle = std::move(cycles.front());
        break;
      }
      // With two cycles both clauses are the same cut: one is enough.
      if (cycles.size() == 2) cycles.pop_back();
      for (std::vector<int32_t>& nodes : cycles) addSubtour(std::move(nodes));
    }
    solver->disconnect_terminator();
    return handOut(verdict);
  }
};

SatWorker::SatWorker(const Graph& pruned, const EdgeSnapshot* original, const SatWorkerOptions& options)
    : state_(std::make_unique<State>()) {
  state_->options = options;
  state_->pruned = &pruned;
  state_->original = original;
}

SatWorker::SatWorker(SatEdgeProblem problem, const SatWorkerOptions& options)
    : state_(std::make_unique<State>()) {
  state_->options = options;
  state_->problem = std::move(problem);
}

SatWorker::~SatWorker() = default;

SatWorkerResult SatWorker::run(const StopToken& stop) {
  try {
    return state_->run(stop);
  } catch (const std::bad_alloc&) {
    state_->over = true;
    state_->solver.reset();
    return outOfMemory();
  }
}

SatWorkerResult decideBySat(const SatEdgeProblem& problem, const StopToken& stop,
                            const SatWorkerOptions& options) {
  try {
    return SatWorker(problem, options).run(stop);
  } catch (const std::bad_alloc&) {
    return outOfMemory();
  }
}

SatWorkerResult decideBySat(const Graph& pruned, const EdgeSnapshot* original, const StopToken& stop,
                            const SatWorkerOptions& options) {
  return SatWorker(pruned, original, options).run(stop);
}

}  // namespace hc
