// TSPLIB HCP and tour files. The parser walks the text once, line by line, keeping the
// line number of every token so each fault names where it is.
#include "io/tsplib_format.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <climits>
#include <fstream>
#include <functional>
#include <sstream>

#include "core/message_text.h"
#include "io/text_lines.h"

namespace hc {

namespace {

std::string_view trim(std::string_view s) {
  return trimmed(s, kWhitespace);
}

// Tokens that may cross lines, on top of the line scanner, remembering line numbers.
class TsplibScanner {
 public:
  TsplibScanner(std::string_view text, const std::string& where) : lines_(text), where_(where) {}

  // The next line (trimmed), or false at the end of the text.
  bool nextLine(std::string_view& line) {
    if (!lines_.next(line)) return false;
    line = trim(line);
    return true;
  }

  // The next whitespace-separated token, crossing lines; false at the end of the text.
  bool nextToken(std::string_view& token) {
    for (;;) {
      while (tokenPos_ < currentLine_.size() && isBlank(currentLine_[tokenPos_])) ++tokenPos_;
      if (tokenPos_ < currentLine_.size()) {
        size_t start = tokenPos_;
        while (tokenPos_ < currentLine_.size() && !isBlank(currentLine_[tokenPos_])) ++tokenPos_;
        token = currentLine_.substr(start, tokenPos_ - start);
        return true;
      }
      if (!nextLine(currentLine_)) return false;
      tokenPos_ = 0;
    }
  }

  // After token scanning: the rest of the current line (normally empty).
  std::string_view restOfLine() const {
    return trim(currentLine_.substr(std::min(tokenPos_, currentLine_.size())));
  }
  void dropRestOfLine() { tokenPos_ = currentLine_.size(); }

  int64_t lineNumber() const { return lines_.number(); }

  FileStatus fail(const std::string& what) const {
    return FileStatus::failure(where_ + ": line " + std::to_string(lines_.number()) + ": " + what);
  }
  FileStatus failAtEnd(const std::string& what) const { return FileStatus::failure(where_ + ": " + what); }

 private:
  static bool isBlank(char c) { return kWhitespace.find(c) != std::string_view::npos; }

