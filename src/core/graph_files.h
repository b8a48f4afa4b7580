// The plain-text graph formats of the solver graph:
//  - adjacency-list text (.txt): one line per node, "id nb nb ...", read as a graph to
//    solve and written for Save As, for a found cycle ("-HC.txt") and for "best.txt";
//  - OBJ graph files (.obj, read): "v x y z" lines give nodes, "f ..." lines give edges;
//  - the OBJ cycle file (written): the coordinates and the cycle as one polyline.
//
// Readers validate the whole file before adding a single edge: a malformed file gives one
// clear error naming the file and line, and the graph is left as it was. Writers write to a
// temporary file and rename it into place, so a failed write never leaves a partial file.
#pragma once

#include <cstdint>
#include <string>

#include "core/graph.h"

namespace hc {

struct FileStatus {
  bool ok = true;
  std::string error;  // "file: line N: what is wrong" when !ok
  explicit operator bool() const { return ok; }
  static FileStatus failure(std::string message) { return FileStatus{false, std::move(message)}; }
};

// The largest input file any reader accepts (1 GiB): far above the largest graph the
// generators build, and a bound on what a damaged or hostile file can make a reader hold.
inline constexpr uint64_t kMaxInputFileBytes = uint64_t{1} << 30;

// The one way every reader opens its input: the whole content of a regular file of at most
// kMaxInputFileBytes. Devices, FIFOs and sockets are refused before anything is read (they
// would block or never end), as are folders and larger files, each with one line naming the
// file.
FileStatus readInputFile(const std::string& path, std::string& content);
// The same checks without reading, for readers that stream a file line by line.
FileStatus checkInputFile(const std::string& path);

// Node count of an adjacency text file: its number of lines (a last line without its
// newline counts as a line).
FileStatus countAdjacencyTextNodes(const std::string& path, int32_t& count);
// Node count of an OBJ file: the lines that begin with "v ".
FileStatus countObjVertices(const std::string& path, int32_t& count);

// Construction phase: adds the edges listed in graph.inputFileName to a graph whose nodes
// exist already (counted by countAdjacencyTextNodes), counting howManyEdges. At printLevel
// >= 1 it first writes its "Graph type: ..." line.
FileStatus readAdjacencyText(Graph& graph);
// Construction phase: sets coordinates and adds the face edges of graph.inputFileName.
FileStatus readObjGraph(Graph& graph);

// Writes the graph as adjacency text to fileName (outputFileName when empty).
FileStatus writeAdjacencyText(const Graph& graph, const std::string& fileName = {});
// Writes the OBJ cycle file. Needs coordinates and a solved graph (every node of degree 2
// with its cycle neighbours in entries 0 and 1); otherwise an error and no file.
FileStatus writeHamiltonianCycleObj(const Graph& graph, const std::string& fileName = {});

// Writes `content` to `path` through a temporary file in the same folder and a rename.
FileStatus writeFileAtomically(const std::string& path, const std::string& content);

}  // namespace hc
