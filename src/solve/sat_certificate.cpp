// The SAT part (see sat_certificate.h). CaDiCaL writes its proof to a file of its own
// opening, a fresh temporary one, which is read back into the certificate and removed.
#include "solve/sat_certificate.h"

#include <algorithm>
#include <cadical.hpp>
#include <filesystem>
#include <limits>
#include <span>

#include "certcheck/two_factor_cnf.h"
#include "solve/temporary_file.h"
#include "solve/token_terminator.h"

namespace hc {

namespace {

using certcheck::BranchState;

// Rounds of "solve, add the model's subtour clauses" before the part gives up.
constexpr int32_t kMaxRounds = 1000;

// The subtour clause of `set` as the checker builds it: every edge with one end inside.
void addSubtour(CaDiCaL::Solver& solver, const BranchState& b, const std::vector<int32_t>& set,
                std::vector<uint8_t>& inSet) {
  for (int32_t v : set) inSet[static_cast<size_t>(v)] = 1;
  for (int32_t v : set)
    for (const BranchState::Incidence& i : b.incident(v))
      if (inSet[static_cast<size_t>(i.node)] == 0) solver.add(i.edge + 1);
  solver.add(0);
  for (int32_t v : set) inSet[static_cast<size_t>(v)] = 0;
}

// The cycles of the model's 2-factor, each as its node set; empty when some node does not
// have two chosen edges (which the encoding rules out).
std::vector<std::vector<int32_t>> modelCycles(CaDiCaL::Solver& solver, const BranchState& b) {
  const auto n = static_cast<size_t>(b.nodes());
  std::vector<std::vector<int32_t>> chosen(n);
  for (size_t e = 0; e < b.edges().size(); ++e)
    if (solver.val(static_cast<int>(e + 1)) > 0) {
      const auto [u, v] = b.edges()[e];
      chosen[static_cast<size_t>(u)].push_back(v);
      chosen[static_cast<size_t>(v)].push_back(u);
    }
  std::vector<std::vector<int32_t>> cycles;
  std::vector<uint8_t> seen(n, 0);
  for (size_t start = 0; start < n; ++start) {
    if (seen[start] != 0) continue;
    std::vector<int32_t> cycle{static_cast<int32_t>(start)};
    seen[start] = 1;
    for (size_t k = 0; k < cycle.size(); ++k) {
      const std::vector<int32_t>& next = chosen[static_cast<size_t>(cycle[k])];
      if (next.size() != 2) return {};
      for (int32_t w : next)
        if (seen[static_cast<size_t>(w)] == 0) {
          seen[static_cast<size_t>(w)] = 1;
          cycle.push_back(w);
        }
    }
    cycles.push_back(std::move(cycle));
  }
  return cycles;
}

}  // namespace

SatEdgeProblem checkerProblemOf(const BranchState& b) {
  SatEdgeProblem problem;
  problem.nodeCount = b.nodes();
  problem.edges = b.edges();
  problem.fix.reserve(problem.edges.size());
  for (size_t e = 0; e < problem.edges.size(); ++e) {
    const certcheck::EdgeStatus s = b.status(static_cast<int32_t>(e));
    problem.fix.push_back(s == certcheck::kForced    ? EdgeFix::kForced
                          : s == certcheck::kDeleted ? EdgeFix::kDeleted
                                                     : EdgeFix::kFree);
  }
  return problem;
}

void addCheckerFormula(CaDiCaL::Solver& solver, const SatEdgeProblem& problem) {
  certcheck::twoFactorCnf(problem.nodeCount, problem.edges, [&solver](std::span<const int32_t> clause) {
    for (int32_t literal : clause) solver.add(literal);
    solver.add(0);
  });
  for (size_t e = 0; e < problem.edges.size(); ++e)
    if (problem.fix[e] != EdgeFix::kFree) {
      const auto x = static_cast<int32_t>(e) + 1;
      solver.add(problem.fix[e] == EdgeFix::kForced ? x : -x);
      solver.add(0);
    }
}

bool writeSatPart(CertificateWriter& writer, const std::vector<std::vector<int32_t>>& subtours,
                  const std::string& proof) {
  writer.write("sat");
  for (const std::vector<int32_t>& set : subtours) writer.write(certificateNodeLine("subtour", set));
  std::string& body = writer.body();
  body += proof;
  if (!body.empty() && body.back() != '\n') body += '\n';
  writer.write("end");
  return true;
}

bool writeSatProof(CertificateWriter& writer, std::vector<std::vector<int32_t>> subtours,
                   const StopToken& stop, int64_t limitBytes) {
  const BranchState& b = writer.branch();
  const int64_t variables = certcheck::twoFactorVariables(b.nodes(), b.edges());
  if (b.nodes() < 3 || variables > std::numeric_limits<int32_t>::max() / 2) return false;
  const SatEdgeProblem problem = checkerProblemOf(b);
  std::vector<uint8_t> inSet(static_cast<size_t>(b.nodes()), 0);
  for (int32_t round = 0; round < kMaxRounds && !stop.stopRequested(); ++round) {
    TemporaryFile proof;
    if (proof.path().empty()) return false;
    CaDiCaL::Solver solver;
    solver.set("quiet", 1);
    solver.set("binary", 0);
    // As the worker: edges start unchosen, no "lucky" pre-solve.
    solver.set("phase", 0);
    solver.set("lucky", 0);
    if (!solver.trace_proof(proof.path().c_str())) return false;
    TokenTerminator terminator(stop);
    solver.connect_terminator(&terminator);
    addCheckerFormula(solver, problem);
    for (const std::vector<int32_t>& set : subtours) addSubtour(solver, b, set, inSet);
    const int status = solver.solve();
    solver.disconnect_terminator();
    if (status == 20) {
      solver.close_proof_trace();
      std::error_code ec;
      const uintmax_t size = std::filesystem::file_size(proof.path(), ec);
      if (ec || size > static_cast<uintmax_t>(std::max<int64_t>(0, limitBytes))) return false;
      std::string text;
      return proof.appendTo(text) && writeSatPart(writer, subtours, text);
    }
    if (status != 10) return false;
    std::vector<std::vector<int32_t>> cycles = modelCycles(solver, b);
    if (cycles.size() < 2) return false;
    if (cycles.size() == 2) cycles.pop_back();  // both clauses would be the same cut
    for (std::vector<int32_t>& cycle : cycles) subtours.push_back(std::move(cycle));
  }
  return false;
}

}  // namespace hc
