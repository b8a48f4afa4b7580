// The file checks common to every format run first (exists, a regular file, readable),
// so each reader only has its own format to judge.
#include "run/graph_loading.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <system_error>

#include "core/diagnostics.h"
#include "core/message_text.h"
#include "editor/drawing_conversion.h"
#include "generators/graph_generation.h"
#include "io/adjacency_text_format.h"
#include "io/g_file.h"
#include "io/obj_format.h"
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

// The source type of a file: text, drawing and OBJ files have their own; every other file
// is shown by its name, like an .hcp file.
int32_t sourceTypeOf(const GraphFormatInfo* format) {
  if (format == nullptr) return kNoGraph;
  switch (format->format) {
    case GraphFormat::AdjacencyText:
      return kTextFile;
    case GraphFormat::Drawing:
      return kDrawingFile;
    case GraphFormat::Obj:
      return kObjFile;
    default:
      return kHcpFile;
  }
}

// "" when the step went well, else its error line.
std::string errorOf(const FileStatus& status, const std::string& path) {
  if (status) return {};
  return status.error.empty() ? path + ": cannot be read" : status.error;
}

// Generation's two reading steps for text (type 9) and OBJ (type 10) files. The file is read
// once: the counting step keeps its text for the step that adds the edges. Both hear `stop`;
// `stopped` records that they gave up for it.
FileReadingSteps readingStepsOf(GraphFormat format, const StopToken* stop, std::shared_ptr<bool> stopped) {
  auto text = std::make_shared<std::string>();
  const bool obj = format == GraphFormat::Obj;
  auto errorOrStop = [stopped](const FileStatus& status, const std::string& path) {
    if (status.stopped) *stopped = true;
    return errorOf(status, path);
  };
  FileReadingSteps steps;
  steps.countNodes = [text, obj, stop, errorOrStop](const std::string& path, int32_t& n) {
    FileStatus status = readInputFile(path, *text, stop);
    if (status) status = obj ? countObjVertexLines(*text, path, n) : countAdjacencyTextLines(*text, path, n);
    return errorOrStop(status, path);
  };
  steps.addEdges = [text, obj, stop, errorOrStop](Graph& graph) {
    const FileStatus status = obj ? addObjGraph(graph, *text, stop) : addAdjacencyText(graph, *text, stop);
    std::string().swap(*text);  // the text is not needed once the graph holds its edges
    return errorOrStop(status, graph.inputFileName);
  };
  return steps;
}

// A load given up at a stop request: no graph, and the one line that says so.
LoadedGraph stoppedLoad(LoadedGraph result, const std::string& where) {
  result.graph.reset();
  result.error = FileStatus::stoppedReading(where).error;
  result.stopped = true;
  return result;
}

// A record read by its format's reader and built as it stands.
LoadedGraph loadPlainRecord(const GraphRecord& record, const GraphFormatInfo* format,
                            const FormatOptions& options) {
  LoadedGraph result;
  result.description.sourceType = kHcpFile;  // shown by its file name, like every file
  result.description.filePath = record.path;
  if (format == nullptr) {
    result.error = unknownGraphExtensionError(record.path);
    return result;
  }
  PlainGraph plain;
  if (FileStatus status = format->read(record, options, plain); !status) {
    result.error = status.error;
    result.stopped = status.stopped;
    return result;
  }
  result.graph = buildGraphFromPlain(plain);
  if (stopRequested(options.stop)) return stoppedLoad(std::move(result), record.where());
  result.graph->inputFileName = record.path;
  result.graph->outputFileName = hamiltonianCycleFileName(record.path);
  result.description.nodes = result.graph->howManyNodes;
  return result;
}

LoadedGraph loadGraphFileQuietly(const std::string& path, const FormatOptions& options) {
  LoadedGraph result;
  const GraphFormatInfo* format = graphFormatOfPath(path);
  result.description.filePath = path;
  result.description.sourceType = sourceTypeOf(format);
  if (std::string problem = checkReadableFile(path); !problem.empty()) {
    result.error = problem;
    return result;
  }
  if (format == nullptr) {
    result.error = unknownGraphExtensionError(path);
    return result;
  }
  switch (format->format) {
    case GraphFormat::AdjacencyText:
    case GraphFormat::Obj: {
      GenerationRequest request;
      request.graphType = format->format == GraphFormat::AdjacencyText ? 9 : 10;
      request.n = -1;
      request.x = -1.0;
      request.inputFileName = path;
      auto stopped = std::make_shared<bool>(false);
      request.fileReader = readingStepsOf(format->format, options.stop, stopped);
      request.outputFileName = hamiltonianCycleFileName(path);
      GenerationResult built = generateGraph(request, options.stop);
      if (*stopped || built.error == kGenerationCancelled) return stoppedLoad(std::move(result), path);
      if (!built) {
        result.error = built.error;
        return result;
      }
      result.graph = std::move(built.graph);
      break;
    }
    case GraphFormat::Drawing: {
      Graph2D drawing;
      EditorStatus status = loadGFile(path, drawing);
      if (!status) {
        result.error = !status.error.empty() ? status.error : path + ": cannot read the drawing";
        return result;
      }
      if (drawing.nodeCount() == 0) {
        result.error = path + ": the drawing has no nodes";
        return result;
      }
      result.description.drawingNodes = drawing.nodeCount();
      result.graph = std::make_unique<Graph>(convertDrawingToGraph(drawing, kUserDefinedGraphName));
      if (stopRequested(options.stop)) return stoppedLoad(std::move(result), path);
      break;
    }
    default:
      return loadPlainRecord(GraphRecord{path, 0, {}}, format, options);
  }
  result.description.nodes = result.graph->howManyNodes;
  return result;
}

}  // namespace

int32_t graphSourceTypeOfPath(const std::string& path) {
  return sourceTypeOf(graphFormatOfPath(path));
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
      case GraphFormat::AdjacencyText:
      case GraphFormat::Obj:
      case GraphFormat::Drawing:
      case GraphFormat::Hcp:
        return loadGraphFile(record.path, options);
      default:
        break;
    }
  }
  return printable(loadPlainRecord(record, format, options));
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

RunInput loadRunInput(const std::string& path, const FormatOptions& options) {
  return forRun(loadGraphFile(path, options));
}

RunInput loadRunInput(const GraphRecord& record, const FormatOptions& options) {
  return forRun(loadGraphRecord(record, options));
}

}  // namespace hc
