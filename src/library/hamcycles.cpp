// The public library's one implementation file: the facade of include/hamcycles/hamcycles.h
// over the run layer and the engine. It owns no logic of its own beyond checking the
// caller's input, turning the results into the public types and calling a progress callback;
// every call into the internals is marked "engine:" so the file can be re-pointed when their
// entry points move.
//
// A run is the run layer's runMethod (run/run_method.h), the one body behind the command
// line's schc, cohc and solve: it verifies the cycle and settles the verdict. It polls a
// child of the caller's stop token that carries the time limit as its deadline. Without a
// progress callback it runs on the caller's thread; with one, on a worker thread while the
// caller's thread calls the callback.
//
// Seeds: the run's seed becomes the seed stream of the thread that runs the engine, and the
// run first copies its graph from the caller's graph (one reseed, as loading a file is one
// in the CLI), so a one-thread run with seed S replays `hamcycles-cli ... --seed S` exactly.
#include "hamcycles/hamcycles.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <mutex>
#include <random>
#include <sstream>
#include <streambuf>
#include <string_view>
#include <thread>

#include "hamcycles_version.h"

// The internals this file calls.
#include "certcheck/certificate_checker.h"  // engine: checkCertificateFile
#include "core/diagnostics.h"               // engine: setDiagnosticStream, diagnostic
#include "core/edge_snapshot.h"
#include "core/graph.h"
#include "core/hamiltonian_cycle_check.h"  // engine: isHamiltonianCycle
#include "core/message_text.h"             // engine: printableText
#include "core/random.h"                   // engine: setThreadSeedStream, clearThreadSeedStream
#include "core/stop_token.h"
#include "generators/generalized_petersen.h"
#include "generators/generation_limits.h"
#include "generators/graph_generation.h"
#include "io/file_access.h"            // engine: writeFileAtomically
#include "io/graph_file_reader.h"      // engine: GraphFileReader
#include "io/graph_format_registry.h"  // engine: writeGraphFile
#include "io/plain_graph.h"            // engine: PlainGraph, buildGraphFromPlain
#include "run/graph_description.h"     // engine: graphDisplayName, the source type codes
#include "run/graph_loading.h"         // engine: loadGraphFile, FormatOptions
#include "run/method_option_table.h"   // engine: the options' rows
#include "run/progress_sampler.h"      // engine: runSampled
#include "run/result_field_table.h"    // engine: cycleFaultText
#include "run/run_method.h"            // engine: runMethod

