// Files that hold one Hamiltonian cycle, read by `verify` and written by `--output`:
//  - adjacency text of the cycle (.txt): one line per node, the node then its two cycle
//    neighbours, as the "OUTPUT HC" action writes it;
//  - the OBJ cycle file (.obj, see obj_format.h): coordinates and the cycle as one 1-based
//    polyline, read back from its "l" line;
//  - a TSPLIB tour (.tour), see tsplib_format.h;
//  - a plain list of 0-based node ids in cycle order (any other extension, or a .txt file
//    with one id per line or all ids on one line); a closing repeat of the first id is
//    allowed.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "core/edge_snapshot.h"
#include "core/graph.h"
#include "core/hamiltonian_cycle_check.h"
#include "io/file_access.h"

namespace hc {

// What a cycle file says: either a node sequence or (adjacency text) a set of cycle edges,
// which only becomes a sequence once checked to be one cycle (cycleFromEdges).
struct CycleFileContents {
  bool isEdgeSet = false;
  std::vector<int32_t> sequence;
  std::vector<std::pair<int32_t, int32_t>> edges;
};

// Whether what a cycle file says is a Hamiltonian cycle of `graph`; the first fault when not.
CycleCheck checkCycleContents(const EdgeSnapshot& graph, const CycleFileContents& contents);

// The cycle files' own small table: a row per format, chosen by the extension of the path
// read or written. Text is also what a file of any other extension is read as.
enum class CycleFileFormat { kText, kObj, kTour };
struct CycleFileFormatInfo {
  CycleFileFormat format;
  const char* extension;  // without its dot
  // What the text of a file says (text: a node list or adjacency text, told by its shape).
  FileStatus (*parse)(const std::string& text, const std::string& where, CycleFileContents& out);
  // The file's text for a cycle of `solved` ("" and an error when the format cannot hold
  // it); `name` is the tour's NAME.
  FileStatus (*render)(const std::string& path, const std::string& name, const Graph& solved,
                       std::span<const int32_t> cycle, std::string& text);
};
std::span<const CycleFileFormatInfo> cycleFileFormats();
// The row of `path`'s extension, or null.
const CycleFileFormatInfo* cycleFileFormatOf(const std::string& path);
const CycleFileFormatInfo& cycleFileFormatInfo(CycleFileFormat format);
// ".txt, .obj or .tour".
std::string cycleOutputExtensions();

// Reads a cycle file, choosing the format by extension and, for text, by its shape.
FileStatus readCycleFile(const std::string& path, CycleFileContents& out);

// Adjacency text of the cycle: node v, then its two cycle neighbours in the order they
// stand in v's neighbour array of `solved` (so a solved graph pruned down to its cycle is
// written byte for byte as its own adjacency text).
std::string formatCycleAdjacencyText(const Graph& solved, std::span<const int32_t> cycle);

// Writes the cycle in the format of `path`'s extension, atomically. `name` is the tour's
// NAME. An .obj output of a graph without coordinates, or an unknown extension, is an
// error and writes nothing.
FileStatus writeCycleFile(const std::string& path, const std::string& name, const Graph& solved,
                          std::span<const int32_t> cycle);

}  // namespace hc
