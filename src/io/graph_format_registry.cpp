// The rows of the format table and the small adapters that fit each format's own reader and
// writer to the table's two signatures. The exchange formats meet the solver graph only
// through PlainGraph.
#include "io/graph_format_registry.h"

#include <atomic>

#include "io/adjacency_text_format.h"
#include "io/dimacs_graph_format.h"
#include "io/drawing_files.h"
#include "io/edge_list_format.h"
#include "io/graph6_format.h"
#include "io/graph_file_reader.h"
#include "io/obj_format.h"
#include "io/path_names.h"
#include "io/tsplib_format.h"

namespace hc {

namespace {

// The whole file's text, given to `parse`.
template <typename Parse>
FileStatus readWholeFile(const GraphRecord& record, const FormatOptions& options, Parse parse) {
  std::string text;
  if (FileStatus status = readInputFile(record.path, text, options.stop); !status) return status;
  return parse(std::string_view(text));
}

FileStatus readText(const GraphRecord& record, const FormatOptions& options, PlainGraph& out) {
  return readWholeFile(record, options, [&](std::string_view text) {
    return parseAdjacencyText(text, record.path, out, options.stop);
  });
}

FileStatus readObj(const GraphRecord& record, const FormatOptions& options, PlainGraph& out) {
  return readWholeFile(record, options,
                       [&](std::string_view text) { return parseObj(text, record.path, out, options.stop); });
}

FileStatus readDrawing(const GraphRecord& record, const FormatOptions&, PlainGraph& out) {
  Graph2D drawing;
  return readDrawingGraph(record.path, drawing, out);
}

FileStatus readHcp(const GraphRecord& record, const FormatOptions& options, PlainGraph& out) {
  return readHcpFile(record.path, out, options.stop);
}

FileStatus readGraphLines(const GraphRecord& record, const FormatOptions& options, PlainGraph& out) {
  if (record.line > 0) {
    if (std::string problem = decodeGraph6Line(record.text, out, options.stop); !problem.empty())
      return problem == FileStatus::kReadingStopped ? FileStatus::stoppedReading(record.where())
                                                    : FileStatus::failure(record.where() + ": " + problem);
    return {};
  }
  // The first graph of the file stands for the file.
  GraphFileReader reader;
  if (std::string problem = reader.open(record.path); !problem.empty()) return FileStatus::failure(problem);
  GraphRecord first;
  bool tooLong = false;
  if (!reader.next(first, tooLong)) return FileStatus::failure(record.path + ": no graph in the file");
  if (tooLong) return FileStatus::failure(reader.tooLongError(first));
  return readGraphLines(first, options, out);
}

FileStatus readDimacs(const GraphRecord& record, const FormatOptions& options, PlainGraph& out) {
  return readWholeFile(record, options, [&](std::string_view text) {
    return parseDimacsGraph(text, record.path, out, options.stop);
  });
}

FileStatus readEdgeList(const GraphRecord& record, const FormatOptions& options, PlainGraph& out) {
  return readWholeFile(record, options, [&](std::string_view text) {
    return parseEdgeList(text, record.path, options.edgeListBase, out, options.stop);
  });
}

std::string writeText(const Graph& graph, const std::string&, const FormatOptions&, std::string& text) {
  text = adjacencyText(graph);
  return {};
}

std::string writeHcp(const Graph& graph, const std::string& name, const FormatOptions&, std::string& text) {
  text = formatHcp(name, graph);
  return {};
}

std::string writeGraph6(const Graph& graph, const std::string&, const FormatOptions&, std::string& text) {
  if (graph.howManyNodes > kMaxGraph6WriteNodes)
    return "graph6 is written for at most " + std::to_string(kMaxGraph6WriteNodes) +
           " nodes (it needs n(n-1)/12 bytes whatever the edges); use .s6 for larger graphs";
  text = encodeGraph6(plainGraphOf(graph)) + "\n";
  return {};
}

std::string writeSparse6(const Graph& graph, const std::string&, const FormatOptions&, std::string& text) {
  text = encodeSparse6(plainGraphOf(graph)) + "\n";
  return {};
}

std::string writeDimacs(const Graph& graph, const std::string& name, const FormatOptions&,
                        std::string& text) {
  text = formatDimacsGraph(name, plainGraphOf(graph));
  return {};
}

std::string writeEdgeList(const Graph& graph, const std::string& name, const FormatOptions& options,
                          std::string& text) {
  text = formatEdgeList(name, plainGraphOf(graph), options.edgeListBase);
  return {};
}

// A name on one line (it ends up in a comment or header line).
std::string oneLineName(std::string name) {
  for (char& c : name)
    if (c == '\n' || c == '\r') c = ' ';
  return name;
}

std::string extensionList(bool writableOnly) {
  std::string list;
  for (const GraphFormatInfo& info : graphFormats()) {
    if (writableOnly && info.write == nullptr) continue;
    for (const std::string& ext : info.extensions) list += (list.empty() ? "." : ", .") + ext;
  }
  return list;
}

// "*.col *.dimacs".
std::string patterns(const std::vector<std::string>& extensions) {
  std::string list;
  for (const std::string& ext : extensions) list += (list.empty() ? "*." : " *.") + ext;
  return list;
}

}  // namespace

const std::vector<GraphFormatInfo>& graphFormats() {
  static const std::vector<GraphFormatInfo> formats{
      {GraphFormat::kAdjacencyText, "Adjacency Text", {"txt"}, readText, writeText, false, false, ""},
      {GraphFormat::kObj, "OBJ Mesh", {"obj"}, readObj, nullptr, false, false, ""},
      {GraphFormat::kDrawing, "Graph Editor Drawing", {"g"}, readDrawing, nullptr, false, false, ""},
      {GraphFormat::kHcp, "TSPLIB HCP", {"hcp"}, readHcp, writeHcp, false, true, ""},
      {GraphFormat::kGraph6, "graph6", {"g6"}, readGraphLines, writeGraph6, true, false, ">>graph6<<"},
      {GraphFormat::kSparse6, "sparse6", {"s6"}, readGraphLines, writeSparse6, true, false, ">>sparse6<<"},
      {GraphFormat::kDimacs, "DIMACS Graph", {"col", "dimacs"}, readDimacs, writeDimacs, false, false, ""},
      {GraphFormat::kEdgeList, "Edge List", {"edges", "el"}, readEdgeList, writeEdgeList, false, false, ""},
  };
  return formats;
}

const GraphFormatInfo& graphFormatInfo(GraphFormat format) {
  for (const GraphFormatInfo& info : graphFormats())
    if (info.format == format) return info;
  return graphFormats().front();  // every enumerator has its row
}

namespace {
std::atomic<const GraphFormatInfo*> standardStreamFormat{nullptr};
}  // namespace

void setStandardStreamFormat(const GraphFormatInfo* format) {
  standardStreamFormat = format;
}

const GraphFormatInfo* graphFormatOfName(const std::string& name) {
  for (const GraphFormatInfo& info : graphFormats())
    for (const std::string& known : info.extensions)
      if (name == known) return &info;
  return nullptr;
}

std::vector<std::string> graphFormatNames() {
  std::vector<std::string> names;
  for (const GraphFormatInfo& info : graphFormats())
    names.insert(names.end(), info.extensions.begin(), info.extensions.end());
  return names;
}

std::string formatNameList() {
  std::string list;
  for (const std::string& name : graphFormatNames()) list += (list.empty() ? "" : ", ") + name;
  return list;
}

const GraphFormatInfo* graphFormatOfPath(const std::string& path) {
  if (path == kStandardStreamPath) return standardStreamFormat;
  const std::string ext = fileExtension(path);
  for (const GraphFormatInfo& info : graphFormats())
    for (const std::string& known : info.extensions)
      if (ext == known) return &info;
  return nullptr;
}

std::string readableExtensions() {
  return extensionList(false);
}
std::string writableExtensions() {
  return extensionList(true);
}

std::string unknownGraphExtensionError(const std::string& path) {
  if (path == kStandardStreamPath)
    return "-: standard input has no extension to tell its format; give --format (" + formatNameList() + ")";
  const std::string ext = fileExtension(path);
  return printableText(path) + ": unknown graph file extension " +
         (ext.empty() ? std::string("(none)") : "\"." + printableText(ext) + "\"") + " (use " +
         readableExtensions() + ")";
}

std::string graphOpenDialogFilter() {
  std::vector<std::string> all;
  std::string entries;
  for (const GraphFormatInfo& info : graphFormats()) {
    all.insert(all.end(), info.extensions.begin(), info.extensions.end());
    entries += ";;" + info.name + " Files (" + patterns(info.extensions) + ")";
  }
  return "All Graph Files (" + patterns(all) + ")" + entries + ";;All Files (*)";
}

std::string GraphRecord::where() const {
  return line > 0 ? path + ": line " + std::to_string(line) : path;
}

FileStatus writeGraphFile(const std::string& path, const Graph& graph, const std::string& name,
                          const FormatOptions& options) {
  const GraphFormatInfo* info = graphFormatOfPath(path);
  if (info == nullptr || info->write == nullptr)
    return FileStatus::failure(path + ": cannot write this format (use " + writableExtensions() + ")");
  std::string text;
  if (std::string problem = info->write(graph, oneLineName(name), options, text); !problem.empty())
    return FileStatus::failure(path + ": " + problem);
  if (path == kStandardStreamPath) return writeStandardOutput(info->fileHeader + text);
  return writeFileAtomically(path, info->fileHeader + text);
}

std::string whatTheFormatDrops(const Graph& graph, const GraphFormatInfo& format) {
  if (format.keepsForcedEdges) return {};
  const size_t forced = plainGraphOf(graph).forced.size();
  if (forced == 0) return {};
  return format.name + " does not keep forced edges: " + std::to_string(forced) +
         (forced == 1 ? " is" : " are") + " dropped";
}

}  // namespace hc
