// Loading a graph to solve from a file, by the file's extension: ".txt" adjacency text,
// ".obj" OBJ mesh, ".g" editor drawing (converted as the editor converts a submitted
// drawing), ".hcp" TSPLIB HCP file, and the exchange formats of graph_formats.h. Every
// failure is one clear line and no graph.
#pragma once

#include <memory>
#include <string>

#include "app/graph_source.h"
#include "core/graph.h"

namespace hc {

struct LoadedGraph {
  std::unique_ptr<Graph> graph;    // null exactly when error is set
  GraphDescription description;    // source type, path and node count, for the display name
  std::string error;
  explicit operator bool() const { return graph != nullptr; }
};

// The source type a path's extension selects, or kNoGraph for an unknown extension.
int32_t graphSourceTypeOfPath(const std::string& path);

// The output file name the program gives a graph read from `path`: "-HC" inserted before
// the extension of the file name ("graphs/k8.txt" -> "graphs/k8-HC.txt").
std::string hamiltonianCycleFileName(const std::string& path);

// What a reader needs beyond the file: the first node number of edge lists.
struct FormatOptions {
  int32_t edgeListBase = 0;  // node numbers of .edges/.el files start here (0 or 1)
};

// Reads the graph at `path` (of a .g6/.s6 file, its first graph; the other exchange formats
// through graph_formats.h). Reseeds the random source once, as every graph construction
// does (so the CLI's --seed covers loading too).
LoadedGraph loadGraphFile(const std::string& path, const FormatOptions& options = {});

}  // namespace hc
