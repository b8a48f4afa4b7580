// `check GRAPH PROOF`: does the certificate prove that the graph has no Hamiltonian cycle?
// The graph is read as every command reads it and handed to the independent checker as
// plain edges; the checker never sees anything a solver wrote about the graph. Exit 0
// accepted; 1 rejected (the first failing step and its line on stderr) or unreadable input.
#include <iostream>

#include "certcheck/certificate_checker.h"
#include "commands.h"
#include "solve_common.h"

namespace hc::cli {

int runCheck(const CheckOptions& options) {
  startSeededRun(1u);
  SolveInput input;
  if (std::string problem = loadForSolving(options.graph, input); !problem.empty()) return fail(problem);
  std::vector<std::pair<int32_t, int32_t>> edges;
  edges.reserve(static_cast<size_t>(input.edges.edges()));
  for (int32_t v = 0; v < input.edges.nodes(); ++v)
    for (int32_t w : input.edges.neighborsOf(v))
      if (v < w) edges.emplace_back(v, w);

  const certcheck::CheckResult result =
      certcheck::checkCertificateFile(input.edges.nodes(), edges, options.proof);
  if (!result.accepted) {
    if (result.line == 0) return fail(result.reason);
    std::string where = options.proof + ": line " + std::to_string(result.line);
    if (!result.step.empty()) where += " (" + result.step + ")";
    return fail(where + ": " + result.reason);
  }
  std::cout << "accepted: " << options.proof << " proves that " << input.name
            << " has no Hamiltonian cycle\n";
  return 0;
}

}  // namespace hc::cli
