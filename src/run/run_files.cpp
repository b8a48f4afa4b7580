#include "run/run_files.h"

#include "io/cycle_files.h"

namespace hc {

RunFilesWritten writeRunFiles(const RunFiles& files, const RunOutcome& outcome, const std::string& name,
                              const Graph& solved, const std::string& certificate) {
  RunFilesWritten written;
  FileStatus status;
  if (outcome.verdict == Verdict::kHamiltonian && !files.cycle.empty()) {
    status = writeCycleFile(files.cycle, name, solved, outcome.cycle);
    written.cycle = status.ok;
  } else if (outcome.verdict == Verdict::kNonHamiltonian && outcome.certified && !files.proof.empty()) {
    status = writeFileAtomically(files.proof, certificate);
    written.proof = status.ok;
  }
  written.error = status.error;
  return written;
}

RunOutcome stoppedRunOutcome(bool byDeadline, uint32_t seed, const MethodOptions& method,
                             const LiveFigures* live, double seconds) {
  RunOutcome outcome;
  outcome.seed = seed;
  outcome.seconds = seconds;
  outcome.stopped = byDeadline ? StoppedBy::kTimeLimit : StoppedBy::kInterrupted;
  outcome.stoppedText = byDeadline ? "time limit" : "interrupted";
  if (live == nullptr) return outcome;
  outcome.iterations = live->iterations.load();
  outcome.bestPercentComplete = live->bestPercentComplete.load();
  outcome.treeNodes = live->tree.treeNodes.load();
  if (std::holds_alternative<CohcOptions>(method)) outcome.deepestDepth = live->tree.depth.load();
  return outcome;
}

}  // namespace hc
