// OBJ files. Read as a graph to solve (.obj, built by generation as graph type 10): "v x y z"
// lines give the nodes and their coordinates, the sides of each "f ..." face give the edges. Written as the
// cycle file of a solved graph: the coordinates, then the cycle as one closed polyline "l 1 ... 1" (1-based).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/graph.h"
#include "io/file_access.h"
#include "io/plain_graph.h"

namespace hc {

// The graph of OBJ text: a node and its coordinates per vertex line, the face edges each
// once where first met; `where` names the source in messages. Gives up when `stop` is
// requested (FileStatus::stopped).
FileStatus parseObj(std::string_view text, const std::string& where, PlainGraph& out,
                    const StopToken* stop = nullptr);

// The OBJ cycle file: "v x y z" per node, "# Hamiltonian Cycle:", "l" with the cycle from
// its first node, 1-based, closed by "1". Needs the graph's coordinates.
std::string formatCycleObj(const Graph& graph, std::span<const int32_t> cycle);
// Writes the OBJ cycle file of a solved graph (every node of degree 2, its cycle neighbours
// in entries 0 and 1), walking from node 0 to entry 0 first, to fileName (the graph's
// outputFileName when empty). Needs coordinates; otherwise an error and no file.
FileStatus writeHamiltonianCycleObj(const Graph& graph, const std::string& fileName = {});

}  // namespace hc
