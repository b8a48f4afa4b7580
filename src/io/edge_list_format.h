// Plain edge lists (.edges, .el): one "u v" pair per line, node numbers from `base` (0 or
// 1) on; blank lines and everything from '#' or '%' to the end of a line are comments. The
// node count is the largest number used (+1 with base 0), or the count a first line
// "# NAME: N nodes, M edges" records when that is larger: the writer's header keeps nodes
// without edges, and an edgeless graph, through a round trip.
#pragma once

#include <string>
#include <string_view>

#include "io/file_access.h"
#include "io/plain_graph.h"

namespace hc {

// Parses an edge list whose node numbers start at `base`, each edge kept once where it is
// first met. Gives up when `stop` is requested (FileStatus::stopped).
FileStatus parseEdgeList(std::string_view text, const std::string& where, int32_t base, PlainGraph& out,
                         const StopToken* stop = nullptr);

// "# NAME: N nodes, M edges", then one "u v" line per edge from its smaller end.
std::string formatEdgeList(const std::string& name, const PlainGraph& graph, int32_t base);

}  // namespace hc
