// hamcycles: decide whether an undirected graph has a Hamiltonian cycle (a cycle through
// every node exactly once), from your own C++ program.
//
// This header is the whole interface; read it top to bottom. Nothing else of the engine is
// public, and this header includes none of it.
//
//   #include <hamcycles/hamcycles.h>
//
//   hamcycles::Graph g = hamcycles::Graph::fromEdges(4, {{0, 1}, {1, 2}, {2, 3}, {3, 0}});
//   hamcycles::SolveOptions options;
//   options.timeLimitSeconds = 10;
//   hamcycles::SolveResult r = hamcycles::solve(g, options);
//   if (r.verdict == hamcycles::Verdict::kHamiltonian) { /* r.cycle: 0 1 2 3 */ }
//
// Build against the installed package with CMake (`find_package(hamcycles REQUIRED)`, then
// link `hamcycles::hamcycles`) or pkg-config (`pkg-config --cflags --libs hamcycles`). The
// header needs C++17.
//
// Conventions that hold for every call below:
//  - Nodes are the integers 0 .. nodeCount() - 1. (Front ends with other labels map them.)
//  - Bad input (an edge list, a file, a parameter) throws hamcycles::Error, or its subtype
//    hamcycles::FileError for anything read from or written to a file, with one line that
//    says what is wrong. Nothing else changes: no partial graph, no partial file, no exit.
//  - A verdict of Hamiltonian always comes with a cycle that has been checked against the
//    graph by a verifier that shares no code with the solvers.
//  - A Graph is immutable once built, so one Graph may be read and solved from several
//    threads at once. The calls keep no state between them, apart from setMessageStream.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#if defined(__GNUC__)
#define HAMCYCLES_API __attribute__((visibility("default")))
#else
#define HAMCYCLES_API
#endif

namespace hamcycles {

namespace detail {
struct Access;  // how the library's implementation reaches the hidden parts
}

// ---------------------------------------------------------------------------------------
// Version and errors
// ---------------------------------------------------------------------------------------

// The library's version, "MAJOR.MINOR.PATCH" (the same as `hamcycles-cli --version`).
HAMCYCLES_API const char* version();

// Every refused input: a bad edge list, a parameter out of range, an unknown family.
// what() is one line without a trailing newline.
class HAMCYCLES_API Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
  ~Error() override;
};

// A file that cannot be read or written: missing, unreadable, malformed ("file: line 7:
// ..."), too large, an unknown extension, a folder that does not exist.
class HAMCYCLES_API FileError : public Error {
 public:
  using Error::Error;
  ~FileError() override;
};

// ---------------------------------------------------------------------------------------
// Graphs
// ---------------------------------------------------------------------------------------

using Edge = std::pair<int, int>;

// A simple undirected graph on the nodes 0 .. nodeCount() - 1. A value type: copies are
// cheap (they share the immutable data) and independent in every way that matters.
class HAMCYCLES_API Graph {
 public:
  // The empty graph (no nodes). Solving it throws Error; it exists so that a Graph can sit
  // in containers and be assigned later.
  Graph();

  // The graph on `nodes` nodes with `edges`, each given once in either direction.
  // Precondition (else Error): 1 <= nodes <= 10,000,000; every end in 0 .. nodes - 1; no
  // edge joins a node to itself; at most 50,000,000 edges. An edge given twice (as (a, b)
  // or (b, a)) is kept once. The order of the edges is kept: it fixes the order in which
  // the randomised methods see each node's neighbours, so with a fixed seed the same list
  // gives the same run.
  static Graph fromEdges(int nodes, const std::vector<Edge>& edges);

  int nodeCount() const;
  std::int64_t edgeCount() const;
  // Every edge once, as (smaller, larger), sorted.
  std::vector<Edge> edges() const;
  // The neighbours of `node`, sorted. Error when `node` is not a node of the graph.
  std::vector<int> neighbours(int node) const;
  // The number of neighbours of `node`. Error when `node` is not a node of the graph.
  int degree(int node) const;
  // Whether a-b is an edge (false for any a or b that is not a node).
  bool hasEdge(int a, int b) const;
  // Edges that every cycle the methods report must use: only graphs read from a file
  // whose format marks them (a TSPLIB FIXED_EDGES_SECTION, say) have any.
  std::vector<Edge> forcedEdges() const;
  // A name for messages and for the formats that store one: the family and its
  // parameters for a generated graph ("Knight's Tour Graph With 64 Nodes (8 X 8)"), the
  // file's name for a graph read from a file, empty for fromEdges.
  const std::string& name() const;

