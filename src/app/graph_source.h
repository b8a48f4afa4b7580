// The name the program shows for a graph, by where it came from (the source types and the
// description are loading's, run/graph_description.h).
#pragma once

#include <string>

#include "run/graph_description.h"

namespace hc {

// "Knight's Tour Graph With 64 Nodes (8 X 8)", a file's name, "NO GRAPH LOADED", ...
std::string graphDisplayName(const GraphDescription& graph);

}  // namespace hc
