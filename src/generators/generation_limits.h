// The largest graphs the generators agree to build. Past these a request is refused with a
// clear error before anything is allocated: the node records, the construction lists and
// the neighbour block together need on the order of 100 bytes per node and 20 bytes per
// edge, and the counters of the solver graph are 32-bit.
#pragma once

#include <cstdint>

namespace hc {

constexpr int64_t kMaxGeneratedNodes = 10'000'000;
constexpr int64_t kMaxGeneratedEdges = 50'000'000;

}  // namespace hc
