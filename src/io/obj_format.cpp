// The OBJ reader checks the whole file before it sets a coordinate or adds an edge, like the
// adjacency text reader. A face may repeat a vertex (a degenerate face): no edge joins a node
// to itself.
#include "io/obj_format.h"

#include <charconv>
#include <cmath>
#include <locale>
#include <sstream>
#include <utility>
#include <vector>

#include "io/text_lines.h"

namespace hc {

namespace {

constexpr size_t kMaxIndexLength = 19;

bool isObjVertexLine(std::string_view line) {
  return line.size() >= 2 && line[0] == 'v' && (line[1] == ' ' || line[1] == '\t');
}

bool isObjFaceLine(std::string_view line) {
  return !line.empty() && line[0] == 'f';
}

bool parseCoordinate(std::string_view token, double& value) {
  if (!token.empty() && token.front() == '+') token.remove_prefix(1);
  if (token.empty()) return false;
  auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
  return error == std::errc() && end == token.data() + token.size() && std::isfinite(value);
}

// An OBJ vertex reference: the part of the token before its first "/", a nonzero integer.
bool parseFaceIndex(std::string_view token, int64_t& value) {
  size_t slash = token.find('/');
  if (slash != std::string_view::npos) token = token.substr(0, slash);
  if (!token.empty() && token.front() == '+') token.remove_prefix(1);
  if (token.empty() || token.size() > kMaxIndexLength) return false;
  auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
  return error == std::errc() && end == token.data() + token.size();
}

FileStatus vertexCountOf(std::string_view content, const std::string& path, int32_t& count) {
  int64_t vertices = 0;
  TextLines lines(content);
  std::string_view line;
  while (lines.next(line))
    if (isObjVertexLine(line)) ++vertices;
  if (vertices == 0) return FileStatus::failure(messageText(path, ": no vertex lines (\"v x y z\")"));
  if (vertices > INT32_MAX) return FileStatus::failure(messageText(path, ": too many vertices"));
  count = static_cast<int32_t>(vertices);
  return {};
}

}  // namespace

FileStatus parseObj(std::string_view content, const std::string& path, PlainGraph& out,
                    const StopToken* stop) {
  int32_t n = 0;
  if (FileStatus status = vertexCountOf(content, path, n); !status) return status;
  PlainGraph result;
  result.nodes = n;
  result.coordinates.reserve(static_cast<size_t>(n > 0 ? n : 0));
  std::vector<Point3>& coordinates = result.coordinates;
  std::vector<NodePair>& edges = result.edges;
  auto join = [&edges](int32_t a, int32_t b) {
    if (a != b) edges.emplace_back(a, b);
  };
  TextLines lines(content);
  ReadingStop stopped(stop);
  std::string_view line;
  while (lines.next(line)) {
    if (stopped()) return FileStatus::stoppedReading(path);
    const int64_t lineNumber = lines.number();
    if (isObjVertexLine(line)) {
      std::vector<std::string_view> tokens = wordsOf(line.substr(1), SIZE_MAX, kWhitespace);
      if (tokens.size() < 3) return lineError(path, lineNumber, "a vertex needs three coordinates x y z");
      Point3 point{};
      for (size_t k = 0; k < 3; ++k) {
        if (!parseCoordinate(tokens[k], point[k])) {
          return lineError(path, lineNumber,
                           messageText("coordinate ", quotedToken(tokens[k]), " is not a finite number"));
        }
      }
      coordinates.push_back(point);
    } else if (isObjFaceLine(line)) {
      // The first token is the keyword ("f", or the old "fo"); the vertices follow it.
      std::vector<std::string_view> tokens = wordsOf(line, SIZE_MAX, kWhitespace);
      tokens.erase(tokens.begin());
      if (tokens.size() < 2) return lineError(path, lineNumber, "a face needs at least two vertices");
      std::vector<int32_t> face;
      face.reserve(tokens.size());
      for (std::string_view token : tokens) {
        int64_t number = 0;
        if (!parseFaceIndex(token, number) || number == 0) {
          return lineError(path, lineNumber,
                           messageText("face vertex ", quotedToken(token), " is not a vertex number"));
        }
        // Negative numbers count back from the last vertex read so far.
        int64_t node = number > 0 ? number - 1 : static_cast<int64_t>(coordinates.size()) + number;
        if (node < 0 || node >= n) {
          if (number > 0)
            return lineError(path, lineNumber, messageText("face vertex ", number, " out of range 1..", n));
          return lineError(path, lineNumber,
                           messageText("face vertex ", number, " reaches before the first vertex (",
                                       coordinates.size(), " read so far)"));
        }
        face.push_back(static_cast<int32_t>(node));
      }
      for (size_t k = 1; k < face.size(); ++k) join(face[k - 1], face[k]);
      join(face.back(), face.front());
    }
  }
  dropRepeatedEdges(edges, n);
  out = std::move(result);
  return {};
}

std::string formatCycleObj(const Graph& graph, std::span<const int32_t> cycle) {
  std::ostringstream out;
  out.imbue(std::locale::classic());
  for (const Point3& p : graph.coordinates) out << "v " << p[0] << " " << p[1] << " " << p[2] << "\n";
  out << "# Hamiltonian Cycle:\n";
  out << "l ";
  for (int32_t v : cycle) out << (v + 1) << " ";
  out << "1\n";
  return out.str();
}

FileStatus writeHamiltonianCycleObj(const Graph& graph, const std::string& fileName) {
  const std::string& path = fileName.empty() ? graph.outputFileName : fileName;
  if (path.empty()) return FileStatus::failure("no file name to write the cycle to");
  const int32_t n = graph.howManyNodes;
  if (n < 3 || static_cast<int32_t>(graph.nodes.size()) != n) {
    return FileStatus::failure(
        messageText(path, ": a graph of ", n, " nodes has no Hamiltonian cycle to write"));
  }
  if (static_cast<int32_t>(graph.coordinates.size()) != n) {
    return FileStatus::failure(
        messageText(path, ": the graph has no coordinates, so its cycle cannot be written as OBJ"));
  }
  for (const Node& node : graph.nodes) {
    if (node.degree != 2 || node.neighborArray == nullptr) {
      return FileStatus::failure(messageText(path, ": node ", node.id, " has degree ", node.degree,
                                             "; a solved graph has every node at degree 2"));
    }
  }
  // Walk from node 0: step to entry 0 unless that is where we came from, then to entry 1.
  std::vector<int32_t> cycle;
  cycle.reserve(static_cast<size_t>(n));
  std::vector<char> visited(static_cast<size_t>(n), 0);
  int32_t previous = 0;
  int32_t current = 0;
  for (int32_t step = 0; step < n; ++step) {
    if (visited[static_cast<size_t>(current)]) {
      return FileStatus::failure(
          messageText(path, ": the degree-2 edges form more than one cycle, not a Hamiltonian cycle"));
    }
    visited[static_cast<size_t>(current)] = 1;
    cycle.push_back(current);
    const Node& node = graph.node(current);
    int32_t next = node.neighborArray[0] != previous ? node.neighborArray[0] : node.neighborArray[1];
    previous = current;
    current = next;
  }
  if (current != 0) {
    return FileStatus::failure(
        messageText(path, ": the degree-2 edges form more than one cycle, not a Hamiltonian cycle"));
  }
  return writeFileAtomically(path, formatCycleObj(graph, cycle));
}

}  // namespace hc