 private:
  struct Impl;
  std::shared_ptr<const Impl> impl_;
  friend struct detail::Access;
};

// ---------------------------------------------------------------------------------------
// Files. The format is chosen by the extension of the path:
//   read and write  .txt adjacency text, .hcp TSPLIB, .g6 graph6, .s6 sparse6,
//                   .col/.dimacs DIMACS graph, .edges/.el edge lists
//   read only       .obj mesh, .g drawing of the workbench's editor
// .g6 and .s6 files hold one graph per line; every other format holds one graph.
// `edgeListBase` is the first node number of .edges/.el files (0 or 1); other formats
// ignore it. Files larger than 1 GiB, folders, devices and pipes are refused.
// ---------------------------------------------------------------------------------------

// The graph in the file at `path` (of a .g6/.s6 file, its first graph). FileError with the
// reader's one-line message when the file cannot be read or is not a valid graph file.
HAMCYCLES_API Graph readGraph(const std::string& path, int edgeListBase = 0);

// Writes `graph` to `path` in the format of its extension, through a temporary file that
// is renamed into place (a failed write leaves any earlier file untouched). `name` goes
// where the format keeps one (empty: graph.name(), or the file's stem when that is empty
// too). FileError when the extension is not writable, the folder does not exist or is not
// writable, or the graph does not fit the format (graph6 and large graphs).
HAMCYCLES_API void writeGraph(const Graph& graph, const std::string& path, const std::string& name = {},
                              int edgeListBase = 0);

// Reads the graphs of a file one at a time, so a .g6 file of millions of graphs is never
// held in memory at once. A one-graph format yields its single graph.
class HAMCYCLES_API GraphReader {
 public:
  // Opens `path`. FileError when it cannot be read or its extension is unknown.
  explicit GraphReader(const std::string& path, int edgeListBase = 0);
  ~GraphReader();
  GraphReader(GraphReader&&) noexcept;
  GraphReader& operator=(GraphReader&&) noexcept;

  // The next graph, or nothing at the end of the file. A faulty graph throws FileError
  // naming it ("file: line 12: ..."); the next call goes on with the graph after it.
  std::optional<Graph> next();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// ---------------------------------------------------------------------------------------
// Generators. Each returns a finished graph or throws Error with the reason, before
// anything large is allocated. Graphs of more than 10,000,000 nodes or 50,000,000 edges
// are refused. The random families take a seed: the same seed gives the same graph (and
// the same graph as `hamcycles-cli generate ... --seed S`); without one the seed is drawn
// from the system's random device.
// ---------------------------------------------------------------------------------------

// The knight's moves on a rows x columns board. Needs rows >= 1, columns >= 4.
HAMCYCLES_API Graph knight(int rows, int columns);
// The rows x columns toroidal grid (each node joined to its right and lower neighbour,
// wrapping around). Needs rows, columns >= 3.
HAMCYCLES_API Graph torus(int rows, int columns);
// The Petersen graph, GP(5, 2): cubic, 10 nodes, no Hamiltonian cycle.
HAMCYCLES_API Graph petersen();
// GP(n, k): an outer n-cycle, spokes, and inner edges i - (i + k) mod n. Needs n >= 3 and
// 1 <= k < n / 2. GP(n, 2) is non-Hamiltonian exactly when n = 5 (mod 6).
HAMCYCLES_API Graph generalizedPetersen(int n, int k);
// K_n. Needs nodes >= 3.
HAMCYCLES_API Graph complete(int nodes);
// The hypercube of the given dimension (2^dimension nodes). Needs dimension >= 2.
HAMCYCLES_API Graph nCube(int dimension);
// A ring of `components` interconnected cut-set components of 14 nodes each; Hamiltonian.
// Needs components >= 1.
HAMCYCLES_API Graph iccs(int components);
// A random `degree`-regular graph. Needs nodes >= 3, degree >= 3, degree < nodes and
// nodes * degree even.
HAMCYCLES_API Graph regular(int nodes, int degree, std::optional<std::uint32_t> seed = std::nullopt);
// `edges` distinct random edges. Needs nodes >= 3 and 0 <= edges <= nodes (nodes - 1) / 2.
HAMCYCLES_API Graph randomEdges(int nodes, int edges, std::optional<std::uint32_t> seed = std::nullopt);
// Each pair of nodes joined with the given probability. Needs 3 <= nodes <= 65536 and
// 0 <= probability <= 1.
HAMCYCLES_API Graph edgeProbability(int nodes, double probability,
                                    std::optional<std::uint32_t> seed = std::nullopt);
// The reduction graph of a random 3-SAT formula with `variables` variables and
// variables x clauseMultiplier clauses: Hamiltonian exactly when the formula is
// satisfiable. Needs variables >= 3 and clauseMultiplier >= 1 / variables.
HAMCYCLES_API Graph satReduction(int variables, double clauseMultiplier,
                                 std::optional<std::uint32_t> seed = std::nullopt);

// ---------------------------------------------------------------------------------------
// Stopping and watching a run
// ---------------------------------------------------------------------------------------

// A stop request shared by everyone who holds a copy of the token. Give a copy to the
// options of one or more runs and keep one; requestStop() then ends those runs soon
// (within a fraction of a second) with the verdict Undecided unless they have already
// decided. A token never resets: once stopped, every later run given it returns
// Undecided at once. Make a new token for new runs.
class HAMCYCLES_API StopToken {
 public:
  // A fresh token, not stopped.
  StopToken();
  // From any thread at any time, also from a signal handler (lock-free atomic stores only).
  void requestStop() const noexcept;
  bool stopRequested() const noexcept;

