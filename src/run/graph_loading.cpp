// The file checks common to every format run first (exists, a regular file, readable),
// so each reader only has its own format to judge.
#include "run/graph_loading.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <system_error>

#include "core/diagnostics.h"
#include "core/message_text.h"
#include "editor/drawing_conversion.h"
#include "generators/graph_generation.h"
#include "io/drawing_files.h"
#include "io/path_names.h"

namespace hc {

namespace {

std::string checkReadableFile(const std::string& path) {
  if (path == kStandardStreamPath) return {};  // standard input, read by the format's reader
  const std::string shown = printableText(path);
  std::error_code ec;
  auto status = std::filesystem::status(path, ec);
  if (ec || !std::filesystem::exists(status)) return shown + ": no such file";
  if (std::filesystem::is_directory(status)) return shown + ": is a folder, not a graph file";
  // Opening a FIFO would block and a device would never end: only regular files are read.
  if (!std::filesystem::is_regular_file(status))
    return shown + ": not a regular file (a device, FIFO or socket cannot be read as input)";
  std::ifstream probe(path, std::ios::binary);
  if (!probe) return shown + ": cannot open the file (permission denied?)";
  return {};
}

// Every refusal leaves here as one printable line, whichever step wrote it: a path or a
// piece of the file it quotes may hold any bytes.
LoadedGraph printable(LoadedGraph result) {
  result.error = printableText(result.error);
  return result;
}

// The source of a file: text, drawing and OBJ files have their own; every other file is
// shown by its name, like an .hcp file.
GraphSource sourceOf(const GraphFormatInfo* format) {
  if (format == nullptr) return GraphSource::kNoGraph;
  switch (format->format) {
    case GraphFormat::kAdjacencyText: return GraphSource::kTextFile;
    case GraphFormat::kDrawing: return GraphSource::kDrawingFile;
    case GraphFormat::kObj: return GraphSource::kObjFile;
    default: return GraphSource::kHcpFile;
  }
}

// A load given up at a stop request: no graph, and the one line that says so.
LoadedGraph stoppedLoad(LoadedGraph result, const std::string& where) {
  result.graph.reset();
  result.error = FileStatus::stoppedReading(where).error;
  result.stopped = true;
  return result;
}

// One record of `source`, read by `read` and built by generation (the road of every graph).
LoadedGraph buildRecord(const GraphRecord& record, GraphSource source,
                        const std::function<FileStatus(PlainGraph&)>& read, const StopToken* stop) {
  LoadedGraph result;
  result.description.sourceType = source;
  result.description.filePath = record.path;
  GenerationRequest request;
  request.source = source;
  request.n = -1;
  request.x = -1.0;
  request.inputFileName = record.path;
  // A drawing's graph is named as the editor names a drawing it converts.
  request.outputFileName =
      source == GraphSource::kDrawingFile ? kUserDefinedGraphName : hamiltonianCycleFileName(record.path);
  bool stopped = false;
  request.readFile = [&](PlainGraph& plain) {
    const FileStatus status = read(plain);
    stopped = status.stopped;
    if (status) return std::string();
    return status.error.empty() ? record.path + ": cannot be read" : status.error;
  };
  GenerationResult built = generateGraph(request, stop);
  if (stopped) {  // the reader's own line says where it stopped
    result.error = built.error;
    result.stopped = true;
    return result;
  }
  if (built.error == kGenerationCancelled) return stoppedLoad(std::move(result), record.where());
  if (!built) {
    result.error = built.error;
    return result;
  }
  result.graph = std::move(built.graph);
  result.description.nodes = result.graph->howManyNodes;
  if (source == GraphSource::kDrawingFile) result.description.drawingNodes = result.graph->howManyNodes;
  return result;
}

// One record read by its format's row.
LoadedGraph loadRecord(const GraphRecord& record, const GraphFormatInfo* format,
                       const FormatOptions& options) {
  const GraphSource source = record.line > 0 ? GraphSource::kHcpFile : sourceOf(format);
  if (format == nullptr) {
    LoadedGraph result;
    result.description.sourceType = source;
    result.description.filePath = record.path;
    result.error = unknownGraphExtensionError(record.path);
    return result;
  }
  return buildRecord(
      record, source, [&](PlainGraph& plain) { return format->read(record, options, plain); }, options.stop);
}

LoadedGraph loadGraphFileQuietly(const std::string& path, const FormatOptions& options) {
  if (std::string problem = checkReadableFile(path); !problem.empty()) {
    LoadedGraph result;
    result.description.filePath = path;
    result.description.sourceType = sourceOf(graphFormatOfPath(path));
    result.error = problem;
    return result;
  }
  return loadRecord(GraphRecord{path, 0, {}}, graphFormatOfPath(path), options);
}

}  // namespace

GraphSource graphSourceOfPath(const std::string& path) {
  return sourceOf(graphFormatOfPath(path));
}

LoadedGraph loadGraphFile(const std::string& path, const FormatOptions& options) {
  // A reader that refuses a file may also have written its own message to the diagnostic
  // stream; the caller's one error line is enough, so such messages are kept only when the
  // graph was built.
  std::ostringstream messages;
  LoadedGraph result;
  {
    ScopedDiagnosticStream capture(messages);
    result = loadGraphFileQuietly(path, options);
  }
  if (result && !messages.str().empty()) diagnostic(messages.str());
  return printable(std::move(result));
}

LoadedGraph loadGraphRecord(const GraphRecord& record, const FormatOptions& options) {
  const GraphFormatInfo* format = graphFormatOfPath(record.path);
  // Whole text, OBJ, drawing and HCP files take loadGraphFile's road (its file checks and
  // its hold on reader messages); the exchange formats are read by their readers alone.
  if (record.line == 0 && format != nullptr) {
    switch (format->format) {
      case GraphFormat::kAdjacencyText:
      case GraphFormat::kObj:
      case GraphFormat::kDrawing:
      case GraphFormat::kHcp: return loadGraphFile(record.path, options);
      default: break;
    }
  }
  return printable(loadRecord(record, format, options));
}

namespace {

RunInput forRun(LoadedGraph loaded) {
  RunInput input;
  input.loaded = std::move(loaded);
  // A read stopped part way has its name too: the report of the stopped run shows it.
  if (input.loaded || input.loaded.stopped) input.name = graphDisplayName(input.loaded.description);
  if (input.loaded) input.asLoaded = EdgeSnapshot(*input.loaded.graph);
  return input;
}

}  // namespace

LoadedGraph loadDrawingFile(const std::string& path, Graph2D& drawing) {
  Graph2D read;
  LoadedGraph loaded = buildRecord(
      GraphRecord{path, 0, {}}, GraphSource::kDrawingFile,
      [&](PlainGraph& plain) { return readDrawingGraph(path, read, plain); }, nullptr);
  if (loaded) drawing = std::move(read);
  return loaded;
}

RunInput loadRunInput(const std::string& path, const FormatOptions& options) {
  return forRun(loadGraphFile(path, options));
}

RunInput loadRunInput(const GraphRecord& record, const FormatOptions& options) {
  return forRun(loadGraphRecord(record, options));
}

}  // namespace hc
