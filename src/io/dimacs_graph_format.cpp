#include "io/dimacs_graph_format.h"

#include "io/text_lines.h"

namespace hc {

FileStatus parseDimacsGraph(std::string_view text, const std::string& where, PlainGraph& out,
                            const StopToken* stop) {
  TextLines lines(text);
  auto fail = [&](const std::string& what) {
    return FileStatus::failure(where + ": line " + std::to_string(lines.number()) + ": " + what);
  };
  PlainGraph result;
  bool haveProblem = false;
  ReadingStop stopped(stop);
  std::string_view line;
  while (lines.next(line)) {
    if (stopped()) return FileStatus::stoppedReading(where);
    const FirstWords<4> words(line);
    if (words.empty() || words[0] == "c") continue;
    if (words[0] == "p") {
      if (haveProblem) return fail("a second \"p\" line");
      int64_t n = 0, m = 0;
      if (words.size() != 4 || (words[1] != "edge" && words[1] != "col") || !wholeInteger(words[2], n) ||
          !wholeInteger(words[3], m))
        return fail("expected \"p edge NODES EDGES\"");
      if (n < 1 || n > kMaxFileNodes)
        return fail("node count " + std::string(words[2]) + " out of range 1.." +
                    std::to_string(kMaxFileNodes));
      if (m < 0) return fail("edge count " + std::string(words[3]) + " is negative");
      result.nodes = static_cast<int32_t>(n);
      haveProblem = true;
    } else if (words[0] == "e") {
      if (!haveProblem) return fail("edge before the \"p edge NODES EDGES\" line");
      int64_t u = 0, v = 0;
      if (words.size() != 3 || !wholeInteger(words[1], u) || !wholeInteger(words[2], v))
        return fail("expected \"e NODE NODE\"");
      for (int64_t x : {u, v})
        if (x < 1 || x > result.nodes)
          return fail("node " + std::to_string(x) + " out of range 1.." + std::to_string(result.nodes));
      if (u == v) return fail("node " + std::to_string(u) + " is joined to itself");
      result.edges.emplace_back(static_cast<int32_t>(u - 1), static_cast<int32_t>(v - 1));
    } else {
      return fail("unknown line type " + quotedWord(words[0]) + " (expected c, p or e)");
    }
  }
  if (!haveProblem) return FileStatus::failure(where + ": no \"p edge NODES EDGES\" line");
  dropRepeatedEdges(result.edges, result.nodes);
  out = std::move(result);
  return {};
}

std::string formatDimacsGraph(const std::string& name, const PlainGraph& graph) {
  std::string out;
  out.reserve(64 + graph.edges.size() * 14);
  out += "c " + name + "\n";
  out += "p edge " + std::to_string(graph.nodes) + " " + std::to_string(graph.edges.size()) + "\n";
  for (auto [a, b] : graph.edges)
    out += "e " + std::to_string(std::min(a, b) + 1) + " " + std::to_string(std::max(a, b) + 1) + "\n";
  return out;
}

}  // namespace hc