 private:
  struct State;
  std::shared_ptr<State> state_;
  friend struct detail::Access;
};

// What a run has done so far. Fields that do not apply to the method stay 0.
struct Progress {
  double seconds = 0.0;              // since the run began
  std::int64_t iterations = 0;       // schc: Probability Mill iterations finished
  double bestPercentComplete = 0.0;  // schc: the furthest an iteration got, in %
  std::int64_t treeNodes = 0;        // solve: exact search nodes; cohc: proof tree nodes
  int depth = 0;                     // solve: the exact search's depth now; cohc: deepest
};

// Called on the thread that called solve, schc or cohc (the engine then runs on a worker
// thread that the call starts and joins), about four times a second and not at all in the
// first quarter of a second; never after the call has returned. It may call requestStop()
// on a token of the run. An exception it throws stops the run; the call then rethrows it
// once the engine has stopped.
using ProgressCallback = std::function<void(const Progress&)>;

// ---------------------------------------------------------------------------------------
// Solving. Three methods, one result type.
// ---------------------------------------------------------------------------------------

enum class Verdict {
  kNonHamiltonian,
  kHamiltonian,
  kUndecided,
  // The names of version 0.1, for code written against it.
  NonHamiltonian [[deprecated("use kNonHamiltonian")]] = kNonHamiltonian,
  Hamiltonian [[deprecated("use kHamiltonian")]] = kHamiltonian,
  Undecided [[deprecated("use kUndecided")]] = kUndecided,
};
// "non-hamiltonian", "hamiltonian", "undecided" (the words of the CLI's JSON reports).
HAMCYCLES_API const char* verdictName(Verdict verdict);

// Why a run ended.
enum class Stopped {
  kDecided,         // the verdict is Hamiltonian or NonHamiltonian
  kTimeLimit,       // timeLimitSeconds passed
  kInterrupted,     // a stop token was requested (or the progress callback threw)
  kIterationLimit,  // schc: maxIterations (or the engine's own limit) reached
  kDepthLimit,      // cohc: maxDepth kept the proof from finishing
  // The names of version 0.1, for code written against it.
  Decided [[deprecated("use kDecided")]] = kDecided,
  TimeLimit [[deprecated("use kTimeLimit")]] = kTimeLimit,
  Interrupted [[deprecated("use kInterrupted")]] = kInterrupted,
  IterationLimit [[deprecated("use kIterationLimit")]] = kIterationLimit,
  DepthLimit [[deprecated("use kDepthLimit")]] = kDepthLimit,
};
// "decided", "time limit", "interrupted", "iteration limit", "search depth too shallow".
HAMCYCLES_API const char* stoppedName(Stopped stopped);

// What every run takes. Precondition (else Error): timeLimitSeconds is 0 (no limit) or a
// number of seconds in (0, 1e9].
//
// Options by name: every option of methodOptions() can be set by its name through set() of
// its method's options struct, `options.set("frontierWidth", 10)`, whether or not the struct
// has a field of its own for it (the fields are a convenience). set() throws Error at once for
// a name the method does not have ("solve has no option \"x\" (threads, frontierWidth)") or a
// value the option does not take, in the words of the field's own check ("frontierWidth must
// be in 1..14, not 15"). A run applies the values set by name after the fields, in the order
// they were set: one set by name wins over the field of the same name.
struct RunOptions {
  double timeLimitSeconds = 0.0;
  // Fixes every random choice: with one thread the same seed replays the same run (and
  // the same run as the CLI's --seed). Without one a seed is drawn and reported in the
  // result.
  std::optional<std::uint32_t> seed;
  std::optional<StopToken> stop;
  ProgressCallback progress;  // may be empty
  // The options set by name, as set() stores them (a run checks them again).
  std::vector<std::pair<std::string, std::int64_t>> named;
};

// solve: the portfolio (root pruning with sound rules, exact search, a rotation-extension
// finder, the Probability Mill and, on small graphs with four threads or more, the Co-HC
// proof system) until one decides. threads: in all (default: the machine's cores,
// machineThreads()). frontierWidth: the widest frontier (in nodes) the frontier search takes
// on. The ranges of these and of the options below are methodOptions()'s.
//
// proofFile (solve and cohc): when not empty, a NonHamiltonian verdict whose certificate is
// complete (SolveResult::certified) writes it to this file, through a temporary file renamed
// into place; the certificate numbers the nodes as the graph does, and checkCertificate (or
// `hamcycles-cli check`) checks it. Any other outcome leaves the file as it was. FileError
// before the run when the path is a folder or its folder does not exist or is not writable.
HAMCYCLES_API int machineThreads();  // the machine's cores, at least 1 (at most 256)
struct SolveOptions : RunOptions {
  int threads = machineThreads();
  int frontierWidth = 14;
  std::string proofFile;
  // Sets the option `name` of solve (see RunOptions); returns *this.
  HAMCYCLES_API SolveOptions& set(const std::string& name, std::int64_t value);
};

// schc: the Stone Carver's randomised algorithm (initial pruning, then Probability Mill
// iterations). It proves non-Hamiltonicity only through its initial pruning, so on a
// non-Hamiltonian graph that pruning does not catch it runs to a limit: give one.
// version: the mill's version. maxIterations: 0 (none of our own) or a limit. threads:
// workers of the parallel mill (replay is exact with 1 only).
struct SchcOptions : RunOptions {
  int version = 5;
  std::int64_t maxIterations = 0;
  int threads = 1;
  // Sets the option `name` of schc (see RunOptions); returns *this.
  HAMCYCLES_API SchcOptions& set(const std::string& name, std::int64_t value);
};

// cohc: the Co-HC proof system, a depth-first proof tree. level: the pruning level.
// maxDepth: levels below the root (the default and highest: unlimited). minimal: build
// minimal children. Runs on one thread.
struct CohcOptions : RunOptions {
  int level = 5;
  int maxDepth = 999999999;
  bool minimal = false;
  std::string proofFile;  // as SolveOptions::proofFile
  // Sets the option `name` of cohc (see RunOptions); returns *this.
  HAMCYCLES_API CohcOptions& set(const std::string& name, std::int64_t value);
};

// One row of the Co-HC per-depth table.
struct DepthFigures {
  int depth = 0;
  std::int64_t started = 0;
  std::int64_t solved = 0;
  std::int64_t forcedEdges = 0;  // at the last tree node reported at this depth
  double longestTime = 0.0;      // seconds
  double averageTime = 0.0;      // seconds
};

struct SolveResult {
  Verdict verdict = Verdict::kUndecided;
  // With Hamiltonian: the nodes in cycle order from node 0 (the edge back to node 0 is
  // implied), checked against the graph. Empty otherwise.
  std::vector<int> cycle;
  // The part that decided: "root pruning", "alternation rule", "frontier search", "exact
  // search", "rotation-extension", "probability mill", "proof system" (solve); "initial
  // pruning" or "probability mill" (schc); "proof system" (cohc). Empty when undecided.
  std::string method;
  double seconds = 0.0;    // from the call to the moment the run stopped, its threads joined
  std::uint32_t seed = 0;  // the seed used: pass it back to replay the run
  Stopped stopped = Stopped::kDecided;
  std::int64_t iterations = 0;       // schc
  double bestPercentComplete = 0.0;  // schc
  std::int64_t treeNodes = 0;        // solve, cohc
  int deepestDepth = 0;              // solve, cohc
  std::vector<DepthFigures> depths;  // cohc: depth 0 .. deepest started
  // With a proofFile: whether the certificate was written there, and with a NonHamiltonian
  // verdict that has none, why not (the proof took a step the format cannot state, or the
  // file could not be written).
  bool certified = false;
  std::string certificateNote;
};

// One option of solve, schc or cohc: its names, its range and its default. Every one can be
// set by its name (RunOptions). A value out of range makes set() or the run throw Error
// ("level must be in 0..6, not 7").
struct MethodOption {
  std::string method;      // "solve", "schc" or "cohc"
  std::string name;        // as the options struct names it: "maxIterations"
  std::string pythonName;  // the Python package's keyword: "max_iterations"
  std::string flag;        // hamcycles-cli's: "--max-iterations"
  std::string help;        // one line
  std::int64_t low = 0;    // the range low .. high
  std::int64_t high = 0;
  std::vector<int> choices;  // when not empty, the only values taken
  std::string valuesText;    // "0..6", "3, 4, 5, 6, 7, 12 or 13"
  std::int64_t defaultValue = 0;
  std::optional<std::int64_t> unset;  // a value outside the range that sets no limit
  bool isSwitch = false;              // a bool option
};
HAMCYCLES_API std::vector<MethodOption> methodOptions();

// One figure of a run's result as the reports name it: its key in hamcycles-cli's JSON report
// (and in the Python package's Result.as_dict), its Python attribute and the methods ("solve",
// "schc", "cohc") whose Python results list it.
struct ResultField {
  std::string key;         // "treeNodes"
  std::string pythonName;  // "tree_nodes"
  std::vector<std::string> methods;
};
HAMCYCLES_API std::vector<ResultField> resultFields();

// Decides `graph` with the portfolio. Error when the options break their preconditions or
// the graph has no nodes. Blocks until decided, stopped or out of time.
HAMCYCLES_API SolveResult solve(const Graph& graph, const SolveOptions& options = {});
// Runs the Stone Carver's algorithm on `graph` (which is not changed). As solve.
HAMCYCLES_API SolveResult schc(const Graph& graph, const SchcOptions& options = {});
// Runs the Co-HC proof system on `graph` (which is not changed). As solve. A run stopped
// from outside is never NonHamiltonian: its proof may have unexplored branches.
HAMCYCLES_API SolveResult cohc(const Graph& graph, const CohcOptions& options = {});

// Whether `cycle` (node ids in cycle order; the closing edge is implied) visits every node
// of `graph` exactly once along its edges. When it does not and `fault` is given, *fault
// says the first thing wrong ("node 3 is visited twice").
HAMCYCLES_API bool isHamiltonianCycle(const Graph& graph, const std::vector<int>& cycle,
                                      std::string* fault = nullptr);

// ---------------------------------------------------------------------------------------
// Certificates
// ---------------------------------------------------------------------------------------

// What the checker made of a certificate.
struct CertificateCheck {
  bool accepted = false;
  std::int64_t line = 0;  // rejected: the first failing line of the file (1-based)
  std::string step;       // that line's text, shortened
  std::string reason;     // why it fails
};

// Checks the certificate in the file at `path`, that `graph` has no Hamiltonian cycle, with
// the independent checker (it shares no code with the solvers and reads only the graph's
// edges; forced edges play no part). A certificate that does not hold is a result with
// accepted false, not an error; FileError when the file cannot be read (missing, a folder,
// a device).
HAMCYCLES_API CertificateCheck checkCertificate(const Graph& graph, const std::string& path);

// `text` with every byte that is not printable ASCII (a byte that is not UTF-8 among them) as
// \xNN: one line that always decodes, as hamcycles-cli quotes a certificate's line.
HAMCYCLES_API std::string printableText(const std::string& text);

// ---------------------------------------------------------------------------------------
// Diagnostics
// ---------------------------------------------------------------------------------------

// Where the engine's diagnostic lines go (precondition messages, a reported cycle that
// failed its check): null, the default, discards them. The stream must outlive its use and
// is written from the threads of the runs; set it before any run starts.
HAMCYCLES_API void setMessageStream(std::ostream* stream);

}  // namespace hamcycles
