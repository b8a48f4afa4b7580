// Certificates for what the decomposition rules refute, as far as the format can say it.
// The rules' reasons are found again on the certificate's own branch (its edges left):
//  - two nodes whose removal leaves three pieces or more (a bond of the SPQR tree with
//    three virtual edges): a `separator` leaf;
//  - a 3-edge cut whose small side has no Hamiltonian path between the inner ends of any
//    two of its edges: a `fragment` step with the three nested proofs, each written by the
//    caller's prover on the checker's graph of that question.
// A refutation that goes through a two-sided separation (a rigid part with its virtual
// edges forced) or through the reduced graph of an edge cut has no step in the format;
// those are not written here.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "certcheck/two_factor_cnf.h"
#include "core/stop_token.h"
#include "solve/certificate_writer.h"

namespace hc {

// Writes a proof that the graph on n nodes with these (canonical) edges has no Hamiltonian
// cycle into `body`; false when it cannot.
using NestedProver =
    std::function<bool(int32_t n, const std::vector<certcheck::Edge>& edges, std::string& body)>;

// Closes the writer's branch by a separator leaf or a fragment step, trying at most
// `fragmentsToTry` cuts (smallest sides first). False, with nothing written, when neither
// is found.
bool writeDecompositionProof(CertificateWriter& writer, const NestedProver& prove, const StopToken& stop,
                             int32_t fragmentsToTry = 8);

}  // namespace hc
