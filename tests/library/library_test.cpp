// The public library through its one header only: the refusals with their exact messages,
// and the ways a run is stopped or watched from outside (a stop token's copies share one
// request). Known answers with checked cycles and files in every writable format are the
// Python suite's, whose module makes the same library calls (solve, schc, cohc,
// isHamiltonianCycle, readGraph, writeGraph, GraphReader).
#include <gtest/gtest.h>
#include <hamcycles/hamcycles.h>

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

namespace {

namespace hcl = hamcycles;

TEST(Library, RefusesBadInputWithOneClearLine) {
  const std::string missing = "no-such-folder/none.txt";
  // What, the call, whether it is a file error, the message.
  using Refusal = std::tuple<const char*, std::function<void()>, bool, std::string>;
  // One row per refusal: the table reads better unwrapped.
  // clang-format off
  const std::vector<Refusal> cases = {
      {"negative node count", [] { hcl::Graph::fromEdges(-1, {}); }, false, "a graph needs at least 1 node, not -1"},
      {"self loop", [] { hcl::Graph::fromEdges(3, {{0, 1}, {2, 2}}); }, false, "edge 1 (2, 2) joins node 2 to itself"},
      {"end out of range", [] { hcl::Graph::fromEdges(3, {{0, 3}}); }, false, "edge 0 (0, 3): node 3 is out of range 0..2"},
      {"negative end", [] { hcl::Graph::fromEdges(3, {{-1, 2}}); }, false, "edge 0 (-1, 2): node -1 is out of range 0..2"},
      {"neighbours of a non-node", [] { hcl::petersen().neighbours(10); }, false, "node 10 is not a node of the graph (0..9)"},
      {"missing file", [&] { hcl::readGraph(missing); }, true, missing + ": no such file"},
      {"unknown extension", [] { hcl::readGraph(HC_EXAMPLES_DIR "/../README.md"); }, true,
       HC_EXAMPLES_DIR "/../README.md: unknown graph file extension \".md\" (use .txt, .obj, .g, .hcp, .g6, .s6, .col, .dimacs, .edges, .el)"},
      {"unwritable format", [] { hcl::writeGraph(hcl::petersen(), "x.obj"); }, true,
       "x.obj: cannot write this format (use .txt, .hcp, .g6, .s6, .col, .dimacs, .edges, .el)"},
      {"edge list base", [] { hcl::readGraph("x.el", 2); }, false, "edgeListBase must be 0 or 1, not 2"},
      {"knight board", [] { hcl::knight(8, 3); }, false, "ERROR: The board must have at least 4 columns."},
      {"regular parity", [] { hcl::regular(9, 3, 1); }, false,
       "ERROR: No 3-regular graph on 9 nodes exists: the number of nodes times the degree must be even."},
      {"Petersen parameters", [] { hcl::generalizedPetersen(5, 3); }, false, "GP(N, K) needs 1 <= K < N/2 (here K must be 1..2)"},
      {"empty graph", [] { hcl::solve(hcl::Graph()); }, false, "the graph has no nodes"},
      {"threads", [] { hcl::SolveOptions o; o.threads = 0; hcl::solve(hcl::petersen(), o); }, false, "threads must be in 1..256, not 0"},
      {"time limit", [] { hcl::SolveOptions o; o.timeLimitSeconds = -1; hcl::solve(hcl::petersen(), o); }, false,
       "timeLimitSeconds must be 0 (no limit) or a number of seconds in (0, 1e9], not -1"},
      {"schc version", [] { hcl::SchcOptions o; o.version = 10; hcl::schc(hcl::petersen(), o); }, false,
       "version must be 3, 4, 5, 6, 7, 12 or 13, not 10"},
      {"cohc level", [] { hcl::CohcOptions o; o.level = 7; hcl::cohc(hcl::petersen(), o); }, false, "level must be in 0..6, not 7"},
      {"option by name", [] { hcl::SolveOptions().set("frontierWidth", 3).set("frontierWidth", 15); }, false,
       "frontierWidth must be in 1..14, not 15"},
      {"unknown option", [] { hcl::SchcOptions().set("level", 1); }, false,
       "schc has no option \"level\" (version, maxIterations, threads)"},
  };
  // clang-format on
  for (const auto& [what, call, isFileError, message] : cases) {
    SCOPED_TRACE(what);
    try {
      call();
      ADD_FAILURE() << "no error";
    } catch (const hcl::Error& e) {
      const bool fileError = dynamic_cast<const hcl::FileError*>(&e) != nullptr;
      EXPECT_EQ(std::pair(fileError, std::string(e.what())), std::pair(isFileError, message));
    }
  }
}

// Every option of methodOptions(), by its field (where its struct has one) and by its name: the
// options struct's default is the table's and is taken, and one past the range is refused in the
// table's words.
TEST(Library, EveryOptionRefusesAValuePastItsRange) {
  const auto run = [](const hcl::MethodOption& option, int64_t wide, bool byField) {
    const int value = static_cast<int>(wide);
    hcl::SolveOptions solve;
    hcl::SchcOptions schc;
    hcl::CohcOptions cohc;
    // Each sets its option and gives back the struct's default, which must be the table's.
    const std::map<std::string, std::function<int64_t()>> set = {
        {"solve threads", [&] { return std::exchange(solve.threads, value); }},
        {"solve frontierWidth", [&] { return std::exchange(solve.frontierWidth, value); }},
        {"schc version", [&] { return std::exchange(schc.version, value); }},
        {"schc maxIterations", [&] { return std::exchange(schc.maxIterations, wide); }},
        {"schc threads", [&] { return std::exchange(schc.threads, value); }},
        {"cohc level", [&] { return std::exchange(cohc.level, value); }},
        {"cohc maxDepth", [&] { return std::exchange(cohc.maxDepth, value); }},
        {"cohc minimal", [&] { return int64_t{std::exchange(cohc.minimal, wide != 0)}; }}};
    const auto field = set.find(option.method + " " + option.name);
    if (byField && field != set.end())
      EXPECT_EQ(field->second(), option.defaultValue);
    else if (option.method == "solve")
      solve.set(option.name, wide);
    else if (option.method == "schc")
      schc.set(option.name, wide);
    else
      cohc.set(option.name, wide);
    if (option.method == "solve") return hcl::solve(hcl::petersen(), solve).verdict;
    return option.method == "schc" ? hcl::schc(hcl::knight(6, 6), schc).verdict
                                   : hcl::cohc(hcl::petersen(), cohc).verdict;
  };
  for (const hcl::MethodOption& option : hcl::methodOptions()) {
    for (const bool byField : {true, false}) {
      SCOPED_TRACE(option.method + " " + option.name + (byField ? " by field" : " by name"));
      EXPECT_NE(run(option, option.defaultValue, byField), hcl::Verdict::kUndecided);
      if (option.isSwitch) continue;
      try {
        run(option, option.high + 1, byField);
        ADD_FAILURE() << "no error";
      } catch (const hcl::Error& e) {
        EXPECT_EQ(std::string(e.what()), option.name +
                                             (option.choices.empty() ? " must be in " : " must be ") +
                                             option.valuesText + ", not " + std::to_string(option.high + 1));
      }
    }
  }
  // A value set by name reaches the run, over the field of the same name.
  hcl::SchcOptions limited;
  limited.maxIterations = 1000000;
  EXPECT_EQ(hcl::schc(hcl::petersen(), limited.set("maxIterations", 5)).stopped,
            hcl::Stopped::kIterationLimit);
}

TEST(Library, RunsStopFromOutside) {
  const hcl::Graph board = hcl::knight(8, 8);
  hcl::StopToken token;
  token.requestStop();
  hcl::SolveOptions stopped;
  stopped.stop = token;
  const hcl::SolveResult r = hcl::solve(board, stopped);
  EXPECT_EQ(std::tuple(r.verdict, r.stopped, r.cycle.empty()),
            std::tuple(hcl::Verdict::kUndecided, hcl::Stopped::kInterrupted, true));

  // GP(29, 2) is non-Hamiltonian and the mill's initial pruning does not see it: only a
  // limit ends the run.
  const hcl::Graph hard = hcl::generalizedPetersen(29, 2);
  hcl::SchcOptions limited;
  limited.timeLimitSeconds = 0.3;
  const hcl::SolveResult late = hcl::schc(hard, limited);
  EXPECT_EQ(std::pair(late.verdict, late.stopped),
            std::pair(hcl::Verdict::kUndecided, hcl::Stopped::kTimeLimit));

  // A token requested from another thread during a run nobody watches.
  hcl::StopToken later;
  hcl::SchcOptions tokenOnly;
  tokenOnly.stop = later;
  tokenOnly.maxIterations = 300000;  // a fault ends in a failure, not a hang
  std::thread stopper([later] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    later.requestStop();
  });
  const hcl::SolveResult interrupted = hcl::schc(hard, tokenOnly);
  stopper.join();
  EXPECT_EQ(
      std::tuple(interrupted.verdict, interrupted.stopped, interrupted.iterations < tokenOnly.maxIterations),
      std::tuple(hcl::Verdict::kUndecided, hcl::Stopped::kInterrupted, true));

  // The callback runs on the caller's thread; what it throws stops the run and reaches the caller.
  struct Enough {};
  hcl::SchcOptions watched;
  watched.maxIterations = 300000;
  std::thread::id calledOn;
  int64_t iterations = -1;
  watched.progress = [&](const hcl::Progress& p) {
    calledOn = std::this_thread::get_id();
    iterations = p.iterations;
    throw Enough{};
  };
  EXPECT_THROW(hcl::schc(hard, watched), Enough);
  EXPECT_TRUE(calledOn == std::this_thread::get_id() && iterations > 0) << iterations;
}

TEST(Library, VersionIsTheProjectVersion) {
  EXPECT_STREQ(hcl::version(), HC_PROJECT_VERSION);
}

}  // namespace
