// The one table of graph file formats. A row per format: its name, its extensions, its
// reader, its writer (or none), whether a file holds several graphs and whether the format
// keeps forced edges. Everything that chooses a graph format by a path's extension goes
// through graphFormatOfPath, and every list that names the formats (the command line's
// messages and help, the window's open dialog and help text, the README's table, which a
// test holds to the table) is drawn from the rows.
//
//   read and write  .txt adjacency text, .hcp TSPLIB, .g6 graph6, .s6 sparse6,
//                   .col/.dimacs DIMACS graph, .edges/.el edge lists
//   read only       .obj mesh, .g editor drawing
// .g6 and .s6 files hold one graph per line (either coding on any line); every other
// format holds one graph.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/graph.h"
#include "core/stop_token.h"
#include "io/file_access.h"
#include "io/plain_graph.h"

namespace hc {

enum class GraphFormat { kAdjacencyText, kObj, kDrawing, kHcp, kGraph6, kSparse6, kDimacs, kEdgeList };

// What a reader or writer needs beyond the file: the first node number of edge lists, and
// the stop request a reader hears while it reads (a run's token: Ctrl-C during a long read).
struct FormatOptions {
  int32_t edgeListBase = 0;         // node numbers of .edges/.el files start here (0 or 1)
  const StopToken* stop = nullptr;  // a stopped read fails with FileStatus::stopped
};

// One graph of a file: the whole file, or one line of a .g6/.s6 file.
struct GraphRecord {
  std::string path;
  int64_t line = 0;  // 1-based line of a .g6/.s6 file; 0 for the whole file
  std::string text;  // that line (header and '\r' removed)
  // "file" or "file: line N", as messages name the record.
  std::string where() const;
};

// Reads one record (of a .g6/.s6 file read whole, its first graph) with every check of the
// format; builds nothing. Gives up when options.stop is requested (FileStatus::stopped).
using GraphReader = FileStatus (*)(const GraphRecord& record, const FormatOptions& options, PlainGraph& out);
// The text of `graph` in the format (for a format of several graphs one line with its
// newline, without the file's header); `name` goes where the format keeps a name or comment.
// Returns "" or why the graph cannot be written in this format.
using GraphWriter = std::string (*)(const Graph& graph, const std::string& name, const FormatOptions& options,
                                    std::string& text);

struct GraphFormatInfo {
  GraphFormat format;
  std::string name;                     // "TSPLIB HCP"; the dialog says "TSPLIB HCP Files"
  std::vector<std::string> extensions;  // without the dot, lower case
  GraphReader read;
  GraphWriter write;       // null: the format is read only
  bool severalGraphs;      // one graph per line
  bool keepsForcedEdges;   // forced edges are written and read back
  std::string fileHeader;  // what a file of several graphs may begin with ("" if nothing)
};

// Every format, in the order the lists name them.
const std::vector<GraphFormatInfo>& graphFormats();
const GraphFormatInfo& graphFormatInfo(GraphFormat format);
// The format of a path's extension (case-insensitive), or null when none has it. The path
// "-" stands for standard input (or output) and has the format set below.
const GraphFormatInfo* graphFormatOfPath(const std::string& path);

// "-": standard input as a graph file, or standard output as the file to write.
inline constexpr const char* kStandardStreamPath = "-";
// The format "-" is read and written in (none until a caller sets it: a stream has no
// extension to tell).
void setStandardStreamFormat(const GraphFormatInfo* format);
// The format one of whose extensions is `name` ("g6", "txt", ...), or null.
const GraphFormatInfo* graphFormatOfName(const std::string& name);
// Every extension, without dots: "txt, obj, g, hcp, g6, s6, col, dimacs, edges, el".
std::vector<std::string> graphFormatNames();
// The same as one list: "txt, obj, g, ...".
std::string formatNameList();

// ".txt, .obj, .g, .hcp, .g6, .s6, .col, .dimacs, .edges, .el" and the writable subset.
std::string readableExtensions();
std::string writableExtensions();
// "PATH: unknown graph file extension ".xyz" (use .txt, .obj, ...)".
std::string unknownGraphExtensionError(const std::string& path);

// The filter of the window's open dialog: every readable extension, then one entry per
// format, then every file ("All Graph Files (*.txt ...);;Adjacency Text Files (*.txt);;...
// ;;All Files (*)").
std::string graphOpenDialogFilter();

// Writes `graph` (its current edges, and its forced edges where the format keeps them) to
// `path` in the format of its extension, through a temporary file and a rename ("-": to
// standard output).
FileStatus writeGraphFile(const std::string& path, const Graph& graph, const std::string& name,
                          const FormatOptions& options = {});

// What writing `graph` in `format` would drop ("Edge List does not keep forced edges: 2 are
// dropped"), or "" when the format holds all of it. A conversion warns or refuses with it.
std::string whatTheFormatDrops(const Graph& graph, const GraphFormatInfo& format);

}  // namespace hc
