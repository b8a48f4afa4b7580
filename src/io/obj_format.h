// OBJ files. Read as a graph to solve (.obj, generation type 10, in two steps like adjacency
// text): "v x y z" lines give the nodes and their coordinates, the sides of each "f ..."
// face give the edges. Written as the cycle file of a solved graph: the coordinates, then
// the cycle as one closed polyline "l 1 ... 1" (1-based).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/graph.h"
#include "io/file_access.h"
#include "io/plain_graph.h"

namespace hc {

// Node count of OBJ text: the lines that begin with "v ".
FileStatus countObjVertexLines(std::string_view text, const std::string& where, int32_t& count);

// Coordinates and face edges of OBJ text for a graph of `nodes` nodes, each edge once where
// it is first met; `where` names the source in messages. Gives up when `stop` is requested
// (FileStatus::stopped).
FileStatus parseObj(std::string_view text, const std::string& where, int32_t nodes, PlainGraph& out,
                    const StopToken* stop = nullptr);

// Construction phase: sets coordinates and adds the face edges of the text of
// graph.inputFileName to a graph whose nodes exist already (counted by countObjVertexLines).
// Stops like parseObj, leaving a half-built graph to be dropped.
FileStatus addObjGraph(Graph& graph, std::string_view text, const StopToken* stop = nullptr);

// The whole file at `path` as a plain graph of as many nodes as it has vertex lines.
FileStatus readObjFile(const std::string& path, PlainGraph& out, const StopToken* stop = nullptr);

// The OBJ cycle file: "v x y z" per node, "# Hamiltonian Cycle:", "l" with the cycle from
// its first node, 1-based, closed by "1". Needs the graph's coordinates.
std::string formatCycleObj(const Graph& graph, std::span<const int32_t> cycle);
// Writes the OBJ cycle file of a solved graph (every node of degree 2, its cycle neighbours
// in entries 0 and 1), walking from node 0 to entry 0 first, to fileName (the graph's
// outputFileName when empty). Needs coordinates; otherwise an error and no file.
FileStatus writeHamiltonianCycleObj(const Graph& graph, const std::string& fileName = {});

}  // namespace hc
