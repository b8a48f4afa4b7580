// The certificate of the linear relaxation: the proof the run found, when it holds in the
// writer's branch (the checker's propagation may have deleted or forced less than the
// run's root rules), else the relaxation solved again on the edges the branch has left. A proof whose
// negative node multipliers name a set X that G - X splits into more than |X| pieces is written as that
// `separator` leaf (the shape a graph that is not 1-tough gives); any other as a `relaxation` ... `end` part,
// run through the checker's own code before it is written.
#pragma once

#include "core/stop_token.h"
#include "solve/certificate_writer.h"
#include "solve/linear_relaxation.h"

namespace hc {

// Closes the writer's branch by `found` or, failing that, by the relaxation of the branch;
// false, with nothing written, when neither proof holds (within `stop`).
bool writeRelaxationProof(CertificateWriter& writer, const RelaxationProof& found, const StopToken& stop);

}  // namespace hc
