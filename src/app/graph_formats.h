// The one place that chooses a graph format by a file's extension, for the command line and
// the window's file dialogs alike:
//   read and write  .txt adjacency text, .hcp TSPLIB, .g6 graph6, .s6 sparse6,
//                   .col/.dimacs DIMACS graph, .edges/.el edge lists
//   read only       .obj mesh, .g editor drawing
// .g6 and .s6 files hold one graph per line (either coding on any line); every other
// format holds one graph. Reading a file therefore yields a sequence of graph records,
// which are built one by one (a batch over millions of graphs never holds them all).
#pragma once

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>

#include "app/graph_loading.h"
#include "core/graph.h"
#include "core/graph_files.h"

namespace hc {

enum class GraphFormat { Unknown, AdjacencyText, Obj, Drawing, Hcp, Graph6, Sparse6, Dimacs, EdgeList };

GraphFormat graphFormatOfPath(const std::string& path);
bool canReadFormat(GraphFormat format);
bool canWriteFormat(GraphFormat format);
// One graph per line: .g6 and .s6.
bool holdsSeveralGraphs(GraphFormat format);
// ".txt, .obj, .g, .hcp, .g6, .s6, .col, .dimacs, .edges, .el" and the writable subset.
const char* readableExtensions();
const char* writableExtensions();

// Writes `graph` (its current edges, and its forced edges where the format has them) to
// `path` in the format of its extension, through a temporary file and a rename. `name`
// goes where the format keeps a name or comment.
FileStatus writeGraphFile(const std::string& path, const Graph& graph, const std::string& name,
                          const FormatOptions& options = {});

// For files of several graphs (.g6/.s6): the header that opens the file, and one graph's
// line with its newline. The graph must fit the format (graph6LineProblem says why not).
std::string graphLinesHeader(GraphFormat format);
std::string graphLine(GraphFormat format, const Graph& graph);
// Empty when `graph` can be written as a graph6 line, else why not.
std::string graph6LineProblem(const Graph& graph);

// One graph of a file: the whole file, or one line of a .g6/.s6 file.
struct GraphRecord {
  std::string path;
  int64_t line = 0;  // 1-based line of a .g6/.s6 file; 0 for a one-graph file
  std::string text;  // that line (header and '\r' removed)
  // "file" or "file: line N", as messages name the record.
  std::string where() const;
};

// Builds the graph of one record (a .g6/.s6 line, or a whole file of any readable format).
// Reseeds the random source once, like every graph construction.
LoadedGraph loadGraphRecord(const GraphRecord& record, const FormatOptions& options = {});

// Walks the graphs of a file. Lines of .g6/.s6 files longer than kMaxGraphLineBytes are
// reported as faulty records, never read into memory whole.
class GraphFileReader {
 public:
  static constexpr size_t kMaxGraphLineBytes = size_t{256} << 20;

  // Empty when the file can be walked, else the error line (no such file, unknown
  // extension, cannot be opened).
  std::string open(const std::string& path);
  // The next record; false at the end. A line too long to hold sets `tooLong` instead of
  // the text (loadGraphRecord is then not called; the record's error is tooLongError()).
  bool next(GraphRecord& record, bool& tooLong);
  std::string tooLongError(const GraphRecord& record) const;

 private:
  bool readLine(std::string& line, bool& tooLong);

  std::string path_;
  GraphFormat format_ = GraphFormat::Unknown;
  std::ifstream in_;
  int64_t lineNumber_ = 0;
  bool wholeFileGiven_ = false;
};

// Whether `path` is a .g6/.s6 file with more than one graph (its first two graph lines are
// looked at, nothing more). False for any other file.
bool fileHoldsSeveralGraphs(const std::string& path);

}  // namespace hc
