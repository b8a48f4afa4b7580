// The exact search's refutation as certificate steps: its proof log (exact_search.h)
// replayed on the writer's branch. Each branching node becomes a split; a split edge the
// branch has already decided is no split at all (the branch follows the subtree that
// agrees and the other is skipped); look-ahead facts are adopted; a dead end, or a node
// where the branch meets a contradiction before the search did, is closed by the writer.
#pragma once

#include <cstdint>
#include <span>

#include "core/stop_token.h"
#include "solve/certificate_writer.h"

namespace hc {

// Writes the proof below the writer's branch, which stands for the search's root. False
// when some branch could not be closed, the log is not one whole tree, or `stop` (polled)
// ended it; the body then holds an unfinished proof, to be thrown away.
bool writeSearchProof(CertificateWriter& writer, std::span<const int32_t> log, const StopToken& stop);

}  // namespace hc
