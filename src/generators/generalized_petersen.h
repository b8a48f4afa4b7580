// Generalized Petersen graphs GP(N, K), a standard hard family for Hamiltonicity: an outer
// N-cycle 0..N-1, spokes i - (N + i), and inner edges (N + i) - (N + (i + K) mod N). GP(5, 2)
// is the Petersen graph; GP(N, 2) is non-Hamiltonian exactly when N = 5 (mod 6).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/graph.h"

namespace hc {

// Empty when GP(n, k) can be built (n >= 3, 1 <= k < n/2, within the generation limits),
// else why not.
std::string checkGeneralizedPetersen(int64_t n, int64_t k);

// The finished graph (outer cycle, spokes, inner edges, in that order). Reseeds the random
// source like every graph construction. Expects a request checkGeneralizedPetersen accepts.
std::unique_ptr<Graph> generateGeneralizedPetersen(int32_t n, int32_t k);

}  // namespace hc
