// Loading a graph file into a solver graph, by the file's extension: the file's row of io's
// format table reads it as a plain graph, and generation builds it (graph type 9, 10 for OBJ
// meshes, 0 for drawings, whose nodes and edges come in the order the editor converts a
// drawing it submits). It lives above io because generation builds every graph. Every
// failure is one clear line and no graph.
#pragma once

#include <memory>
#include <string>

#include "core/edge_snapshot.h"
#include "core/graph.h"
#include "editor/graph2d.h"
#include "io/graph_format_registry.h"
#include "run/graph_description.h"

namespace hc {

struct LoadedGraph {
  std::unique_ptr<Graph> graph;  // null exactly when error is set
  GraphDescription description;  // source type, path and node count, for the display name
  std::string error;
  // The read heard options.stop and gave up (no graph; error is "file: reading stopped"): not
  // a fault of the file, the run it was loaded for is stopped.
  bool stopped = false;
  explicit operator bool() const { return graph != nullptr; }
};

// The source of a graph loaded from `path`, by its format in io's table: text, drawing and
// OBJ files have their own; every other readable file is kHcpFile (shown by its name);
// kNoGraph for an unknown extension.
GraphSource graphSourceOfPath(const std::string& path);

// Reads the graph at `path` (of a file of several graphs, its first graph). Reseeds the
// random source once, as every graph construction does (so the CLI's --seed covers loading
// too). A reader's own messages on the diagnostic stream are kept only when the graph was
// built; a refusal is the one error line. With options.stop, the reading and building are
// given up soon after a stop request (LoadedGraph::stopped).
LoadedGraph loadGraphFile(const std::string& path, const FormatOptions& options = {});

// The window's Load of a drawing: the .g file at `path`, whatever its extension, read by the
// drawing row's reader and built as loadGraphFile builds a .g file; on success `drawing` is
// the file's drawing as the graph numbers it (see io's readDrawingGraph). A refusal is the
// reader's own line (not made printable) and leaves `drawing` as it was.
LoadedGraph loadDrawingFile(const std::string& path, Graph2D& drawing);

// Builds the graph of one record of io's GraphFileReader (a .g6/.s6 line, or a whole file of
// any readable format).
LoadedGraph loadGraphRecord(const GraphRecord& record, const FormatOptions& options = {});

// A graph loaded for a run: the graph, the snapshot of its edges as loaded (the reference a
// reported cycle is checked against) and the name it is shown by (set also when the read
// was stopped).
struct RunInput {
  LoadedGraph loaded;
  EdgeSnapshot asLoaded;
  std::string name;
  explicit operator bool() const { return static_cast<bool>(loaded); }
};
RunInput loadRunInput(const std::string& path, const FormatOptions& options = {});
RunInput loadRunInput(const GraphRecord& record, const FormatOptions& options = {});

}  // namespace hc
