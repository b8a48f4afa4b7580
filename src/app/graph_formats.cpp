// Reading goes through the readers of each format; writing through their writers. The new
// exchange formats meet the solver graph only through PlainGraph.
#include "app/graph_formats.h"

#include <algorithm>
#include <filesystem>

#include "app/cycle_files.h"
#include "app/dimacs_graph_format.h"
#include "app/edge_list_format.h"
#include "app/graph6_format.h"
#include "app/plain_graph.h"
#include "app/tsplib_files.h"

namespace hc {

GraphFormat graphFormatOfPath(const std::string& path) {
  const std::string ext = fileExtension(path);
  if (ext == "txt") return GraphFormat::AdjacencyText;
  if (ext == "obj") return GraphFormat::Obj;
  if (ext == "g") return GraphFormat::Drawing;
  if (ext == "hcp") return GraphFormat::Hcp;
  if (ext == "g6") return GraphFormat::Graph6;
  if (ext == "s6") return GraphFormat::Sparse6;
  if (ext == "col" || ext == "dimacs") return GraphFormat::Dimacs;
  if (ext == "edges" || ext == "el") return GraphFormat::EdgeList;
  return GraphFormat::Unknown;
}

bool canReadFormat(GraphFormat format) {
  return format != GraphFormat::Unknown;
}

bool canWriteFormat(GraphFormat format) {
  return format != GraphFormat::Unknown && format != GraphFormat::Obj && format != GraphFormat::Drawing;
}

bool holdsSeveralGraphs(GraphFormat format) {
  return format == GraphFormat::Graph6 || format == GraphFormat::Sparse6;
}

const char* readableExtensions() {
  return ".txt, .obj, .g, .hcp, .g6, .s6, .col, .dimacs, .edges, .el";
}
const char* writableExtensions() {
  return ".txt, .hcp, .g6, .s6, .col, .dimacs, .edges, .el";
}

namespace {

// A name on one line (it ends up in a comment or header line).
std::string oneLineName(std::string name) {
  for (char& c : name)
    if (c == '\n' || c == '\r') c = ' ';
  return name;
}

}  // namespace

FileStatus writeGraphFile(const std::string& path, const Graph& graph, const std::string& name,
                          const FormatOptions& options) {
  const GraphFormat format = graphFormatOfPath(path);
  if (!canWriteFormat(format))
    return FileStatus::failure(path + ": cannot write this format (use " + writableExtensions() + ")");
  if (format == GraphFormat::AdjacencyText) return writeAdjacencyText(graph, path);
  const std::string shownName = oneLineName(name);
  if (format == GraphFormat::Hcp) return writeFileAtomically(path, formatHcp(shownName, graph));
  if (holdsSeveralGraphs(format)) {
    if (format == GraphFormat::Graph6)
      if (std::string problem = graph6LineProblem(graph); !problem.empty())
        return FileStatus::failure(path + ": " + problem);
    return writeFileAtomically(path, graphLinesHeader(format) + graphLine(format, graph));
  }
  const PlainGraph plain = plainGraphOf(graph);
  std::string text;
  switch (format) {
    case GraphFormat::Dimacs:
      text = formatDimacsGraph(shownName, plain);
      break;
    default:
      text = formatEdgeList(shownName, plain, options.edgeListBase);
      break;
  }
  return writeFileAtomically(path, text);
}

std::string graphLinesHeader(GraphFormat format) {
  return format == GraphFormat::Graph6 ? ">>graph6<<" : format == GraphFormat::Sparse6 ? ">>sparse6<<" : "";
}

std::string graphLine(GraphFormat format, const Graph& graph) {
  const PlainGraph plain = plainGraphOf(graph);
  return (format == GraphFormat::Graph6 ? encodeGraph6(plain) : encodeSparse6(plain)) + "\n";
}

std::string graph6LineProblem(const Graph& graph) {
  if (graph.howManyNodes <= kMaxGraph6WriteNodes) return {};
  return "graph6 is written for at most " + std::to_string(kMaxGraph6WriteNodes) +
         " nodes (it needs n(n-1)/12 bytes whatever the edges); use .s6 for larger graphs";
}

std::string GraphRecord::where() const {
  return line > 0 ? path + ": line " + std::to_string(line) : path;
}

LoadedGraph loadGraphRecord(const GraphRecord& record, const FormatOptions& options) {
  const GraphFormat format = graphFormatOfPath(record.path);
  if (record.line == 0 && (format == GraphFormat::AdjacencyText || format == GraphFormat::Obj ||
                           format == GraphFormat::Drawing || format == GraphFormat::Hcp))
    return loadGraphFile(record.path, options);
  LoadedGraph result;
  result.description.sourceType = kHcpFile;  // shown by its file name, like every file
  result.description.filePath = record.path;
  PlainGraph plain;
  if (holdsSeveralGraphs(format) && record.line == 0) {
    // The first graph of the file stands for the file.
    GraphFileReader reader;
    if (std::string problem = reader.open(record.path); !problem.empty()) {
      result.error = problem;
      return result;
    }
    GraphRecord first;
    bool tooLong = false;
    if (!reader.next(first, tooLong)) {
      result.error = record.path + ": no graph in the file";
      return result;
    }
    if (tooLong) {
      result.error = reader.tooLongError(first);
      return result;
    }
    return loadGraphRecord(first, options);
  }
  if (holdsSeveralGraphs(format)) {
    if (std::string problem = decodeGraph6Line(record.text, plain); !problem.empty()) {
      result.error = record.where() + ": " + problem;
      return result;
    }
  } else {
    std::string text;
    FileStatus status = readWholeFile(record.path, text);
    if (status) {
      status = format == GraphFormat::Dimacs ? parseDimacsGraph(text, record.path, plain)
                                             : parseEdgeList(text, record.path, options.edgeListBase, plain);
    }
    if (!status) {
      result.error = status.error;
      return result;
    }
  }
  result.graph = buildGraphFromPlain(plain);
  result.graph->inputFileName = record.path;
  result.graph->outputFileName = hamiltonianCycleFileName(record.path);
  result.description.nodes = result.graph->howManyNodes;
  return result;
}

std::string GraphFileReader::open(const std::string& path) {
  path_ = path;
  format_ = graphFormatOfPath(path);
  lineNumber_ = 0;
  wholeFileGiven_ = false;
  if (!canReadFormat(format_)) {
    std::string ext = fileExtension(path);
    return path + ": unknown graph file extension " +
           (ext.empty() ? std::string("(none)") : "\"." + ext + "\"") + " (use " + readableExtensions() + ")";
  }
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  if (ec || !std::filesystem::exists(status)) return path + ": no such file";
  if (std::filesystem::is_directory(status)) return path + ": is a folder, not a graph file";
  if (!holdsSeveralGraphs(format_)) return {};  // the record's loader reads the file itself
  // A device or FIFO named .g6 would stream forever: the same refusal as every reader's.
  if (FileStatus status = checkInputFile(path); !status) return status.error;
  in_.close();
  in_.clear();
  in_.open(path, std::ios::binary);
  if (!in_) return path + ": cannot open the file";
  return {};
}

bool GraphFileReader::readLine(std::string& line, bool& tooLong) {
  line.clear();
  tooLong = false;
  if (!in_) return false;
  bool any = false;
  for (int c; (c = in_.get()) != std::char_traits<char>::eof();) {
    any = true;
    if (c == '\n') break;
    if (line.size() < kMaxGraphLineBytes) {
      line += static_cast<char>(c);
    } else {
      tooLong = true;
    }
  }
  if (!any) return false;
  ++lineNumber_;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

bool GraphFileReader::next(GraphRecord& record, bool& tooLong) {
  tooLong = false;
  record.path = path_;
  record.text.clear();
  if (!holdsSeveralGraphs(format_)) {
    if (wholeFileGiven_) return false;
    wholeFileGiven_ = true;
    record.line = 0;
    return true;
  }
  std::string line;
  while (readLine(line, tooLong)) {
    record.line = lineNumber_;
    if (tooLong) return true;
    std::string_view view(line);
    view.remove_prefix(graph6HeaderOf(view).size());
    if (view.empty()) continue;  // blank lines, or a header on a line of its own
    record.text.assign(view);
    return true;
  }
  return false;
}

std::string GraphFileReader::tooLongError(const GraphRecord& record) const {
  return record.where() + ": line longer than " + std::to_string(kMaxGraphLineBytes >> 20) + " MiB";
}

bool fileHoldsSeveralGraphs(const std::string& path) {
  if (!holdsSeveralGraphs(graphFormatOfPath(path))) return false;
  GraphFileReader reader;
  if (!reader.open(path).empty()) return false;
  GraphRecord record;
  bool tooLong = false;
  return reader.next(record, tooLong) && reader.next(record, tooLong);
}

}  // namespace hc
