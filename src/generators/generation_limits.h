// The largest graphs the generators agree to build. Past these a request is refused with a
// clear error before anything is allocated: the node records, the construction lists and
// the neighbour block together need on the order of 100 bytes per node and 20 bytes per
// edge, and the counters of the solver graph are 32-bit.
#pragma once

#include <cstdint>

namespace hc {

constexpr int64_t kMaxGeneratedNodes = 10'000'000;
constexpr int64_t kMaxGeneratedEdges = 50'000'000;

// Dense random regular graphs restart their passes very often (a node that finds no free
// higher partner rebuilds the whole graph). The factory gives up after this many partner
// draws (some tens of seconds) instead of holding the program for hours: 100 nodes of
// degree 50 needed a few hundred million in a trial, 1000 nodes of degree 300 do not
// finish within it.
constexpr int64_t kMaxRegularGraphDraws = 1'000'000'000;

}  // namespace hc
