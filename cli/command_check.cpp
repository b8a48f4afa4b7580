// `check GRAPH PROOF`: does the certificate prove that the graph has no Hamiltonian cycle?
// The graph is read as every command reads it and handed to the independent checker as
// plain edges; the checker never sees anything a solver wrote about the graph. Exit 0
// accepted; 1 rejected (the first failing step and its line on stderr) or unreadable input.
#include <iostream>

#include "certcheck/certificate_checker.h"
#include "commands.h"
#include "core/random.h"

namespace hc::cli {

int runCheck(const GraphAndFile& options) {
  startRunSeedStream(1u, SeedScope::Process, false);
  const RunInput input = loadRunInput(options.graph, commandLineFormatOptions());
  if (!input) return fail(input.loaded.error);
  const certcheck::CheckResult result =
      certcheck::checkCertificateFile(input.asLoaded.nodes(), input.asLoaded.edgeList(), options.file);
  if (!result.accepted) {
    if (result.line == 0) return fail(result.reason);
    std::string where = options.file + ": line " + std::to_string(result.line);
    if (!result.step.empty()) where += " (" + result.step + ")";
    return fail(where + ": " + result.reason);
  }
  std::cout << "accepted: " << options.file << " proves that " << input.name
            << " has no Hamiltonian cycle\n";
  return 0;
}

}  // namespace hc::cli
