// graph6 and sparse6, the one-graph-per-line exchange formats of graph enumeration and graph
// databases. A line holds printable bytes 63..126, six bits each:
//  - graph6: the node count N(n), then the upper triangle of the adjacency matrix column
//    by column (0,1) (0,2) (1,2) (0,3) ..., padded with zeros to a whole byte;
//  - sparse6: ':' then N(n), then (b, x) groups of 1 + k bits (k the bits of n - 1) that
//    walk the edges ordered by their larger end, padded with ones.
// N(n) is one byte n + 63 for n <= 62, else 126 and 18 bits, or 126 126 and 36 bits.
// A file may start with the header ">>graph6<<" or ">>sparse6<<" (directly before the
// first graph). Both readers check the length a line must have before they allocate.
#pragma once

#include <string>
#include <string_view>

#include "io/file_access.h"
#include "io/plain_graph.h"

namespace hc {

// Decodes one line (graph6, or sparse6 when it starts with ':'), header and trailing '\r'
// already removed, each edge kept once where it is first met. Empty when fine, else what is
// wrong (without file and line), or FileStatus::kReadingStopped when `stop` was requested.
std::string decodeGraph6Line(std::string_view line, PlainGraph& out, const StopToken* stop = nullptr);

// The most nodes a graph6 line is written for: the format needs n(n-1)/12 bytes whatever
// the edges, so larger graphs go to sparse6.
constexpr int32_t kMaxGraph6WriteNodes = 30000;

// One line without its newline. Forced edges are not part of either format. encodeGraph6
// expects at most kMaxGraph6WriteNodes nodes.
std::string encodeGraph6(const PlainGraph& graph);
std::string encodeSparse6(const PlainGraph& graph);

// The header a line may begin with, or an empty view.
std::string_view graph6HeaderOf(std::string_view line);

}  // namespace hc
