// Readers and writers of the plain-text graph formats.
//
// Both readers work in two passes: the whole file is parsed and checked first, and only a
// file without a single fault adds its edges (in the order the edges are first met, each
// edge once even when both of its lines list it). So a bad file leaves the graph exactly as
// it was and the caller gets one message naming the file and the line.
//
// Accepted beyond the strict adjacency format, because they are common and harmless: CRLF
// line ends, tabs and runs of blanks between tokens, blanks at the end of a line, and a
// last line without its newline (it still counts as a line, i.e. as a node).
#include "core/graph_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <locale>
#include <sstream>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "core/diagnostics.h"
#include "core/message_text.h"

namespace hc {

namespace {

// Longer tokens cannot name a node (and the original reader's buffer held 19 characters).
constexpr size_t kMaxIdLength = 19;

template <typename... Pieces>
std::string text(const Pieces&... pieces) {
  std::ostringstream out;
  out.imbue(std::locale::classic());
  (out << ... << pieces);
  return out.str();
}

FileStatus lineError(const std::string& path, size_t line, const std::string& what) {
  return FileStatus::failure(text(path, ": line ", line, ": ", what));
}

// A token as it may be quoted in a message: at most 20 characters, bytes that are not
// printable written as \xNN.
std::string quoted(std::string_view token) {
  std::string out = "'";
  size_t shown = 0;
  for (char ch : token) {
    if (shown++ == 20) {
      out += "...";
      break;
    }
    out += printableText(std::string_view(&ch, 1));
  }
  return out + "'";
}

FileStatus readWholeFile(const std::string& path, std::string& content) { return readInputFile(path, content); }

// Splits at "\n"; a last line without its newline is a line too. Each line keeps
// everything but its newline.
std::vector<std::string_view> splitLines(std::string_view content) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < content.size()) {
    size_t end = content.find('\n', start);
    if (end == std::string_view::npos) end = content.size();
    lines.push_back(content.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

bool isSeparator(char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\f' || ch == '\v'; }

std::vector<std::string_view> splitTokens(std::string_view line) {
  std::vector<std::string_view> tokens;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && isSeparator(line[i])) ++i;
    size_t start = i;
    while (i < line.size() && !isSeparator(line[i])) ++i;
    if (i > start) tokens.push_back(line.substr(start, i - start));
  }
  return tokens;
}

enum class IdParse { kOk, kNotNumber, kTooLong };

// Unsigned decimal only: a sign, a fraction or any other character makes it no id.
IdParse parseId(std::string_view token, uint64_t& value) {
  if (token.empty()) return IdParse::kNotNumber;
  for (char ch : token) {
    if (ch < '0' || ch > '9') return IdParse::kNotNumber;
  }
  if (token.size() > kMaxIdLength) return IdParse::kTooLong;
  value = 0;
  for (char ch : token) value = value * 10 + static_cast<uint64_t>(ch - '0');
  return IdParse::kOk;
}

uint64_t edgeKey(int32_t a, int32_t b) {
  if (a > b) std::swap(a, b);
  return (static_cast<uint64_t>(static_cast<uint32_t>(a)) << 32) | static_cast<uint32_t>(b);
}

// The edges a builder has already joined, so that an edge listed twice is added once.
std::unordered_set<uint64_t> existingEdges(const Graph& graph) {
  std::unordered_set<uint64_t> edges;
  for (const Node& node : graph.nodes) {
    for (int32_t neighbor : node.adjacencyList) edges.insert(edgeKey(node.id, neighbor));
  }
  return edges;
}

bool isObjVertexLine(std::string_view line) { return line.size() >= 2 && line[0] == 'v' && (line[1] == ' ' || line[1] == '\t'); }

bool isObjFaceLine(std::string_view line) { return !line.empty() && line[0] == 'f'; }

std::string_view withoutCarriageReturn(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
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
  if (token.empty() || token.size() > kMaxIdLength) return false;
  auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
  return error == std::errc() && end == token.data() + token.size();
}

const std::string& targetName(const Graph& graph, const std::string& fileName) {
  return fileName.empty() ? graph.outputFileName : fileName;
}

std::string formatDouble(double value) {
  std::ostringstream out;
  out.imbue(std::locale::classic());
  out << value;
  return out.str();
}

}  // namespace

namespace {

// Why the file open at `fd` cannot be read as input, or "" when it can.
std::string inputFileProblem(int fd, const std::string& shown, struct stat& info) {
  if (::fstat(fd, &info) != 0) return text(shown, ": cannot read the file (", std::strerror(errno), ")");
  if (S_ISDIR(info.st_mode)) return text(shown, ": is a folder, not a file");
  if (!S_ISREG(info.st_mode))
    return text(shown, ": not a regular file (a device, FIFO or socket cannot be read as input)");
  if (static_cast<uint64_t>(info.st_size) > kMaxInputFileBytes)
    return text(shown, ": ", info.st_size, " bytes, more than the input limit of ", kMaxInputFileBytes, " bytes");
  return {};
}

}  // namespace

FileStatus checkInputFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  const std::string shown = printableText(path);
  if (fd < 0) return FileStatus::failure(text(shown, ": cannot open the file"));
  struct stat info {};
  std::string problem = inputFileProblem(fd, shown, info);
  ::close(fd);
  return problem.empty() ? FileStatus{} : FileStatus::failure(problem);
}

