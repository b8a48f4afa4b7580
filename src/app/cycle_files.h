// Files that hold one Hamiltonian cycle, read by `verify` and written by `--output`:
//  - adjacency text of the cycle (.txt): one line per node, the node then its two cycle
//    neighbours, as the "OUTPUT HC" action writes it;
//  - the OBJ cycle file (.obj): coordinates and the cycle as one 1-based polyline;
//  - a TSPLIB tour (.tour), see tsplib_files.h (our .obj cycle files are read back too:
//    the "l" polyline, 1-based);
//  - a plain list of 0-based node ids in cycle order (any other extension, or a .txt file
//    with one id per line or all ids on one line); a closing repeat of the first id is
//    allowed.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "core/graph.h"
#include "core/graph_files.h"

namespace hc {

// What a cycle file says: either a node sequence or (adjacency text) a set of cycle edges,
// which only becomes a sequence once checked to be one cycle (cycleFromEdges).
struct CycleFileContents {
  bool isEdgeSet = false;
  std::vector<int32_t> sequence;
  std::vector<std::pair<int32_t, int32_t>> edges;
};

// Reads a cycle file, choosing the format by extension and, for text, by its shape.
FileStatus readCycleFile(const std::string& path, CycleFileContents& out);
enum class CycleFileFormat { Text, Tour, Obj };
// The same on text already read.
FileStatus parseCycleText(const std::string& text, const std::string& where, CycleFileFormat format,
                          CycleFileContents& out);

// The output formats of a found cycle, chosen by the extension of the output path.
enum class CycleOutputFormat { AdjacencyText, Obj, Tour, Unknown };
CycleOutputFormat cycleOutputFormatOf(const std::string& path);

// Adjacency text of the cycle: node v, then its two cycle neighbours in the order they
// stand in v's neighbour array of `solved` (so a solved graph pruned down to its cycle is
// written byte for byte as its own adjacency text).
std::string formatCycleAdjacencyText(const Graph& solved, std::span<const int32_t> cycle);
// The OBJ cycle file: "v x y z" per node, "# Hamiltonian Cycle:", "l" with the cycle from
// node 0, 1-based, closed by "1". Needs coordinates (checked by the caller).
std::string formatCycleObj(const Graph& graph, std::span<const int32_t> cycle);

// Writes the cycle in the format of `path`'s extension, atomically. `name` is the tour's
// NAME. An .obj output of a graph without coordinates, or an unknown extension, is an
// error and writes nothing.
FileStatus writeCycleFile(const std::string& path, const std::string& name, const Graph& solved,
                          std::span<const int32_t> cycle);

// The extension of a path's file name, lower case, without the dot ("" when none).
std::string fileExtension(const std::string& path);
// The file name after the last slash (or backslash).
std::string fileNameOf(const std::string& path);

}  // namespace hc
