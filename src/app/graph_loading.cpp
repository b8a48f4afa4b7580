// The file checks common to every format run first (exists, a regular file, readable),
// so each reader only has its own format to judge.
#include "app/graph_loading.h"

#include <filesystem>
#include <sstream>
#include <fstream>
#include <system_error>

#include "app/cycle_files.h"
#include "app/graph_formats.h"
#include "app/tsplib_files.h"
#include "core/diagnostics.h"
#include "editor/drawing_conversion.h"
#include "editor/g_file.h"
#include "generators/graph_generation.h"

namespace hc {

namespace {

std::string checkReadableFile(const std::string& path) {
  std::error_code ec;
  auto status = std::filesystem::status(path, ec);
  if (ec || !std::filesystem::exists(status)) return path + ": no such file";
  if (std::filesystem::is_directory(status)) return path + ": is a folder, not a graph file";
  // Opening a FIFO would block and a device would never end: only regular files are read.
  if (!std::filesystem::is_regular_file(status))
    return path + ": not a regular file (a device, FIFO or socket cannot be read as input)";
  std::ifstream probe(path, std::ios::binary);
  if (!probe) return path + ": cannot open the file (permission denied?)";
  return {};
}

}  // namespace

int32_t graphSourceTypeOfPath(const std::string& path) {
  std::string ext = fileExtension(path);
  if (ext == "txt") return kTextFile;
  if (ext == "g") return kDrawingFile;
  if (ext == "obj") return kObjFile;
  if (ext == "hcp") return kHcpFile;
  // The exchange formats are shown by their file name, like .hcp files.
  if (graphFormatOfPath(path) != GraphFormat::Unknown) return kHcpFile;
  return kNoGraph;
}

std::string hamiltonianCycleFileName(const std::string& path) {
  size_t nameStart = path.find_last_of("/\\");
  nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
  size_t dot = path.rfind('.');
  if (dot == std::string::npos || dot <= nameStart) return path + "-HC";
  return path.substr(0, dot) + "-HC" + path.substr(dot);
}

namespace {

LoadedGraph loadGraphFileQuietly(const std::string& path, const FormatOptions& options) {
  LoadedGraph result;
  result.description.filePath = path;
  result.description.sourceType = graphSourceTypeOfPath(path);
  if (std::string problem = checkReadableFile(path); !problem.empty()) {
    result.error = problem;
    return result;
  }
  switch (graphFormatOfPath(path)) {
    case GraphFormat::Graph6:
    case GraphFormat::Sparse6:
    case GraphFormat::Dimacs:
    case GraphFormat::EdgeList:
      return loadGraphRecord(GraphRecord{path, 0, {}}, options);
    default:
      break;
  }
  if (result.description.sourceType == kNoGraph) {
    std::string ext = fileExtension(path);
    result.error = path + ": unknown graph file extension " + (ext.empty() ? std::string("(none)") : "\"." + ext + "\"") +
                   " (use " + readableExtensions() + ")";
    return result;
  }
  switch (result.description.sourceType) {
    case kTextFile:
    case kObjFile: {
      GenerationRequest request;
      request.graphType = result.description.sourceType == kTextFile ? 9 : 10;
      request.n = -1;
      request.x = -1.0;
      request.inputFileName = path;
      request.outputFileName = hamiltonianCycleFileName(path);
      GenerationResult built = generateGraph(request);
      if (!built) {
        result.error = built.error;
        return result;
      }
      result.graph = std::move(built.graph);
      break;
    }
    case kDrawingFile: {
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
      break;
    }
    case kHcpFile: {
      HcpContents contents;
      if (FileStatus s = readHcpFile(path, contents); !s) {
        result.error = s.error;
        return result;
      }
      result.graph = buildGraphFromHcp(contents);
      result.graph->inputFileName = path;
      result.graph->outputFileName = hamiltonianCycleFileName(path);
      break;
    }
    default:
      break;
  }
  result.description.nodes = result.graph->howManyNodes;
  return result;
}

}  // namespace

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
  return result;
}

}  // namespace hc