FileStatus readInputFile(const std::string& path, std::string& content) {
  // Non-blocking, so that opening a FIFO without a writer returns at once; what is opened
  // is then judged by its own status, not by the name's.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  const std::string shown = printableText(path);
  if (fd < 0) return FileStatus::failure(text(shown, ": cannot open the file"));
  struct stat info {};
  std::string problem = inputFileProblem(fd, shown, info);
  if (problem.empty()) {
    std::string data;
    data.reserve(static_cast<size_t>(info.st_size));
    char buffer[1 << 16];
    for (;;) {
      const ssize_t got = ::read(fd, buffer, sizeof buffer);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) {
        problem = text(shown, ": cannot read the file (", std::strerror(errno), ")");
        break;
      }
      if (got == 0) break;
      // A file that grows while it is read is held to the same limit.
      if (data.size() + static_cast<size_t>(got) > kMaxInputFileBytes) {
        problem = text(shown, ": more than the input limit of ", kMaxInputFileBytes, " bytes");
        break;
      }
      data.append(buffer, static_cast<size_t>(got));
    }
    if (problem.empty()) content = std::move(data);
  }
  ::close(fd);
  return problem.empty() ? FileStatus{} : FileStatus::failure(problem);
}

FileStatus countAdjacencyTextNodes(const std::string& path, int32_t& count) {
  std::string content;
  if (FileStatus status = readWholeFile(path, content); !status) return status;
  size_t lines = splitLines(content).size();
  if (lines == 0) return FileStatus::failure(text(path, ": the file is empty"));
  if (lines > static_cast<size_t>(INT32_MAX)) return FileStatus::failure(text(path, ": too many lines"));
  count = static_cast<int32_t>(lines);
  return {};
}

FileStatus countObjVertices(const std::string& path, int32_t& count) {
  std::string content;
  if (FileStatus status = readWholeFile(path, content); !status) return status;
  size_t vertices = 0;
  for (std::string_view line : splitLines(content)) {
    if (isObjVertexLine(line)) ++vertices;
  }
  if (vertices == 0) return FileStatus::failure(text(path, ": no vertex lines (\"v x y z\")"));
  if (vertices > static_cast<size_t>(INT32_MAX)) return FileStatus::failure(text(path, ": too many vertices"));
  count = static_cast<int32_t>(vertices);
  return {};
}

