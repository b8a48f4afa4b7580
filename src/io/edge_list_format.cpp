// Reading and writing edge lists; the header line the writer puts first carries the node
// count, so nodes without edges survive a round trip.
#include "io/edge_list_format.h"

#include <algorithm>

#include "io/text_lines.h"

namespace hc {

namespace {

// The node count a first line "# NAME: N nodes, M edges" records (the writer's header), or -1
// when the line is not such a header.
int64_t recordedNodeCount(std::string_view line) {
  line = trimmed(line);
  const size_t colon = line.rfind(": ");
  if (!line.starts_with('#') || colon == std::string_view::npos) return -1;
  const std::vector<std::string_view> words = wordsOf(line.substr(colon + 2), 4);
  int64_t nodes = 0, edges = 0;
  if (words.size() != 4 || words[1] != "nodes," || words[3] != "edges" || !wholeInteger(words[0], nodes) ||
      !wholeInteger(words[2], edges) || nodes < 1 || nodes > kMaxFileNodes)
    return -1;
  return nodes;
}

}  // namespace

FileStatus parseEdgeList(std::string_view text, const std::string& where, int32_t base, PlainGraph& out,
                         const StopToken* stop) {
  TextLines lines(text);
  auto fail = [&](const std::string& what) {
    return FileStatus::failure(where + ": line " + std::to_string(lines.number()) + ": " + what);
  };
  PlainGraph result;
  int64_t largest = -1;
  int64_t recorded = -1;
  ReadingStop stopped(stop);
  std::string_view line;
  while (lines.next(line)) {
    if (stopped()) return FileStatus::stoppedReading(where);
    if (lines.number() == 1) recorded = recordedNodeCount(line);
    line = line.substr(0, std::min(line.find('#'), line.find('%')));
    const FirstWords<2> words(line);
    if (words.empty()) continue;
    int64_t u = 0, v = 0;
    if (words.size() != 2) return fail("expected two node numbers \"u v\"");
    for (size_t i = 0; i < 2; ++i) {
      int64_t& x = i == 0 ? u : v;
      if (!wholeInteger(words[i], x)) return fail(quotedWord(words[i]) + " is not a node number");
      if (x < base || x - base >= kMaxFileNodes)
        return fail("node " + std::string(words[i]) + " out of range " + std::to_string(base) + ".." +
                    std::to_string(kMaxFileNodes - 1 + base));
    }
    if (u == v) return fail("node " + std::to_string(u) + " is joined to itself");
    result.edges.emplace_back(static_cast<int32_t>(u - base), static_cast<int32_t>(v - base));
    largest = std::max({largest, u - base, v - base});
  }
  // Nodes after the largest number used exist only in the header's count.
  if (largest < 0 && recorded < 0)
    return FileStatus::failure(where + ": no edges (an edge list needs at least one \"u v\" line)");
  result.nodes = static_cast<int32_t>(std::max(largest + 1, recorded));
  dropRepeatedEdges(result.edges, result.nodes);
  out = std::move(result);
  return {};
}

std::string formatEdgeList(const std::string& name, const PlainGraph& graph, int32_t base) {
  std::string out;
  out.reserve(64 + graph.edges.size() * 12);
  // A name is one comment line: a line break in it would turn the rest into edges.
  std::string oneLine = name;
  std::ranges::replace_if(
      oneLine, [](char c) { return c == '\n' || c == '\r'; }, ' ');
  out += "# " + oneLine + ": " + std::to_string(graph.nodes) + " nodes, " +
         std::to_string(graph.edges.size()) + " edges\n";
  for (auto [a, b] : graph.edges)
    out += std::to_string(std::min(a, b) + base) + " " + std::to_string(std::max(a, b) + base) + "\n";
  return out;
}

}  // namespace hc
