// The colouring race (see colouring_worker.h): one CaDiCaL run on the checker's formula,
// its proof traced into a temporary file and read back when asked for.
#include "solve/colouring_worker.h"

#include <cadical.hpp>
#include <filesystem>
#include <limits>
#include <new>
#include <optional>
#include <span>

#include "certcheck/colouring_cnf.h"
#include "core/diagnostics.h"
#include "solve/temporary_file.h"
#include "solve/token_terminator.h"

namespace hc {

namespace {

ColouringRefutation refute(const BranchState& branch, const StopToken& stop, uint32_t seed,
                           int64_t proofLimitBytes) {
  ColouringRefutation out;
  const std::vector<certcheck::Edge>& edges = branch.edges();
  if (branch.nodes() % 2 != 0 ||
      2 * static_cast<int64_t>(edges.size()) > std::numeric_limits<int32_t>::max() / 2 ||
      certcheck::colouringClauses(branch.nodes(), edges) > certcheck::kMaxColouringClauses)
    return out;
  std::optional<TemporaryFile> proof;
  CaDiCaL::Solver solver;
  solver.set("quiet", 1);  // the library would print on standard output, where the JSON goes
  solver.set("seed", static_cast<int>(seed % 2000000000u));
  if (proofLimitBytes >= 0) {
    proof.emplace();
    solver.set("binary", 0);
    if (proof->path().empty() || !solver.trace_proof(proof->path().c_str())) return out;
  }
  TokenTerminator terminator(stop);
  solver.connect_terminator(&terminator);
  certcheck::colouringCnf(branch.nodes(), edges, [&solver](std::span<const int32_t> clause) {
    for (int32_t literal : clause) solver.add(literal);
    solver.add(0);
  });
  for (size_t e = 0; e < edges.size(); ++e) {
    const auto one = static_cast<int>(2 * e + 1);
    const certcheck::EdgeStatus s = branch.status(static_cast<int32_t>(e));
    if (s == certcheck::kForced) {
      solver.add(one), solver.add(one + 1), solver.add(0);
    } else if (s == certcheck::kDeleted) {
      solver.add(-one), solver.add(0), solver.add(-one - 1), solver.add(0);
    }
  }
  out.refuted = solver.solve() == 20;
  solver.disconnect_terminator();
  if (!out.refuted || !proof) return out;
  solver.close_proof_trace();
  std::error_code ec;
  const uintmax_t size = std::filesystem::file_size(proof->path(), ec);
  out.proofDropped = ec || size > static_cast<uintmax_t>(proofLimitBytes) || !proof->appendTo(out.proof);
  if (out.proofDropped) out.proof.clear();
  return out;
}

}  // namespace

bool suitsColouring(const EdgeSnapshot& graph) {
  if (graph.nodes() % 2 != 0) return false;
  for (int32_t v = 0; v < graph.nodes(); ++v)
    if (graph.degree(v) > 3) return false;
  return true;
}

ColouringRefutation refuteColouring(const BranchState& branch, const StopToken& stop, uint32_t seed,
                                    int64_t proofLimitBytes) {
  try {
    return refute(branch, stop, seed, proofLimitBytes);
  } catch (const std::bad_alloc&) {
    diagnostic("solve: the colouring race ran out of memory; it stops undecided.\n");
    return {};
  }
}

void writeColouringPart(CertificateWriter& writer, const std::string& proof) {
  writer.write("colouring");
  std::string& body = writer.body();
  body += proof;
  if (!body.empty() && body.back() != '\n') body += '\n';
  writer.write("end");
}

}  // namespace hc