FileStatus readAdjacencyText(Graph& graph) {
  const std::string& path = graph.inputFileName;
  if (graph.printLevel >= 1) diagnostic("Graph type: File-Read Graph from ", path, ".\n");
  std::string content;
  if (FileStatus status = readWholeFile(path, content); !status) return status;
  const int32_t n = graph.howManyNodes;
  std::vector<std::string_view> lines = splitLines(content);
  if (static_cast<int64_t>(lines.size()) != n) {
    return FileStatus::failure(text(path, ": ", lines.size(), " lines for a graph of ", n, " nodes"));
  }

  std::vector<std::pair<int32_t, int32_t>> edges;
  std::unordered_set<uint64_t> seen = existingEdges(graph);
  for (size_t index = 0; index < lines.size(); ++index) {
    const size_t lineNumber = index + 1;
    std::vector<std::string_view> tokens = splitTokens(lines[index]);
    if (tokens.empty()) continue;  // a blank line is a node that lists nothing
    int32_t current = -1;
    for (size_t t = 0; t < tokens.size(); ++t) {
      const char* role = t == 0 ? "node" : "neighbour";
      uint64_t value = 0;
      switch (parseId(tokens[t], value)) {
        case IdParse::kNotNumber:
          return lineError(path, lineNumber, text(role, " id ", quoted(tokens[t]), " is not an unsigned decimal number"));
        case IdParse::kTooLong:
          return lineError(path, lineNumber, text(role, " id ", quoted(tokens[t]), " is too long to be a node id"));
        case IdParse::kOk:
          break;
      }
      if (value >= static_cast<uint64_t>(n)) {
        return lineError(path, lineNumber, text(role, " id ", value, " out of range 0..", n - 1));
      }
      auto id = static_cast<int32_t>(value);
      if (t == 0) {
        current = id;
        continue;
      }
      if (id == current) return lineError(path, lineNumber, text("node ", current, " lists itself as a neighbour"));
      if (seen.empty() || seen.count(edgeKey(current, id)) == 0) edges.emplace_back(current, id);
    }
  }
  // An edge listed twice (once from each end, as usual) is added once, where it comes first:
  // sorted by key and position, the first of each run of equal keys is kept.
  std::vector<std::pair<uint64_t, uint32_t>> order(edges.size());
  for (size_t i = 0; i < edges.size(); ++i) order[i] = {edgeKey(edges[i].first, edges[i].second), static_cast<uint32_t>(i)};
  std::sort(order.begin(), order.end());
  std::vector<uint8_t> keep(edges.size(), 0);
  for (size_t i = 0; i < order.size(); ++i)
    if (i == 0 || order[i].first != order[i - 1].first) keep[order[i].second] = 1;
  for (size_t i = 0; i < edges.size(); ++i)
    if (keep[i] != 0) graph.addEdge(edges[i].first, edges[i].second);
  return {};
}

FileStatus readObjGraph(Graph& graph) {
  const std::string& path = graph.inputFileName;
  std::string content;
  if (FileStatus status = readWholeFile(path, content); !status) return status;
  const int32_t n = graph.howManyNodes;

  std::vector<Point3> coordinates;
  coordinates.reserve(static_cast<size_t>(n > 0 ? n : 0));
  std::vector<std::pair<int32_t, int32_t>> edges;
  std::unordered_set<uint64_t> seen = existingEdges(graph);
  auto addPair = [&](int32_t a, int32_t b) {
    if (a == b) return;  // a degenerate face repeats a vertex; no edge of a node to itself
    if (seen.insert(edgeKey(a, b)).second) edges.emplace_back(a, b);
  };

  std::vector<std::string_view> lines = splitLines(content);
  for (size_t index = 0; index < lines.size(); ++index) {
    const size_t lineNumber = index + 1;
    std::string_view line = withoutCarriageReturn(lines[index]);
    if (isObjVertexLine(line)) {
      std::vector<std::string_view> tokens = splitTokens(line.substr(1));
      if (tokens.size() < 3) return lineError(path, lineNumber, "a vertex needs three coordinates x y z");
      Point3 point{};
      for (size_t k = 0; k < 3; ++k) {
        if (!parseCoordinate(tokens[k], point[k])) {
          return lineError(path, lineNumber, text("coordinate ", quoted(tokens[k]), " is not a finite number"));
        }
      }
      if (static_cast<int64_t>(coordinates.size()) >= n) {
        return lineError(path, lineNumber, text("more vertex lines than the ", n, " nodes of the graph"));
      }
      coordinates.push_back(point);
    } else if (isObjFaceLine(line)) {
      // The first token is the keyword ("f", or the old "fo"); the vertices follow it.
      std::vector<std::string_view> tokens = splitTokens(line);
      tokens.erase(tokens.begin());
      if (tokens.size() < 2) return lineError(path, lineNumber, "a face needs at least two vertices");
      std::vector<int32_t> face;
      face.reserve(tokens.size());
      for (std::string_view token : tokens) {
        int64_t number = 0;
        if (!parseFaceIndex(token, number) || number == 0) {
          return lineError(path, lineNumber, text("face vertex ", quoted(token), " is not a vertex number"));
        }
        // Negative numbers count back from the last vertex read so far.
        int64_t node = number > 0 ? number - 1 : static_cast<int64_t>(coordinates.size()) + number;
        if (node < 0 || node >= n) {
          if (number > 0) return lineError(path, lineNumber, text("face vertex ", number, " out of range 1..", n));
          return lineError(path, lineNumber,
                           text("face vertex ", number, " reaches before the first vertex (", coordinates.size(),
                                " read so far)"));
        }
        face.push_back(static_cast<int32_t>(node));
      }
      for (size_t k = 1; k < face.size(); ++k) addPair(face[k - 1], face[k]);
      addPair(face.back(), face.front());
    }
  }
  if (static_cast<int64_t>(coordinates.size()) != n) {
    return FileStatus::failure(text(path, ": ", coordinates.size(), " vertex lines for a graph of ", n, " nodes"));
  }
  graph.coordinates = std::move(coordinates);
  for (const auto& [a, b] : edges) graph.addEdge(a, b);
  return {};
}

