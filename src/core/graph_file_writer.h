// The engine writes no files. Where a method keeps a graph as a file (the Stone Carver's
// best partially cut graph, the cycle Co-HC finds), its options carry a writer handed in by
// the front end, which knows the formats (io/adjacency_text_format.h); without one nothing
// is written.
#pragma once

#include <functional>
#include <string>

#include "core/graph.h"

namespace hc {

// Writes `graph` to `path`; returns "" or the error line.
using GraphFileWriter = std::function<std::string(const Graph& graph, const std::string& path)>;

}  // namespace hc
