// `check GRAPH PROOF [--index I]`: does the certificate prove that the graph has no
// Hamiltonian cycle? The graph is read as every command reads it and handed to the
// independent checker as plain edges; the checker never sees anything a solver wrote about
// the graph. A file of several graphs is checked only for the graph chosen with --index
// (numbered from 0, as --proof-dir names the certificates), and the statement names it.
// Exit 0 accepted; 1 rejected (the first failing step and its line on stderr) or unreadable
// input.
#include <iostream>

#include "certcheck/certificate_checker.h"
#include "commands.h"
#include "core/random.h"
#include "io/graph_file_reader.h"

namespace hc::cli {

int runCheck(const GraphAndFile& options) {
  startRunSeedStream(1u, SeedScope::kProcess, false);
  RunInput input;
  std::string name;
  if (options.index < 0) {
    if (fileHoldsSeveralGraphs(options.graph))
      return fail(options.graph +
                  " holds several graphs: choose the one the certificate is for with --index I (0 for the "
                  "first, as --proof-dir numbers their certificates)");
    input = loadRunInput(options.graph, commandLineFormatOptions());
    name = input.name;
  } else {
    GraphFileReader reader;
    if (std::string problem = reader.open(options.graph); !problem.empty()) return fail(problem);
    GraphRecord record;
    bool tooLong = false;
    int64_t count = 0;
    while (count <= options.index && reader.next(record, tooLong)) ++count;
    if (count <= options.index)
      return fail(options.graph + " holds " + std::to_string(count) + (count == 1 ? " graph" : " graphs") +
                  ": --index " + std::to_string(options.index) + " is out of range");
    if (tooLong) return fail(reader.tooLongError(record));
    input = loadRunInput(record, commandLineFormatOptions());
    name = "graph #" + std::to_string(options.index) + " (" + record.where() + ")";
  }
  if (!input) return fail(input.loaded.error);
  const certcheck::CheckResult result =
      certcheck::checkCertificateFile(input.asLoaded.nodes(), input.asLoaded.edgeList(), options.file);
  if (!result.accepted) {
    if (result.line == 0) return fail(result.reason);
    std::string where = options.file + ": line " + std::to_string(result.line);
    if (!result.step.empty()) where += " (" + result.step + ")";
    return fail(where + ": " + result.reason);
  }
  std::cout << "accepted: " << options.file << " proves that " << name << " has no Hamiltonian cycle\n";
  return 0;
}

}  // namespace hc::cli