FileStatus writeAdjacencyText(const Graph& graph, const std::string& fileName) {
  const std::string& path = targetName(graph, fileName);
  if (path.empty()) return FileStatus::failure("no file name to write the graph to");
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
  return writeFileAtomically(path, out);
}

FileStatus writeHamiltonianCycleObj(const Graph& graph, const std::string& fileName) {
  const std::string& path = targetName(graph, fileName);
  if (path.empty()) return FileStatus::failure("no file name to write the cycle to");
  const int32_t n = graph.howManyNodes;
  if (n < 3 || static_cast<int32_t>(graph.nodes.size()) != n) {
    return FileStatus::failure(text(path, ": a graph of ", n, " nodes has no Hamiltonian cycle to write"));
  }
  if (static_cast<int32_t>(graph.coordinates.size()) != n) {
    return FileStatus::failure(text(path, ": the graph has no coordinates, so its cycle cannot be written as OBJ"));
  }
  for (const Node& node : graph.nodes) {
    if (node.degree != 2 || node.neighborArray == nullptr) {
      return FileStatus::failure(
          text(path, ": node ", node.id, " has degree ", node.degree, "; a solved graph has every node at degree 2"));
    }
  }

  std::string out;
  for (const Point3& point : graph.coordinates) {
    out += "v " + formatDouble(point[0]) + " " + formatDouble(point[1]) + " " + formatDouble(point[2]) + "\n";
  }
  out += "# Hamiltonian Cycle:\n";
  out += "l ";
  // Walk from node 0: step to entry 0 unless that is where we came from, then to entry 1.
  std::vector<char> visited(static_cast<size_t>(n), 0);
  int32_t previous = 0;
  int32_t current = 0;
  for (int32_t step = 0; step < n; ++step) {
    if (visited[static_cast<size_t>(current)]) {
      return FileStatus::failure(text(path, ": the degree-2 edges form more than one cycle, not a Hamiltonian cycle"));
    }
    visited[static_cast<size_t>(current)] = 1;
    out += std::to_string(current + 1);
    out += ' ';
    const Node& node = graph.node(current);
    int32_t next = node.neighborArray[0] != previous ? node.neighborArray[0] : node.neighborArray[1];
    previous = current;
    current = next;
  }
  if (current != 0) {
    return FileStatus::failure(text(path, ": the degree-2 edges form more than one cycle, not a Hamiltonian cycle"));
  }
  out += "1\n";
  return writeFileAtomically(path, out);
}

FileStatus writeFileAtomically(const std::string& path, const std::string& content) {
  if (path.empty()) return FileStatus::failure("no file name given");
  std::filesystem::path target(path);
  std::filesystem::path folder = target.parent_path();
  std::string pattern = (folder.empty() ? std::string(".") : folder.string()) + "/." +
                        target.filename().string() + ".tmp.XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  int fd = mkstemp(name.data());
  if (fd < 0) return FileStatus::failure(text(path, ": cannot create the file: ", std::strerror(errno)));
  const std::string tempName(name.data());
  auto fail = [&](const char* what, int error) {
    if (fd >= 0) close(fd);
    unlink(tempName.c_str());
    return FileStatus::failure(text(path, ": ", what, ": ", std::strerror(error)));
  };
  size_t written = 0;
  while (written < content.size()) {
    ssize_t chunk = write(fd, content.data() + written, content.size() - written);
    if (chunk < 0) {
      if (errno == EINTR) continue;
      return fail("cannot write the file", errno);
    }
    written += static_cast<size_t>(chunk);
  }
  if (fchmod(fd, 0644) != 0) return fail("cannot set the file's permissions", errno);
  if (fsync(fd) != 0) return fail("cannot write the file", errno);
  int closeResult = close(fd);
  fd = -1;
  if (closeResult != 0) return fail("cannot write the file", errno);
  if (std::rename(tempName.c_str(), path.c_str()) != 0) return fail("cannot replace the file", errno);
  return {};
}

}  // namespace hc