namespace hamcycles {

// ---------------------------------------------------------------------------------------
// Hidden parts
// ---------------------------------------------------------------------------------------

struct Graph::Impl {
  // The graph as built; never changed (solve only reads it, the other methods run on a
  // copy), so it may be shared.
  std::unique_ptr<hc::Graph> graph;
  hc::EdgeSnapshot edges;  // the verifier's reference, sorted neighbour lists
  std::vector<Edge> forced;
  std::string name;
};

struct StopToken::State {
  hc::StopToken token;
};

struct GraphReader::Impl {
  hc::GraphFileReader reader;
  hc::FormatOptions options;
};

namespace detail {

struct Access {
  using GraphData = Graph::Impl;
  static const Graph::Impl& impl(const Graph& graph) { return *graph.impl_; }
  static Graph make(std::shared_ptr<const Graph::Impl> impl) {
    Graph graph;
    graph.impl_ = std::move(impl);
    return graph;
  }
  static const hc::StopToken& token(const StopToken& stop) { return stop.state_->token; }
};

}  // namespace detail

namespace {

using detail::Access;
using GraphData = Access::GraphData;
using Clock = std::chrono::steady_clock;

static_assert(sizeof(int) == sizeof(int32_t), "node ids are 32-bit in the engine");

// ---------------------------------------------------------------------------------------
// Small helpers
// ---------------------------------------------------------------------------------------

std::string oneLine(std::string text) {
  for (char& c : text)
    if (c == '\n' || c == '\r') c = ' ';
  return text;
}

template <typename T>
std::string text(const T& value) {
  std::ostringstream out;
  out << value;
  return out.str();
}

[[noreturn]] void refuse(const std::string& message) {
  throw Error(oneLine(message));
}
[[noreturn]] void refuseFile(const std::string& message) {
  throw FileError(oneLine(message));
}

// The engine writes its diagnostic lines to standard output unless told otherwise; a
// library must not, so they go nowhere until the caller names a stream.
class NullBuffer : public std::streambuf {
 protected:
  int overflow(int c) override { return traits_type::not_eof(c); }
  std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

std::ostream& nullStream() {
  static NullBuffer buffer;
  static std::ostream stream(&buffer);
  return stream;
}

std::once_flag quietOnce;

void quietEngine() {
  std::call_once(quietOnce, [] { hc::setDiagnosticStream(nullStream()); });
}

// The seed stream of the calling thread for the scope (see the top of the file).
class SeedScope {
 public:
  explicit SeedScope(uint32_t seed) { hc::setThreadSeedStream(seed); }
  ~SeedScope() { hc::clearThreadSeedStream(); }
  SeedScope(const SeedScope&) = delete;
  SeedScope& operator=(const SeedScope&) = delete;
};

uint32_t seedOf(const std::optional<uint32_t>& requested) {
  if (requested) return *requested;
  std::random_device device;
  return static_cast<uint32_t>(device());
}

// A public graph around a finished engine graph.
Graph wrap(std::unique_ptr<hc::Graph> built, std::string name) {
  auto impl = std::make_shared<GraphData>();
  built->outputFileName.clear();  // no run may write a cycle file of its own
  impl->edges = hc::EdgeSnapshot(*built);
  for (int32_t v = 0; v < built->howManyNodes; ++v)
    for (int32_t w : {built->node(v).uncuttable1, built->node(v).uncuttable2})
      if (w > v) impl->forced.emplace_back(v, w);
  std::sort(impl->forced.begin(), impl->forced.end());
  impl->graph = std::move(built);
  impl->name = std::move(name);
  return Access::make(std::move(impl));
}

const GraphData& solvable(const Graph& graph) {
  const GraphData& impl = Access::impl(graph);
  if (!impl.graph) refuse("the graph has no nodes");
  return impl;
}

void checkNode(const Graph& graph, int node) {
  if (node < 0 || node >= graph.nodeCount())
    refuse("node " + std::to_string(node) + " is not a node of the graph (0.." +
           std::to_string(graph.nodeCount() - 1) + ")");
}

void checkBase(int edgeListBase) {
  if (edgeListBase != 0 && edgeListBase != 1)
    refuse("edgeListBase must be 0 or 1, not " + std::to_string(edgeListBase));
}

// A proof file that can be written: not a folder, in a folder that exists and is writable.
void checkProofFile(const std::string& path) {
  if (path.empty()) return;
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec))
    refuseFile(path + ": is a folder, not a file for the certificate");
  std::filesystem::path folder = std::filesystem::path(path).parent_path();
  if (folder.empty()) folder = ".";
  if (!std::filesystem::is_directory(folder, ec))
    refuseFile(path + ": folder " + folder.string() + " does not exist");
  // The certificate goes to a temporary file in the folder, renamed into place: the folder must
  // take a new file. A probe file says so where permission bits do not (root, /proc, a
  // read-only mount), before the run rather than after it.
  std::string probe = (folder / ".hamcycles-probe-XXXXXX").string();
  const int fd = mkstemp(probe.data());
  if (fd < 0) refuseFile(path + ": folder " + folder.string() + " is not writable");
  close(fd);
  unlink(probe.c_str());
}

// The row of `choice`'s option `name`, checked to take `value`, in the library's words
// ("level must be in 0..6, not 7", "solve has no option "x" (threads, frontierWidth)").
const hc::MethodOptionRow& checkedRow(hc::MethodChoice choice, std::string_view name, int64_t value) {
  const hc::MethodOptionRow* row = hc::findMethodOption(choice, name);  // engine
  if (row == nullptr) {
    std::string known;
    for (const hc::MethodOptionRow& other : hc::methodOptionRows())  // engine
      if (other.method == choice) known += (known.empty() ? "" : ", ") + std::string(other.name);
    refuse(std::string(hc::methodCommand(choice)) + " has no option \"" + std::string(name) + "\" (" + known +
           ")");
  }
  if (std::string problem = hc::optionValueProblem(*row, value, row->name); !problem.empty()) refuse(problem);
  return *row;
}

// The engine's options of `choice` with the caller's values: the typed fields `given`, then the
// options set by name, each checked against its row of the option table.
hc::MethodOptions methodOf(hc::MethodChoice choice, const RunOptions& options,
                           std::initializer_list<std::pair<const char*, int64_t>> given) {
  hc::MethodOptions method = hc::defaultMethodOptions(choice);  // engine
  for (const auto& [name, value] : given) checkedRow(choice, name, value).field.set(method, value);
  for (const auto& [name, value] : options.named) checkedRow(choice, name, value).field.set(method, value);
  return method;
}

template <typename Options>
Options& setNamed(Options& options, hc::MethodChoice choice, const std::string& name, int64_t value) {
  checkedRow(choice, name, value);
  options.named.emplace_back(name, value);
  return options;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Version and errors
// ---------------------------------------------------------------------------------------

const char* version() {
  return HAMCYCLES_VERSION;
}

// Out of line, so that the exception types have their one home in the library.
Error::~Error() = default;
FileError::~FileError() = default;

// ---------------------------------------------------------------------------------------
// Graphs
// ---------------------------------------------------------------------------------------

Graph::Graph() {
  static const std::shared_ptr<const Impl> empty = std::make_shared<Impl>();
  impl_ = empty;
}

Graph Graph::fromEdges(int nodes, const std::vector<Edge>& edges) {
  quietEngine();
  if (nodes < 1) refuse("a graph needs at least 1 node, not " + std::to_string(nodes));
  if (nodes > hc::kMaxGeneratedNodes)
    refuse("a graph may have at most " + std::to_string(hc::kMaxGeneratedNodes) + " nodes, not " +
           std::to_string(nodes));
  if (static_cast<int64_t>(edges.size()) > hc::kMaxGeneratedEdges)
    refuse("a graph may have at most " + std::to_string(hc::kMaxGeneratedEdges) + " edges, not " +
           std::to_string(edges.size()));
  // Repeated edges are found by sorting the edges' keys once: a hash set of a million edges
  // costs about a second, the sort a tenth of that. Sorting by (key, position) puts each
  // edge's first occurrence first, and that one is kept, in the caller's order.
  std::vector<std::pair<uint64_t, size_t>> keys;
  keys.reserve(edges.size());
  for (size_t i = 0; i < edges.size(); ++i) {
    const auto [a, b] = edges[i];
    auto which = [&] {
      return "edge " + std::to_string(i) + " (" + std::to_string(a) + ", " + std::to_string(b) + ")";
    };
    for (int end : {a, b})
      if (end < 0 || end >= nodes)
        refuse(which() + ": node " + std::to_string(end) + " is out of range 0.." +
               std::to_string(nodes - 1));
    if (a == b) refuse(which() + " joins node " + std::to_string(a) + " to itself");
    keys.emplace_back(static_cast<uint64_t>(std::min(a, b)) << 32 | static_cast<uint32_t>(std::max(a, b)), i);
  }
  std::sort(keys.begin(), keys.end());
  std::vector<char> repeated(edges.size(), 0);
  for (size_t k = 1; k < keys.size(); ++k)
    if (keys[k].first == keys[k - 1].first) repeated[keys[k].second] = 1;
  hc::PlainGraph plain;
  plain.nodes = nodes;
  plain.edges.reserve(edges.size());
  for (size_t i = 0; i < edges.size(); ++i)
    if (!repeated[i]) plain.edges.emplace_back(edges[i].first, edges[i].second);
  return wrap(hc::buildGraphFromPlain(plain), {});  // engine
}

int Graph::nodeCount() const {
  return impl_->edges.nodes();
}

int64_t Graph::edgeCount() const {
  return impl_->edges.edges();
}

std::vector<Edge> Graph::edges() const {
  return impl_->edges.edgeList();
}

std::vector<int> Graph::neighbours(int node) const {
  checkNode(*this, node);
  auto list = impl_->edges.neighborsOf(node);
  return std::vector<int>(list.begin(), list.end());
}

int Graph::degree(int node) const {
  checkNode(*this, node);
  return static_cast<int>(impl_->edges.neighborsOf(node).size());
}

bool Graph::hasEdge(int a, int b) const {
  return impl_->edges.contains(a, b);
}

std::vector<Edge> Graph::forcedEdges() const {
  return impl_->forced;
}

const std::string& Graph::name() const {
  return impl_->name;
}

// ---------------------------------------------------------------------------------------
// Files
// ---------------------------------------------------------------------------------------

Graph readGraph(const std::string& path, int edgeListBase) {
  quietEngine();
  checkBase(edgeListBase);
  hc::LoadedGraph loaded = hc::loadGraphFile(path, hc::FormatOptions{edgeListBase});  // engine
  if (!loaded) refuseFile(loaded.error);
  return wrap(std::move(loaded.graph), hc::graphDisplayName(loaded.description));
}

void writeGraph(const Graph& graph, const std::string& path, const std::string& name, int edgeListBase) {
  quietEngine();
  checkBase(edgeListBase);
  const GraphData& impl = solvable(graph);
  std::string shown = !name.empty()        ? name
                      : !impl.name.empty() ? impl.name
                                           : std::filesystem::path(path).stem().string();
  hc::FileStatus written =
      hc::writeGraphFile(path, *impl.graph, shown, hc::FormatOptions{edgeListBase});  // engine
  if (!written) refuseFile(written.error);
}

GraphReader::GraphReader(const std::string& path, int edgeListBase) : impl_(std::make_unique<Impl>()) {
  quietEngine();
  checkBase(edgeListBase);
  impl_->options.edgeListBase = edgeListBase;
  if (std::string problem = impl_->reader.open(path); !problem.empty()) refuseFile(problem);  // engine
}

GraphReader::~GraphReader() = default;
GraphReader::GraphReader(GraphReader&&) noexcept = default;
GraphReader& GraphReader::operator=(GraphReader&&) noexcept = default;

std::optional<Graph> GraphReader::next() {
  if (!impl_) return std::nullopt;
  hc::GraphRecord record;
  bool tooLong = false;
  if (!impl_->reader.next(record, tooLong)) return std::nullopt;  // engine
  if (tooLong) refuseFile(impl_->reader.tooLongError(record));
  hc::LoadedGraph loaded = hc::loadGraphRecord(record, impl_->options);  // engine
  if (!loaded) refuseFile(loaded.error);
  return wrap(std::move(loaded.graph), hc::graphDisplayName(loaded.description));
}

// ---------------------------------------------------------------------------------------
// Generators
// ---------------------------------------------------------------------------------------

namespace {

// One of the eight families of the generation factory. `pageRules`: the Graph Generation
// page's ranges too (the knight's board only has to be one the family can build).
Graph generateFamily(hc::GraphSource sourceType, double first, double second, std::optional<uint32_t> seed,
                     bool pageRules = true) {
  quietEngine();
  hc::GenerationRequest request = hc::requestForFamily(sourceType, first, second);
  std::string problem =
      pageRules ? hc::validateGenerationRequest(request) : hc::checkGenerationFeasibility(request);
  if (!problem.empty()) refuse(problem);
  SeedScope scope(seedOf(seed));
  hc::GenerationResult built = hc::generateGraph(request);  // engine
  if (!built) refuse(built.error);
  hc::GraphDescription description;
  description.sourceType = sourceType;
  description.parameter1 = first;
  description.parameter2 = second;
  description.nodes = built.graph->howManyNodes;
  return wrap(std::move(built.graph), hc::graphDisplayName(description));
}

}  // namespace

// The families without random choices: any seed will do, and none is drawn.
constexpr std::optional<uint32_t> kNoDraws = 0;

Graph knight(int rows, int columns) {
  return generateFamily(hc::GraphSource::kKnightsTourGraph, rows, columns, kNoDraws, false);
}
Graph torus(int rows, int columns) {
  return generateFamily(hc::GraphSource::kToroidalGrid, rows, columns, kNoDraws);
}
Graph complete(int nodes) {
  return generateFamily(hc::GraphSource::kCompleteGraph, nodes, 0, kNoDraws);
}
Graph nCube(int dimension) {
  return generateFamily(hc::GraphSource::kNCubeGraph, dimension, 0, kNoDraws);
}
Graph iccs(int components) {
  return generateFamily(hc::GraphSource::kIccsGraph, components, 0, kNoDraws);
}
Graph regular(int nodes, int degree, std::optional<uint32_t> seed) {
  return generateFamily(hc::GraphSource::kRegularGraph, nodes, degree, seed);
}
Graph randomEdges(int nodes, int edges, std::optional<uint32_t> seed) {
  return generateFamily(hc::GraphSource::kRandomEdgesGraph, nodes, edges, seed);
}
Graph edgeProbability(int nodes, double probability, std::optional<uint32_t> seed) {
  return generateFamily(hc::GraphSource::kEdgeProbabilityGraph, nodes, probability, seed);
}

Graph generalizedPetersen(int n, int k) {
  quietEngine();
  if (std::string problem = hc::checkGeneralizedPetersen(n, k); !problem.empty()) refuse(problem);
  return wrap(hc::generateGeneralizedPetersen(n, k),  // engine
              "Generalized Petersen Graph GP(" + std::to_string(n) + ", " + std::to_string(k) + ")");
}

Graph petersen() {
  return generalizedPetersen(5, 2);
}

Graph satReduction(int variables, double clauseMultiplier, std::optional<uint32_t> seed) {
  quietEngine();
  if (std::string problem = hc::validate3SatRequest(variables, clauseMultiplier); !problem.empty())
    refuse(problem);
  SeedScope scope(seedOf(seed));
  hc::SatGenerationResult built = hc::generate3SatGraph(variables, clauseMultiplier);  // engine
  if (!built) refuse(built.error);
  hc::GraphDescription description;
  description.sourceType = hc::GraphSource::kThreeSatReduction;
  description.parameter1 = variables;
  description.parameter2 = clauseMultiplier;
  description.nodes = built.graph->howManyNodes;
  return wrap(std::move(built.graph), hc::graphDisplayName(description));
}

// ---------------------------------------------------------------------------------------
// Stop tokens
// ---------------------------------------------------------------------------------------

StopToken::StopToken() : state_(std::make_shared<State>()) {}
void StopToken::requestStop() const noexcept {
  state_->token.requestStop();
}
bool StopToken::stopRequested() const noexcept {
  return state_->token.stopRequested();
}

// ---------------------------------------------------------------------------------------
// Runs
// ---------------------------------------------------------------------------------------

// The public verdicts are the run layer's, in the same order.
static_assert(static_cast<int>(Verdict::kNonHamiltonian) == static_cast<int>(hc::Verdict::kNonHamiltonian) &&
              static_cast<int>(Verdict::kHamiltonian) == static_cast<int>(hc::Verdict::kHamiltonian) &&
              static_cast<int>(Verdict::kUndecided) == static_cast<int>(hc::Verdict::kUndecided));

const char* verdictName(Verdict verdict) {
  if (verdict != Verdict::kHamiltonian && verdict != Verdict::kNonHamiltonian) verdict = Verdict::kUndecided;
  return hc::verdictName(static_cast<hc::Verdict>(verdict)).data();  // a literal: terminated
}

const char* stoppedName(Stopped stopped) {
  static constexpr const char* kNames[] = {"decided", "time limit", "interrupted", "iteration limit",
                                           "search depth too shallow"};
  const auto at = static_cast<size_t>(stopped);
  return at < std::size(kNames) ? kNames[at] : kNames[0];
}

namespace {

constexpr double kMaxSeconds = 1e9;
constexpr auto kProgressInterval = std::chrono::milliseconds(250);

void checkRunOptions(const RunOptions& options) {
  const double t = options.timeLimitSeconds;
  if (!(t == 0.0 || (t > 0.0 && t <= kMaxSeconds)))
    refuse("timeLimitSeconds must be 0 (no limit) or a number of seconds in (0, 1e9], not " + text(t));
}

// The public result of a run; `methodLimit` is what the method's own limit is called here.
SolveResult resultOf(const hc::RunOutcome& outcome, Stopped methodLimit) {
  const Stopped stopped[] = {Stopped::kDecided, Stopped::kTimeLimit, Stopped::kInterrupted, methodLimit};
  SolveResult result{static_cast<Verdict>(outcome.verdict),
                     {outcome.cycle.begin(), outcome.cycle.end()},
                     std::string(hc::decidedByName(outcome.decidedBy)),  // the public words
                     outcome.seconds,
                     outcome.seed,
                     stopped[static_cast<size_t>(outcome.stopped)],
                     outcome.iterations,
                     outcome.bestPercentComplete,
                     outcome.treeNodes,
                     outcome.deepestDepth,
                     {},
                     false,
                     {}};
  if (const hc::SearchTreeStatistics* s = outcome.statistics.get()) {
    for (int32_t d = 0; d <= s->deepestStartedDepth; ++d) {
      const auto at = static_cast<size_t>(d);
      result.depths.push_back(
          DepthFigures{d, static_cast<int64_t>(s->started[at]), static_cast<int64_t>(s->solved[at]),
                       static_cast<int64_t>(s->forcedEdges[at]), s->longestTime[at], s->averageTime[at]});
    }
  }
  return result;
}

// One run of the run layer's runMethod (see the top of the file) on a copy of `graph`, whose
// options have been checked; a complete certificate goes to `proofFile` (when not empty).
SolveResult run(const GraphData& graph, const RunOptions& options, const hc::MethodOptions& method,
                Stopped methodLimit, const std::string& proofFile = {}) {
  const uint32_t seed = seedOf(options.seed);
  if (options.stop && options.stop->stopRequested()) {
    SolveResult result;
    result.seed = seed;
    result.stopped = Stopped::kInterrupted;
    return result;
  }
  // The run's own token, a child of the caller's, with the time limit as its deadline.
  hc::StopToken stop(options.stop ? &Access::token(*options.stop) : nullptr);
  const auto started = Clock::now();
  stop.setTimeLimit(options.timeLimitSeconds);
  hc::LiveFigures live;
  hc::RunOutcome outcome;
  std::string certificate;
  auto body = [&] {
    SeedScope scope(seed);
    // solve only reads the graph (its parts work on copies of their own); the other methods
    // change the graph they run on. A copy of a large graph, and its release, would count
    // against the run's time limit.
    std::optional<hc::Graph> copy;
    if (!std::holds_alternative<hc::SolveOptions>(method)) copy.emplace(*graph.graph);
    outcome = hc::runMethod(copy ? *copy : *graph.graph, graph.edges, method,
                            {.stop = &stop,
                             .seed = seed,
                             .live = &live,
                             .certificate = proofFile.empty() ? nullptr : &certificate});  // engine
  };
  if (options.progress) {
    const auto sample = [&options](const hc::LiveFigures& figures, double seconds) {
      Progress p;
      p.seconds = seconds;
      p.iterations = figures.iterations.load();
      p.bestPercentComplete = figures.bestPercentComplete.load();
      p.treeNodes = figures.tree.treeNodes.load();
      p.depth = figures.tree.depth.load();
      options.progress(p);
    };
    hc::runSampled(body, live, stop, sample, kProgressInterval);  // engine
  } else {
    body();
  }
  if (!outcome.cycleFault.empty()) hc::diagnostic("hamcycles: ", hc::cycleFaultText(outcome), "\n");
  SolveResult result = resultOf(outcome, methodLimit);
  // When the run actually stopped, every worker joined: what the caller waited for.
  result.seconds = std::chrono::duration<double>(Clock::now() - started).count();
  if (!proofFile.empty() && outcome.verdict == hc::Verdict::kNonHamiltonian) {
    // A failed write keeps the verdict: the run's work is not thrown away for it.
    if (!outcome.certified) {
      result.certificateNote = outcome.certificateNote.empty() ? "not certified" : outcome.certificateNote;
    } else if (hc::FileStatus s = hc::writeFileAtomically(proofFile, certificate); !s) {  // engine
      result.certificateNote = s.error;
    } else {
      result.certified = true;
    }
  }
  return result;
}

}  // namespace

int machineThreads() {
  return hc::machineThreads();
}

SolveOptions& SolveOptions::set(const std::string& name, int64_t value) {
  return setNamed(*this, hc::MethodChoice::kSolve, name, value);
}
SchcOptions& SchcOptions::set(const std::string& name, int64_t value) {
  return setNamed(*this, hc::MethodChoice::kSchc, name, value);
}
CohcOptions& CohcOptions::set(const std::string& name, int64_t value) {
  return setNamed(*this, hc::MethodChoice::kCohc, name, value);
}

SolveResult solve(const Graph& graph, const SolveOptions& options) {
  quietEngine();
  const GraphData& impl = solvable(graph);
  checkRunOptions(options);
  hc::MethodOptions method =
      methodOf(hc::MethodChoice::kSolve, options,
               {{"threads", options.threads}, {"frontierWidth", options.frontierWidth}});
  checkProofFile(options.proofFile);
  std::get<hc::SolveOptions>(method).timeLimitSeconds =
      options.timeLimitSeconds;  // it sizes the one-thread slices too
  // A portfolio that gives up without a stop has no name of its own here.
  return run(impl, options, method, Stopped::kInterrupted, options.proofFile);
}

SolveResult schc(const Graph& graph, const SchcOptions& options) {
  quietEngine();
  const GraphData& impl = solvable(graph);
  checkRunOptions(options);
  const hc::MethodOptions method = methodOf(
      hc::MethodChoice::kSchc, options,
      {{"version", options.version}, {"maxIterations", options.maxIterations}, {"threads", options.threads}});
  return run(impl, options, method, Stopped::kIterationLimit);
}

SolveResult cohc(const Graph& graph, const CohcOptions& options) {
  quietEngine();
  const GraphData& impl = solvable(graph);
  checkRunOptions(options);
  hc::MethodOptions method =
      methodOf(hc::MethodChoice::kCohc, options,
               {{"level", options.level}, {"maxDepth", options.maxDepth}, {"minimal", options.minimal}});
  checkProofFile(options.proofFile);
  std::get<hc::CohcOptions>(method).timeLimitSeconds = options.timeLimitSeconds;
  return run(impl, options, method, Stopped::kDepthLimit, options.proofFile);
}

std::vector<ResultField> resultFields() {
  std::vector<ResultField> out;
  for (const hc::ResultFieldRow& row : hc::resultFieldRows()) {  // engine
    ResultField field{row.key, row.pythonName, {}};
    for (const hc::MethodChoice method :
         {hc::MethodChoice::kSolve, hc::MethodChoice::kSchc, hc::MethodChoice::kCohc})
      if ((row.pythonMethods & hc::methodBit(method)) != 0)
        field.methods.emplace_back(hc::methodCommand(method));
    out.push_back(std::move(field));
  }
  return out;
}

std::vector<MethodOption> methodOptions() {
  std::vector<MethodOption> out;
  for (const hc::MethodOptionRow& row : hc::methodOptionRows()) {  // engine
    MethodOption option;
    option.method = hc::methodCommand(row.method);
    option.name = row.name;
    option.pythonName = row.pythonName;
    option.flag = row.flag;
    option.help = hc::helpLine(row);
    option.low = row.low;
    option.high = row.high;
    option.choices.assign(row.choices.begin(), row.choices.end());
    option.valuesText = hc::valuesText(row);
    option.defaultValue = hc::defaultValueOf(row);
    if (row.unset != hc::MethodOptionRow::kNoSetting) option.unset = row.unset;
    option.isSwitch = row.isSwitch();
    out.push_back(std::move(option));
  }
  return out;
}

bool isHamiltonianCycle(const Graph& graph, const std::vector<int>& cycle, std::string* fault) {
  quietEngine();
  hc::CycleCheck check = hc::isHamiltonianCycle(Access::impl(graph).edges, cycle);  // engine
  if (!check && fault != nullptr) *fault = check.fault;
  return check.ok;
}

CertificateCheck checkCertificate(const Graph& graph, const std::string& path) {
  quietEngine();
  const GraphData& impl = solvable(graph);
  hc::certcheck::CheckResult result =
      hc::certcheck::checkCertificateFile(impl.edges.nodes(), impl.edges.edgeList(), path);  // engine
  // Line 0 is the file itself (missing, not a regular file, unreadable): an error, not a verdict.
  if (!result.accepted && result.line == 0) refuseFile(result.reason);
  return CertificateCheck{result.accepted, result.line, std::move(result.step), std::move(result.reason)};
}

std::string printableText(const std::string& text) {
  return hc::printableText(text);  // engine
}

void setMessageStream(std::ostream* stream) {
  quietEngine();
  hc::setDiagnosticStream(stream != nullptr ? *stream : nullStream());
}

}  // namespace hamcycles
