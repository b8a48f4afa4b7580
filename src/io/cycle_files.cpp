// Cycle files. The adjacency text of a cycle is read as a set of edges, so a broken file
// (a node with three listed neighbours, two separate rings) is reported by the verifier
// with the fault it has rather than as an unreadable file.
#include "io/cycle_files.h"

#include <algorithm>
#include <array>

#include "core/message_text.h"
#include "io/obj_format.h"
#include "io/path_names.h"
#include "io/plain_graph.h"
#include "io/text_lines.h"
#include "io/tsplib_format.h"

namespace hc {

namespace {

FileStatus badId(const std::string& where, int64_t line, std::string_view token, int32_t firstId = 0) {
  const std::string shown = printableText(token.substr(0, 24));
  return FileStatus::failure(where + ": line " + std::to_string(line) + ": \"" + shown +
                             "\" is not a node number (" + std::to_string(firstId) + ".." +
                             std::to_string(kMaxFileNodes - 1 + firstId) + ")");
}

// The polyline of an OBJ cycle file: "l" and 1-based vertex numbers, the first repeated at
// the end. Every other line (vertices, comments) is ignored; exactly one "l" line.
FileStatus parseObjCycle(const std::string& text, const std::string& where, CycleFileContents& out) {
  TextLines lines(text);
  std::string_view line;
  bool found = false;
  CycleFileContents result;
  while (lines.next(line)) {
    auto tokens = wordsOf(line, SIZE_MAX, kWhitespace);
    if (tokens.empty() || tokens[0] != "l") continue;
    if (found)
      return FileStatus::failure(where + ": line " + std::to_string(lines.number()) + ": a second polyline");
    found = true;
    for (size_t k = 1; k < tokens.size(); ++k) {
      int64_t v = 0;
      if (!wholeInteger(tokens[k], v) || v < 1 || v > kMaxFileNodes)
        return badId(where, lines.number(), tokens[k], 1);
      result.sequence.push_back(static_cast<int32_t>(v - 1));
    }
  }
  if (!found) return FileStatus::failure(where + ": no polyline (\"l ...\") in the file");
  if (result.sequence.size() > 1 && result.sequence.front() == result.sequence.back())
    result.sequence.pop_back();
  out = std::move(result);
  return {};
}

// A node list (one line, or one id per line) or adjacency text (an edge set).
FileStatus parseCycleText(const std::string& text, const std::string& where, CycleFileContents& out) {
  CycleFileContents result;
  // Lines with their tokens; blank lines are skipped.
  std::vector<std::pair<int64_t, std::vector<std::string_view>>> lines;
  TextLines scan(text);
  std::string_view line;
  while (scan.next(line)) {
    auto tokens = wordsOf(line, SIZE_MAX, kWhitespace);
    if (!tokens.empty()) lines.emplace_back(scan.number(), std::move(tokens));
  }
  if (lines.empty()) return FileStatus::failure(where + ": the file holds no cycle");
  bool idList = lines.size() == 1 || std::all_of(lines.begin(), lines.end(),
                                                 [](const auto& line) { return line.second.size() == 1; });
  for (const auto& [number, tokens] : lines) {
    std::vector<int32_t> ids;
    for (std::string_view token : tokens) {
      int64_t v = 0;
      if (!wholeInteger(token, v) || v < 0 || v >= kMaxFileNodes) return badId(where, number, token);
      ids.push_back(static_cast<int32_t>(v));
    }
    if (idList) {
      result.sequence.insert(result.sequence.end(), ids.begin(), ids.end());
    } else {
      for (size_t k = 1; k < ids.size(); ++k) result.edges.emplace_back(ids[0], ids[k]);
    }
  }
  if (idList) {
    if (result.sequence.size() > 1 && result.sequence.front() == result.sequence.back())
      result.sequence.pop_back();
  } else {
    result.isEdgeSet = true;
  }
  out = std::move(result);
  return {};
}

FileStatus parseTourCycle(const std::string& text, const std::string& where, CycleFileContents& out) {
  CycleFileContents result;
  if (FileStatus s = parseTour(text, where, result.sequence); !s) return s;
  out = std::move(result);
  return {};
}

FileStatus formatText(const std::string&, const std::string&, const Graph& solved,
                      std::span<const int32_t> cycle, std::string& text) {
  text = formatCycleAdjacencyText(solved, cycle);
  return {};
}

FileStatus formatObj(const std::string& path, const std::string&, const Graph& solved,
                     std::span<const int32_t> cycle, std::string& text) {
  if (!solved.hasCoordinates())
    return FileStatus::failure(
        path + ": an .obj cycle file needs node coordinates, which only graphs read from .obj files have");
  text = formatCycleObj(solved, cycle);
  return {};
}

FileStatus formatTourText(const std::string&, const std::string& name, const Graph&,
                          std::span<const int32_t> cycle, std::string& text) {
  text = formatTour(name, cycle);
  return {};
}

constexpr CycleFileFormatInfo kCycleFileFormats[] = {
    {CycleFileFormat::kText, "txt", parseCycleText, formatText},
    {CycleFileFormat::kObj, "obj", parseObjCycle, formatObj},
    {CycleFileFormat::kTour, "tour", parseTourCycle, formatTourText},
};

}  // namespace

std::span<const CycleFileFormatInfo> cycleFileFormats() {
  return kCycleFileFormats;
}

const CycleFileFormatInfo* cycleFileFormatOf(const std::string& path) {
  const std::string ext = fileExtension(path);
  for (const CycleFileFormatInfo& info : kCycleFileFormats)
    if (ext == info.extension) return &info;
  return nullptr;
}

const CycleFileFormatInfo& cycleFileFormatInfo(CycleFileFormat format) {
  for (const CycleFileFormatInfo& info : kCycleFileFormats)
    if (info.format == format) return info;
  return kCycleFileFormats[0];  // every enumerator has its row
}

FileStatus readCycleFile(const std::string& path, CycleFileContents& out) {
  std::string text;
  if (FileStatus s = readInputFile(path, text); !s) return s;
  const CycleFileFormatInfo* format = cycleFileFormatOf(path);
  return (format != nullptr ? *format : cycleFileFormatInfo(CycleFileFormat::kText)).parse(text, path, out);
}

std::string cycleOutputExtensions() {
  std::string list;
  const size_t count = std::size(kCycleFileFormats);
  for (size_t i = 0; i < count; ++i) {
    if (i > 0) list += i + 1 == count ? " or " : ", ";
    list += std::string(".") + kCycleFileFormats[i].extension;
  }
  return list;
}

std::string formatCycleAdjacencyText(const Graph& solved, std::span<const int32_t> cycle) {
  const size_t n = cycle.size();
  std::vector<std::array<int32_t, 2>> partners(n, {-1, -1});
  for (size_t i = 0; i < n; ++i) {
    int32_t v = cycle[i];
    partners[static_cast<size_t>(v)] = {cycle[(i + n - 1) % n], cycle[(i + 1) % n]};
  }
  std::string out;
  out.reserve(n * 20);
  for (size_t v = 0; v < n; ++v) {
    auto pair = partners[v];
    // Keep the order of the node's own neighbour array where both stand in it.
    if (static_cast<int32_t>(v) < solved.howManyNodes) {
      const Node& node = solved.node(static_cast<int32_t>(v));
      int32_t first = -1;
      for (int32_t k = 0; k < node.degree && first < 0; ++k)
        if (node.neighborArray[k] == pair[0] || node.neighborArray[k] == pair[1])
          first = node.neighborArray[k];
      if (first == pair[1]) std::swap(pair[0], pair[1]);
    }
    out += std::to_string(v);
    out += ' ';
    out += std::to_string(pair[0]);
    out += ' ';
    out += std::to_string(pair[1]);
    out += '\n';
  }
  return out;
}

CycleCheck checkCycleContents(const EdgeSnapshot& graph, const CycleFileContents& contents) {
  std::vector<int32_t> cycle = contents.sequence;
  CycleCheck check;
  if (contents.isEdgeSet) check = cycleFromEdges(graph.nodes(), contents.edges, cycle);
  if (check) check = isHamiltonianCycle(graph, cycle);
  return check;
}

FileStatus writeCycleFile(const std::string& path, const std::string& name, const Graph& solved,
                          std::span<const int32_t> cycle) {
  const CycleFileFormatInfo* format = cycleFileFormatOf(path);
  if (format == nullptr)
    return FileStatus::failure(path + ": unknown output extension (use " + cycleOutputExtensions() + ")");
  std::string text;
  if (FileStatus status = format->render(path, name, solved, cycle, text); !status) return status;
  return writeFileAtomically(path, text);
}

}  // namespace hc
