// The DIMACS graph format of the colouring and clique benchmarks (.col, .dimacs):
//   c free comment
//   p edge N M        (once, before any edge; "p col N M" is read the same way)
//   e u v             (1-based node numbers)
// M is taken as a hint only (files in the wild count both directions); a repeated edge is
// kept once.
#pragma once

#include <string>
#include <string_view>

#include "io/file_access.h"
#include "io/plain_graph.h"

namespace hc {

// Parses DIMACS text, each edge kept once where it is first met; `where` names the source in
// messages ("where: line N: ..."). Gives up when `stop` is requested (FileStatus::stopped).
FileStatus parseDimacsGraph(std::string_view text, const std::string& where, PlainGraph& out,
                            const StopToken* stop = nullptr);

// "c NAME", "p edge N M", one "e u v" per edge from its smaller end.
std::string formatDimacsGraph(const std::string& name, const PlainGraph& graph);

}  // namespace hc
