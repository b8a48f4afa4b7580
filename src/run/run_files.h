// What a single run leaves on disk once it has ended, and the outcome of a run stopped from
// outside before it could say anything itself.
//
// Files are written only after a run, and only what its settled outcome backs: the verified
// cycle of a Hamiltonian verdict to its cycle file, the complete certificate of a
// non-Hamiltonian one to its proof file. Any other outcome leaves an earlier file as it was.
#pragma once

#include <cstdint>
#include <string>

#include "run/run_method.h"

namespace hc {

struct RunFiles {
  std::string cycle;  // (may be empty) where a Hamiltonian verdict's cycle goes
  std::string proof;  // (may be empty) where a complete certificate goes
};

struct RunFilesWritten {
  bool cycle = false;
  bool proof = false;
  std::string error;  // the file the outcome backs could not be written
};

// Writes what `outcome` backs of `files`: the cycle of `solved` (named `name` in a tour) or
// `certificate`.
RunFilesWritten writeRunFiles(const RunFiles& files, const RunOutcome& outcome, const std::string& name,
                              const Graph& solved, const std::string& certificate);

// A run of `method` stopped by its deadline (`byDeadline`) or by Ctrl-C before it returned:
// the figures `live` shows after `seconds` (none: stopped before the run began, as while
// the graph was read).
RunOutcome stoppedRunOutcome(bool byDeadline, uint32_t seed, const MethodOptions& method,
                             const LiveFigures* live = nullptr, double seconds = 0.0);

}  // namespace hc
