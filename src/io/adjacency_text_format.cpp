// The adjacency text reader works in two passes: the whole file is parsed and checked first,
// and only a file without a single fault adds its edges (in the order the edges are first
// met, each edge once even when both of its lines list it).
#include "io/adjacency_text_format.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "io/text_lines.h"

namespace hc {

namespace {

// Longer tokens cannot name a node (and the original reader's buffer held 19 characters).
constexpr size_t kMaxIdLength = 19;

enum class IdParse { kOk, kNotNumber, kTooLong };

// Unsigned decimal only: a sign, a fraction or any other character makes it no id.
IdParse parseId(std::string_view token, uint64_t& value) {
  if (token.empty()) return IdParse::kNotNumber;
  uint64_t sum = 0;
  bool digits = true;
  for (char ch : token) {
    const auto digit = static_cast<unsigned char>(ch - '0');
    digits = digits && digit <= 9;
    sum = sum * 10 + digit;  // meaningful only while the token is short and all digits
  }
  if (!digits) return IdParse::kNotNumber;
  if (token.size() > kMaxIdLength) return IdParse::kTooLong;
  value = sum;
  return IdParse::kOk;
}

// The blanks between words: every ASCII white space but the newline (kWhitespace).
bool isBlank(char ch) {
  return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\f' || ch == '\v';
}

const std::string& targetName(const Graph& graph, const std::string& fileName) {
  return fileName.empty() ? graph.outputFileName : fileName;
}

}  // namespace

FileStatus parseAdjacencyText(std::string_view content, const std::string& path, PlainGraph& out,
                              const StopToken* stop) {
  // One node per line.
  const int64_t lineCount = TextLines::count(content);
  if (lineCount == 0) return FileStatus::failure(messageText(path, ": the file is empty"));
  if (lineCount > INT32_MAX) return FileStatus::failure(messageText(path, ": too many lines"));
  const auto n = static_cast<int32_t>(lineCount);
  std::vector<NodePair> edges;
  edges.reserve(content.size() / 8);  // an edge's word takes a few bytes; most files list each edge twice
  TextLines lines(content);
  ReadingStop stopped(stop);
  std::string_view line;
  while (lines.next(line)) {
    if (stopped()) return FileStatus::stoppedReading(path);
    int32_t current = -1;
    bool first = true;
    // The words of the line, each checked as it comes, so that the first fault of the line
    // is the one reported.
    size_t i = 0;
    for (;;) {
      while (i < line.size() && isBlank(line[i])) ++i;
      if (i == line.size()) break;
      const size_t start = i;
      while (i < line.size() && !isBlank(line[i])) ++i;
      const std::string_view token = line.substr(start, i - start);
      const char* role = first ? "node" : "neighbour";
      uint64_t value = 0;
      switch (parseId(token, value)) {
        case IdParse::kNotNumber:
          return lineError(
              path, lines.number(),
              messageText(role, " id ", quotedToken(token), " is not an unsigned decimal number"));
        case IdParse::kTooLong:
          return lineError(path, lines.number(),
                           messageText(role, " id ", quotedToken(token), " is too long to be a node id"));
        case IdParse::kOk: break;
      }
      if (value >= static_cast<uint64_t>(n)) {
        return lineError(path, lines.number(), messageText(role, " id ", value, " out of range 0..", n - 1));
      }
      auto id = static_cast<int32_t>(value);
      if (first) {
        current = id;
        first = false;
        continue;
      }
      if (id == current)
        return lineError(path, lines.number(), messageText("node ", current, " lists itself as a neighbour"));
      edges.emplace_back(current, id);
    }
  }
  // An edge listed twice (once from each end, as usual) is kept once, where it comes first.
  if (stopped(UINT32_MAX)) return FileStatus::stoppedReading(path);
  dropRepeatedEdges(edges, n);
  PlainGraph result;
  result.nodes = n;
  result.edges = std::move(edges);
  out = std::move(result);
  return {};
}

std::string adjacencyText(const Graph& graph) {
  std::string out;
  for (const Node& node : graph.nodes) {
    out += std::to_string(node.id);
    if (node.neighborArray != nullptr) {
      for (int32_t i = 0; i < node.degree; ++i) {
        out += ' ';
        out += std::to_string(node.neighborArray[i]);
      }
    } else {
      for (int32_t neighbor : node.adjacencyList) {  // still in the construction phase
        out += ' ';
        out += std::to_string(neighbor);
      }
    }
    out += '\n';
  }
  return out;
}

FileStatus writeAdjacencyText(const Graph& graph, const std::string& fileName) {
  const std::string& path = targetName(graph, fileName);
  if (path.empty()) return FileStatus::failure("no file name to write the graph to");
  return writeFileAtomically(path, adjacencyText(graph));
}

std::string adjacencyTextFileWriter(const Graph& graph, const std::string& path) {
  return writeAdjacencyText(graph, path).error;
}

}  // namespace hc