  TextLines lines_;
  const std::string& where_;
  std::string_view currentLine_;
  size_t tokenPos_ = 0;
};

bool parseInteger(std::string_view token, int64_t& value) {
  if (token.empty()) return false;
  const char* first = token.data();
  const char* last = token.data() + token.size();
  if (*first == '+') ++first;
  auto [ptr, ec] = std::from_chars(first, last, value);
  return ec == std::errc() && ptr == last;
}

std::string shown(std::string_view token) {
  constexpr size_t kLongest = 24;
  if (token.size() > kLongest) return "\"" + printableText(token.substr(0, kLongest)) + "...\"";
  return "\"" + printableText(token) + "\"";
}

// "KEY : value" (the blanks around the colon are optional). A line without a colon is a
// bare keyword (a section start, EOF). The key is compared in upper case, as files in the
// wild use both.
void splitHeader(std::string_view line, std::string& key, std::string_view& value) {
  size_t colon = line.find(':');
  std::string_view k = trim(colon == std::string_view::npos ? line : line.substr(0, colon));
  value = colon == std::string_view::npos ? std::string_view{} : trim(line.substr(colon + 1));
  key.assign(k);
  for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

std::string upper(std::string_view s) {
  std::string u(s);
  for (char& c : u) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return u;
}

// After the data: only EOF and blank lines may follow.
// `section`, when given, reads a further section that may follow the data (its name line
// has just been read).
FileStatus checkTrailer(TsplibScanner& scan, const char* what,
                        const std::function<FileStatus(std::string_view name)>& section = {}) {
  if (!scan.restOfLine().empty()) return scan.fail(std::string("unexpected text after the ") + what);
  std::string_view line;
  while (scan.nextLine(line)) {
    if (line.empty()) continue;
    if (section && upper(line).ends_with("_SECTION")) {
      if (FileStatus s = section(line); !s) return s;
      if (!scan.restOfLine().empty()) return scan.fail("unexpected text after the section");
      continue;
    }
    if (upper(line) == "EOF") {
      while (scan.nextLine(line))
        if (!line.empty()) return scan.fail("unexpected text after EOF");
      return {};
    }
    return scan.fail(std::string("unexpected text after the ") + what + ": " + shown(line));
  }
  return {};
}

// Reads one 1-based node number of an HCP data section, or the -1 terminator.
FileStatus readNodeNumber(TsplibScanner& scan, int32_t dimension, int32_t& node, const char* context) {
  std::string_view token;
  if (!scan.nextToken(token))
    return scan.failAtEnd(std::string("the file ends inside ") + context + " (no -1 at its end)");
  int64_t value = 0;
  if (!parseInteger(token, value)) {
    if (upper(token) == "EOF") return scan.fail(std::string("EOF inside ") + context + " (no -1 at its end)");
    return scan.fail(shown(token) + " is not a node number");
  }
  if (value == -1) {
    node = -1;
    return {};
  }
  if (value < 1 || value > dimension)
    return scan.fail("node " + std::string(token) + " out of range 1.." + std::to_string(dimension));
  node = static_cast<int32_t>(value - 1);
  return {};
}

// FIXED_EDGES_SECTION: node pairs ended by -1 (a repeat is dropped once the whole file is read).
FileStatus readFixedEdges(TsplibScanner& scan, int32_t dimension,
                          std::vector<std::pair<int32_t, int32_t>>& fixed) {
  for (;;) {
    int32_t a = -1, b = -1;
    if (FileStatus s = readNodeNumber(scan, dimension, a, "the fixed edges"); !s) return s;
    if (a == -1) return {};
    if (FileStatus s = readNodeNumber(scan, dimension, b, "the fixed edges"); !s) return s;
    if (b == -1) return scan.fail("fixed edges end in the middle of an edge");
    if (a == b) return scan.fail("fixed edge joins node " + std::to_string(a + 1) + " to itself");
    fixed.emplace_back(a, b);
  }
}

}  // namespace

FileStatus parseHcp(std::string_view text, const std::string& where, HcpContents& out,
                    const StopToken* stop) {
  TsplibScanner scan(text, where);
  HcpContents result;
  std::string format = "EDGE_LIST";
  bool haveDimension = false;
  bool inData = false;
  std::string_view line;
  std::string key;
  std::string_view value;
  while (!inData && scan.nextLine(line)) {
    if (line.empty()) continue;
    splitHeader(line, key, value);
    if (key == "NAME") {
      result.name = std::string(value);
    } else if (key == "COMMENT") {
      // free text
    } else if (key == "TYPE") {
      if (upper(value) != "HCP") return scan.fail("TYPE is " + shown(value) + ", expected HCP");
    } else if (key == "DIMENSION") {
      int64_t n = 0;
      if (!parseInteger(value, n)) return scan.fail("DIMENSION " + shown(value) + " is not a number");
      if (n < 1 || n > kMaxFileNodes)
        return scan.fail("DIMENSION " + std::string(value) + " out of range 1.." +
                         std::to_string(kMaxFileNodes));
      result.dimension = static_cast<int32_t>(n);
      haveDimension = true;
    } else if (key == "EDGE_DATA_FORMAT") {
      format = upper(value);
      if (format != "EDGE_LIST" && format != "ADJ_LIST")
        return scan.fail("EDGE_DATA_FORMAT " + shown(value) + " is not EDGE_LIST or ADJ_LIST");
    } else if (key == "EDGE_DATA_SECTION") {
      if (!haveDimension) return scan.fail("EDGE_DATA_SECTION before DIMENSION");
      if (!value.empty()) return scan.fail("unexpected text after EDGE_DATA_SECTION");
      inData = true;
    } else if (key == "FIXED_EDGES_SECTION") {
      if (!haveDimension) return scan.fail("FIXED_EDGES_SECTION before DIMENSION");
      if (FileStatus s = readFixedEdges(scan, result.dimension, result.fixedEdges); !s) return s;
      scan.dropRestOfLine();
    } else if (key == "EOF") {
      return scan.fail("EOF before EDGE_DATA_SECTION");
    } else if (key.ends_with("_SECTION")) {
      return scan.fail("section " + printableText(key) + " is not supported in a graph file");
    } else if (line.find(':') == std::string_view::npos) {
      return scan.fail(shown(line) + " is not a header line (KEY : value)");
    } else if (key == "EDGE_WEIGHT_TYPE" || key == "EDGE_WEIGHT_FORMAT" || key == "NODE_COORD_TYPE" ||
               key == "DISPLAY_DATA_TYPE" || key == "CAPACITY") {
      // Other problem types' keys: harmless here.
    } else {
      return scan.fail("unknown header " + shown(key));
    }
  }
  if (!inData) return scan.failAtEnd("no EDGE_DATA_SECTION");

  const int32_t n = result.dimension;
  ReadingStop stopped(stop);
  auto addEdge = [&](int32_t a, int32_t b) -> FileStatus {
    if (a == b) return scan.fail("node " + std::to_string(a + 1) + " is joined to itself");
    if (result.edges.size() >= static_cast<size_t>(INT32_MAX / 2)) return scan.fail("too many edges");
    if (stopped()) return FileStatus::stoppedReading(where);
    result.edges.emplace_back(a, b);
    return {};
  };

  if (format == "EDGE_LIST") {
    for (;;) {
      int32_t a = -1, b = -1;
      if (FileStatus s = readNodeNumber(scan, n, a, "the edge list"); !s) return s;
      if (a == -1) break;
      if (FileStatus s = readNodeNumber(scan, n, b, "the edge list"); !s) return s;
      if (b == -1)
        return scan.fail("edge list ends in the middle of an edge (node " + std::to_string(a + 1) +
                         " has no partner)");
      if (FileStatus s = addEdge(a, b); !s) return s;
    }
  } else {
    for (;;) {
      int32_t a = -1;
      if (FileStatus s = readNodeNumber(scan, n, a, "the adjacency lists"); !s) return s;
      if (a == -1) break;
      for (;;) {
        int32_t b = -1;
        if (FileStatus s = readNodeNumber(scan, n, b, "an adjacency list"); !s) return s;
        if (b == -1) break;
        if (FileStatus s = addEdge(a, b); !s) return s;
      }
    }
  }
  auto fixedSection = [&](std::string_view name) -> FileStatus {
    if (upper(name) != "FIXED_EDGES_SECTION")
      return scan.fail("section " + printableText(upper(name)) + " is not supported in a graph file");
    return readFixedEdges(scan, n, result.fixedEdges);
  };
  if (FileStatus s = checkTrailer(scan, "edge data", fixedSection); !s) return s;
  // Each edge and each fixed edge once, where it comes first; a fixed edge that is the first
  // of its pair after all the edges is none of them.
  dropRepeatedEdges(result.edges, n);
  dropRepeatedEdges(result.fixedEdges, n);
  std::vector<std::pair<int32_t, int32_t>> both = result.edges;
  both.insert(both.end(), result.fixedEdges.begin(), result.fixedEdges.end());
  const std::vector<uint8_t> first = firstOccurrences(both, n);
  for (size_t k = 0; k < result.fixedEdges.size(); ++k)
    if (first[result.edges.size() + k] != 0) {
      const auto [a, b] = result.fixedEdges[k];
      return scan.failAtEnd("fixed edge " + std::to_string(a + 1) + " " + std::to_string(b + 1) +
                            " is not an edge of the graph");
    }
  out = std::move(result);
  return {};
}

FileStatus readHcpFile(const std::string& path, PlainGraph& out, const StopToken* stop) {
  std::string text;
  if (FileStatus s = readInputFile(path, text, stop); !s) return s;
  HcpContents contents;
  if (FileStatus s = parseHcp(text, path, contents, stop); !s) return s;
  out = PlainGraph{contents.dimension, std::move(contents.edges), std::move(contents.fixedEdges), {}};
  return {};
}

std::string formatHcp(const std::string& name, const Graph& graph) {
  std::string out;
  out.reserve(128 + static_cast<size_t>(graph.howManyEdges) * 12);
  out += "NAME : " + name + "\n";
  out += "TYPE : HCP\n";
  out += "DIMENSION : " + std::to_string(graph.howManyNodes) + "\n";
  out += "EDGE_DATA_FORMAT : EDGE_LIST\n";
  out += "EDGE_DATA_SECTION\n";
  for (int32_t v = 0; v < graph.howManyNodes; ++v) {
    const Node& node = graph.node(v);
    for (int32_t k = 0; k < node.degree; ++k) {
      int32_t w = node.neighborArray[k];
      if (w > v) out += std::to_string(v + 1) + " " + std::to_string(w + 1) + "\n";
    }
  }
  out += "-1\n";
  std::string fixed;
  for (int32_t v = 0; v < graph.howManyNodes; ++v) {
    const Node& node = graph.node(v);
    for (int32_t w : {node.uncuttable1, node.uncuttable2})
      if (w > v && graph.isUncuttableEdge(v, w))
        fixed += std::to_string(v + 1) + " " + std::to_string(w + 1) + "\n";
  }
  if (!fixed.empty()) out += "FIXED_EDGES_SECTION\n" + fixed + "-1\n";
  out += "EOF\n";
  return out;
}

std::string formatTour(const std::string& name, std::span<const int32_t> cycle) {
  std::string out;
  out.reserve(64 + cycle.size() * 8);
  out += "NAME : " + name + "\n";
  out += "TYPE : TOUR\n";
  out += "DIMENSION : " + std::to_string(cycle.size()) + "\n";
  out += "TOUR_SECTION\n";
  for (int32_t v : cycle) out += std::to_string(v + 1) + "\n";
  out += "-1\nEOF\n";
  return out;
}

FileStatus parseTour(std::string_view text, const std::string& where, std::vector<int32_t>& cycle) {
  TsplibScanner scan(text, where);
  std::string_view line;
  std::string key;
  std::string_view value;
  int64_t dimension = -1;
  bool inTour = false;
  while (!inTour && scan.nextLine(line)) {
    if (line.empty()) continue;
    splitHeader(line, key, value);
    if (key == "NAME" || key == "COMMENT") continue;
    if (key == "TYPE") {
      if (upper(value) != "TOUR") return scan.fail("TYPE is " + shown(value) + ", expected TOUR");
    } else if (key == "DIMENSION") {
      if (!parseInteger(value, dimension) || dimension < 1 || dimension > kMaxFileNodes)
        return scan.fail("DIMENSION " + shown(value) + " is not a number in 1.." +
                         std::to_string(kMaxFileNodes));
    } else if (key == "TOUR_SECTION") {
      if (!value.empty()) return scan.fail("unexpected text after TOUR_SECTION");
      inTour = true;
    } else {
      return scan.fail("unexpected line " + shown(line) + " before TOUR_SECTION");
    }
  }
  if (!inTour) return scan.failAtEnd("no TOUR_SECTION");
  std::vector<int32_t> result;
  for (;;) {
    std::string_view token;
    if (!scan.nextToken(token)) return scan.failAtEnd("the file ends inside the tour (no -1 at its end)");
    int64_t v = 0;
    if (!parseInteger(token, v)) return scan.fail(shown(token) + " is not a node number");
    if (v == -1) break;
    if (v < 1 || v > kMaxFileNodes)
      return scan.fail("node " + std::string(token) + " out of range 1.." + std::to_string(kMaxFileNodes));
    result.push_back(static_cast<int32_t>(v - 1));
  }
  if (dimension >= 0 && static_cast<int64_t>(result.size()) != dimension)
    return scan.fail("the tour lists " + std::to_string(result.size()) + " nodes but DIMENSION is " +
                     std::to_string(dimension));
  if (FileStatus s = checkTrailer(scan, "tour"); !s) return s;
  cycle = std::move(result);
  return {};
}

}  // namespace hc
