// The adjacency-list text format (.txt): one line per node, "id nb nb ...". Read as a graph
// to solve (built by generation as graph type 9) and written for Save As, for a found cycle
// ("-HC.txt") and for the Stone Carver's "best.txt".
//
// Accepted beyond the strict format, because they are common and harmless: CRLF line ends,
// tabs and runs of blanks between tokens, blanks at the end of a line, and a last line
// without its newline (it still counts as a line, i.e. as a node). The reader checks the
// whole file before a single edge is added: a malformed file gives one message naming the
// file and line, and the graph is left as it was.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/graph.h"
#include "io/file_access.h"
#include "io/plain_graph.h"

namespace hc {

// The graph of adjacency text, one node per line, each edge once where it is first met;
// `where` names the source in messages. Gives up when `stop` is requested
// (FileStatus::stopped).
FileStatus parseAdjacencyText(std::string_view text, const std::string& where, PlainGraph& out,
                              const StopToken* stop = nullptr);

// The text of `graph`: node v, then its neighbours in neighbour-array order (in the
// construction phase, in the order they were joined).
std::string adjacencyText(const Graph& graph);
// Writes adjacencyText(graph) to fileName (the graph's outputFileName when empty).
FileStatus writeAdjacencyText(const Graph& graph, const std::string& fileName = {});
// writeAdjacencyText as the engine's methods take a writer (core/graph_file_writer.h): the
// Stone Carver's best.txt and the cycle Co-HC finds. Returns "" or the error line.
std::string adjacencyTextFileWriter(const Graph& graph, const std::string& path);

}  // namespace hc
