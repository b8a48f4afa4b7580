// TSPLIB's two formats for the Hamiltonian cycle problem, so the public hard-instance sets
// can be solved directly and our cycles read by other tools:
//  - the HCP graph file (.hcp): "KEY : value" headers (NAME, TYPE : HCP, DIMENSION,
//    EDGE_DATA_FORMAT), then EDGE_DATA_SECTION with 1-based node pairs ended by -1
//    (EDGE_LIST) or per-node neighbour lists each ended by -1 and the section by a
//    further -1 (ADJ_LIST), an optional FIXED_EDGES_SECTION (pairs ended by -1, edges
//    every cycle must use) before or after it, then an optional EOF;
//  - the tour file (.tour): headers, TOUR_SECTION, the 1-based nodes in cycle order,
//    -1, EOF.
//
// Readers check the whole file before anything is built and name the line of the first
// fault; a graph is only built from a file that passed.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/graph.h"
#include "io/file_access.h"
#include "io/plain_graph.h"

namespace hc {

// The contents of an HCP file: 0-based edges, each once, in file order.
struct HcpContents {
  std::string name;
  int32_t dimension = 0;
  std::vector<std::pair<int32_t, int32_t>> edges;
  std::vector<std::pair<int32_t, int32_t>> fixedEdges;  // FIXED_EDGES_SECTION: edges every cycle uses
};

// Parses HCP text (DIMENSION at most kMaxFileNodes); `where` names the source in messages
// ("file: line N: ..."). Gives up when `stop` is requested (FileStatus::stopped).
FileStatus parseHcp(std::string_view text, const std::string& where, HcpContents& out,
                    const StopToken* stop = nullptr);
// Reads and parses an HCP file: DIMENSION nodes, the edges, the fixed edges as forced.
FileStatus readHcpFile(const std::string& path, PlainGraph& out, const StopToken* stop = nullptr);

// The HCP text of a graph: NAME, TYPE : HCP, DIMENSION, EDGE_DATA_FORMAT : EDGE_LIST, each
// edge once from its smaller end (1-based, in neighbour-array order), -1, then the forced
// edges (when there are any) as FIXED_EDGES_SECTION ... -1, and EOF.
std::string formatHcp(const std::string& name, const Graph& graph);

// A tour file for `cycle` (0-based node ids in cycle order): NAME, TYPE : TOUR, DIMENSION,
// TOUR_SECTION, the ids + 1, -1, EOF.
std::string formatTour(const std::string& name, std::span<const int32_t> cycle);
// The node sequence of a tour file, converted to 0-based ids. The ids are not checked
// against a graph here (the verifier does that); they must be positive integers.
FileStatus parseTour(std::string_view text, const std::string& where, std::vector<int32_t>& cycle);

}  // namespace hc
