// The program states and the graph requests. The notification order matters to the
// pages: the editor hears first (manual edit mode may decide at once and move the state
// on from inside its notification), and every later page is told the state as it is when
// its turn comes.
#include "app/program_model.h"

#include <cmath>
#include <filesystem>

#include "editor/drawing_conversion.h"
#include "generators/graph_generation.h"
#include "io/drawing_files.h"
#include "io/graph_file_reader.h"
#include "io/graph_format_registry.h"
#include "run/graph_description.h"
#include "run/graph_loading.h"

namespace hc {

namespace {

constexpr const char* kMessageCaption = "Hamiltonian Cycles";
constexpr const char* severalGraphsQuestion =
    " holds several graphs, and the window works on one at a time. Load its first graph "
    "(line 1)? (hamcycles-cli reads every graph of the file, one after another.)";
constexpr const char* kTitle = "Hamiltonian Cycles";

}  // namespace

using enum GraphSource;

BuiltGraph buildRequestedGraph(const GraphRequest& request, const StopToken* stop,
                               std::function<void(double)> progress) {
  const GraphSource source = request.sourceType;
  BuiltGraph built;
  if (isGeneratorFamily(source)) {
    GenerationResult result = generateGraph(requestForFamily(source, request.parameter1, request.parameter2),
                                            stop, std::move(progress));
    built.graph = std::move(result.graph);
    built.error = std::move(result.error);
  } else if (source == kThreeSatReduction) {
    SatGenerationResult result =
        generate3SatGraph(request.parameter1, request.parameter2, stop, std::move(progress));
    built.graph = std::move(result.graph);
    built.error = std::move(result.error);
  } else {
    built.error = "ERROR: not a generated graph type: " + std::to_string(graphSourceCode(source));
  }
  if (!built.graph && built.error.empty()) built.error = "ERROR: the graph could not be built.";
  return built;
}

std::string viewFileFilter(const std::string& barSeparated) {
  std::string result;
  size_t at = 0;
  while (at < barSeparated.size()) {
    size_t bar = barSeparated.find('|', at);
    if (bar == std::string::npos || bar == at) break;
    std::string name = barSeparated.substr(at, bar - at);
    size_t end = barSeparated.find('|', bar + 1);
    if (end == std::string::npos) end = barSeparated.size();
    if (!result.empty()) result += ";;";
    result += name;
    at = end + 1;
  }
  return result;
}

ProgramModel::ProgramModel(ProgramView& view) : view_(view) {
  refreshTitle();
}

void ProgramModel::setPage(PageIndex index, ProgramPage* page) {
  if (index >= 0 && index < kPageCount) pages_[index] = page;
}

std::string ProgramModel::cycleFileSuggestion() const {
  // A drawing (submitted, or read from a .g file) is named as its conversion names it.
  if (graphSourceType_ == kUserDrawnGraph || graphSourceType_ == kDrawingFile) return kUserDefinedGraphName;
  return defaultCycleFileName(graphDisplayName(), graphSourceType_);
}

std::string ProgramModel::certificateFileSuggestion() const {
  std::string name = graphDisplayName();
  const bool file = isGraphFile(graphSourceType_);
  if (const size_t dot = name.rfind('.'); file && dot != std::string::npos && dot > 0) name.resize(dot);
  return name + ".proof";
}

std::string ProgramModel::graphDisplayName() const {
  GraphDescription description;
  description.sourceType = graphSourceType_;
  description.parameter1 = parameter1_;
  description.parameter2 = parameter2_;
  description.nodes = submittedGraph_ ? submittedGraph_->howManyNodes : 0;
  description.filePath = currentFilePath_;
  description.drawingNodes = drawing_.nodeCount();
  return hc::graphDisplayName(description);
}

std::string ProgramModel::statusText() const {
  return hc::statusText(programState_, algorithmChoice_, programResult_);
}

void ProgramModel::refreshTitle() {
  windowTitle_ = std::string(kTitle) + "  [" + graphDisplayName() + "]";
}

void ProgramModel::setProgramState(ProgramState state) {
  switch (state) {
    case ProgramState::kEditing:
      programState_ = state;
      graphSourceType_ = kNoGraph;
      submittedGraph_.reset();
      workingGraph_.reset();
      preparedWorkingCopy_.reset();
      if (copyJob_) copyJob_->abandon();
      currentFilePath_.clear();
      refreshTitle();
      break;
    case ProgramState::kSubmitted:
      programState_ = state;
      refreshTitle();
      if (copyJob_) copyJob_->abandon();  // not ready yet: copied here after all
      releaseInBackground(std::move(workingGraph_));
      if (preparedWorkingCopy_ && submittedGraph_)
        workingGraph_ = std::move(preparedWorkingCopy_);
      else
        workingGraph_ = submittedGraph_ ? std::make_shared<Graph>(*submittedGraph_) : nullptr;
      preparedWorkingCopy_.reset();
      break;
    case ProgramState::kRunning:
      programState_ = state;
      ++runGeneration_;
      prepareWorkingCopy();
      break;
    case ProgramState::kDecided: programState_ = state; break;
    default: break;
  }
  view_.refreshFrame();
  notifyPagesOfState();
}

void ProgramModel::notify(PageIndex index) {
  if (pages_[index]) pages_[index]->setPageState(programState_);
}

void ProgramModel::notifyPagesOfState() {
  if (programState_ != ProgramState::kRunning) {
    for (int32_t i = 0; i < kPageCount; ++i) notify(static_cast<PageIndex>(i));
    return;
  }
  notify(kEditorPage);
  notify(kGenerationPage);
  notify(kInformationPage);
  const uint64_t run = runGeneration_;
  auto quiet = [&](PageIndex index) {
    // A page that moved the state on has already told every page the newer state; hiding
    // controls for the run it ended would leave them hidden in that newer state.
    if (!pages_[index] || programState_ != ProgramState::kRunning || runGeneration_ != run) return;
    pages_[index]->setStateButtonVisible(false);
    pages_[index]->setAlgorithmControlsEnabled(false);
  };
  auto editorButtonHidden = [&] {
    if (pages_[kEditorPage] && programState_ == ProgramState::kRunning && runGeneration_ == run)
      pages_[kEditorPage]->setStateButtonVisible(false);
  };
  // The Solver page, after the five, is quiet while any other method runs.
  switch (algorithmChoice_) {
    case AlgorithmChoice::kStoneCarver:
      notify(kStoneCarverPage);
      editorButtonHidden();
      quiet(kCoHCPage);
      quiet(kSolverPage);
      break;
    case AlgorithmChoice::kCoHC:
      notify(kCoHCPage);
      editorButtonHidden();
      quiet(kStoneCarverPage);
      quiet(kSolverPage);
      break;
    case AlgorithmChoice::kManualEdit:
      quiet(kCoHCPage);
      quiet(kStoneCarverPage);
      quiet(kSolverPage);
      break;
    case AlgorithmChoice::kSolver:
      notify(kSolverPage);
      editorButtonHidden();
      quiet(kStoneCarverPage);
      quiet(kCoHCPage);
      break;
    default: break;
  }
}

void ProgramModel::releaseInBackground(std::shared_ptr<Graph> graph) {
  // Freeing a million nodes is felt too: the last owner of a big graph lets it go on a
  // thread of its own.
  if (!graph || graph.use_count() > 1 || graph->howManyNodes < kBackgroundCopyNodes) return;
  auto finished = std::make_shared<std::atomic<bool>>(false);
  keepAbandonedThread(std::jthread([graph = std::move(graph), finished]() mutable {
                        graph.reset();
                        finished->store(true);
                      }),
                      finished);
}

void ProgramModel::prepareWorkingCopy() {
  if (!submittedGraph_ || submittedGraph_->howManyNodes < kBackgroundCopyNodes || preparedWorkingCopy_)
    return;
  if (!copyJob_) {
    copyJob_ = std::make_unique<BackgroundJob<std::shared_ptr<Graph>>>(
        [this](std::function<void()> task) { view_.postToUiThread(std::move(task)); });
  }
  // The job is abandoned on every entry into state 0 or 1, so a copy that arrives belongs
  // to the submitted graph of this run.
  copyJob_->start([graph = submittedGraph_](const StopToken&) { return std::make_shared<Graph>(*graph); },
                  [this](std::shared_ptr<Graph> copy) { preparedWorkingCopy_ = std::move(copy); });
}

void ProgramModel::pageButtonPressed(PageIndex button) {
  switch (programState_) {
    case ProgramState::kSubmitted:
      if (button == kCoHCPage)
        algorithmChoice_ = AlgorithmChoice::kCoHC;
      else if (button == kStoneCarverPage)
        algorithmChoice_ = AlgorithmChoice::kStoneCarver;
      else if (button == kEditorPage)
        algorithmChoice_ = AlgorithmChoice::kManualEdit;
      else if (button == kSolverPage)
        algorithmChoice_ = AlgorithmChoice::kSolver;
      else
        return;
      setProgramState(ProgramState::kRunning);
      break;
    case ProgramState::kRunning: {
      // Only the button of the page whose run (or manual edit) this is ends it, its run
      // aborted first. The window hides the other buttons; the model does not rely on that,
      // since leaving state 2 with a run still going would let it write into state 1.
      const PageIndex owner = algorithmChoice_ == AlgorithmChoice::kCoHC          ? kCoHCPage
                              : algorithmChoice_ == AlgorithmChoice::kStoneCarver ? kStoneCarverPage
                              : algorithmChoice_ == AlgorithmChoice::kSolver      ? kSolverPage
                                                                                  : kEditorPage;
      if (button != owner) return;
      if (button != kEditorPage && pages_[button]) pages_[button]->abortRun();
      setProgramState(ProgramState::kSubmitted);
      if (button != kEditorPage && pages_[button]) pages_[button]->announceAbort();
      break;
    }
    case ProgramState::kDecided:
      if (button == kCoHCPage || button == kStoneCarverPage || button == kEditorPage || button == kSolverPage)
        setProgramState(ProgramState::kSubmitted);
      break;
    default: break;
  }
}

std::function<void(HamiltonicityState)> ProgramModel::decisionHandler() {
  auto decide = decisionWithGraphHandler();
  return [decide](HamiltonicityState result) { decide(programResultOf(result), nullptr); };
}

std::function<void(ProgramResult, std::shared_ptr<Graph>)> ProgramModel::decisionWithGraphHandler() {
  const uint64_t run = runGeneration_;
  ProgramView* view = &view_;
  return [this, view, run](ProgramResult result, std::shared_ptr<Graph> graph) {
    view->postToUiThread([this, run, result, graph = std::move(graph)]() mutable {
      if (programState_ != ProgramState::kRunning || runGeneration_ != run) return;
      if (graph) workingGraph_ = std::move(graph);
      programResult_ = result;
      setProgramState(ProgramState::kDecided);
    });
  };
}

// Reads `path` as a graph of `sourceType` (text or HCP, drawing, OBJ) into the
// submitted graph; the state is 0 on entry. False, with one message box, when it cannot.
bool ProgramModel::installFile(const std::string& path, GraphSource sourceType) {
  std::shared_ptr<Graph> graph;
  if (sourceType == kDrawingFile) {
    LoadedGraph loaded = loadDrawingFile(path, drawing_);
    if (!loaded) {
      view_.showMessage(loaded.error, kMessageCaption);
      return false;
    }
    graph = std::move(loaded.graph);
  } else {
    // The window works on one graph: a file of several is not cut down to its first
    // without the user's word.
    if (fileHoldsSeveralGraphs(path)) {
      const std::string name = std::filesystem::path(path).filename().string();
      if (!view_.askYesNo(name + severalGraphsQuestion, kMessageCaption)) return false;
      loadNote_ = "Loaded the first graph (line 1) of " + name + "; the file holds more";
    }
    LoadedGraph loaded = loadGraphFile(path);
    if (!loaded) {
      view_.showMessage(loaded.error, kMessageCaption);
      return false;
    }
    graph = std::move(loaded.graph);
  }
  graphSourceType_ = sourceType;
  parameter1_ = parameter2_ = 0;
  currentFilePath_ = path;
  submittedGraph_ = std::move(graph);
  return true;
}

void ProgramModel::loadGraphRequest(const GraphRequest& request) {
  const GraphSource source = request.sourceType;
  if (source == kUserDrawnGraph && drawing_.nodeCount() == 0) {
    view_.showMessage(editor_messages::kNoVertices, kMessageCaption);
    return;
  }
  // A drawing read from a file takes the editor's place: the user's own goes only with
  // the user's word.
  if (source == kDrawingFile && !view_.mayReplaceDrawing()) return;
  if (source < kUserDrawnGraph) {
    drawing_.selectAllNodes();
    drawing_.deleteSelected();
  }
  setProgramState(ProgramState::kEditing);
  graphSourceType_ = source;
  parameter1_ = request.parameter1;
  parameter2_ = request.parameter2;

  std::shared_ptr<Graph> built;
  std::string error;
  if (source >= kEdgeProbabilityGraph && source <= kThreeSatReduction) {
    BuiltGraph result = buildRequestedGraph(request);
    built = std::move(result.graph);
    error = std::move(result.error);
  } else if (source == kTextFile || source == kDrawingFile || source == kObjFile) {
    FileDialogSetup setup = source == kTextFile  ? textGraphDialog()
                            : source == kObjFile ? objGraphDialog()
                                                 : loadDrawingDialog();
    std::string filter = viewFileFilter(setup.filter);
    // The text file button opens every graph format the program reads.
    if (source == kTextFile) filter = graphOpenDialogFilter();
    std::optional<std::string> path = view_.chooseOpenFile("Open", filter);
    if (!path) {
      graphSourceType_ = kNoGraph;
      refreshTitle();
      view_.refreshFrame();
      return;
    }
    if (!installFile(*path, source)) {
      graphSourceType_ = kNoGraph;
      refreshTitle();
      view_.refreshFrame();
      return;
    }
    setProgramState(ProgramState::kSubmitted);
    showLoadNote();
    return;
  } else if (source == kUserDrawnGraph) {
    built = std::make_shared<Graph>(convertDrawingToGraph(drawing_, kUserDefinedGraphName));
  } else {
    return;
  }
  if (!built) {
    graphSourceType_ = kNoGraph;
    view_.showMessage(error, kMessageCaption);
    refreshTitle();
    view_.refreshFrame();
    return;
  }
  submittedGraph_ = std::move(built);
  setProgramState(ProgramState::kSubmitted);
}

void ProgramModel::installGeneratedGraph(const GraphRequest& request, std::shared_ptr<Graph> graph,
                                         std::shared_ptr<Graph> workingCopy) {
  drawing_.selectAllNodes();
  drawing_.deleteSelected();
  setProgramState(ProgramState::kEditing);
  if (!graph) return;
  graphSourceType_ = request.sourceType;
  parameter1_ = request.parameter1;
  parameter2_ = request.parameter2;
  submittedGraph_ = std::move(graph);
  preparedWorkingCopy_ = std::move(workingCopy);
  setProgramState(ProgramState::kSubmitted);
}

void ProgramModel::startWithFile(const std::string& path) {
  drawing_.selectAllNodes();
  drawing_.deleteSelected();
  setProgramState(ProgramState::kEditing);
  GraphSource source = graphSourceOfPath(path);
  if (source == kHcpFile) source = kTextFile;
  if (source == kNoGraph) {
    // The reader's own words for a missing file or an unknown extension.
    view_.showMessage(loadGraphFile(path).error, kMessageCaption);
    return;
  }
  if (!installFile(path, source)) return;
  setProgramState(ProgramState::kSubmitted);
  showLoadNote();
}

void ProgramModel::showLoadNote() {
  if (!loadNote_.empty() && programState_ == ProgramState::kSubmitted) view_.showNote(loadNote_);
  loadNote_.clear();
}

}  // namespace hc
