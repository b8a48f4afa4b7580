// The solving commands end to end: exit statuses, the JSON object, the cycle (checked here
// against knight moves of the tests' own), replay by seed, output files, and
// the time limit and Ctrl-C, also on a graph `solve` cannot decide in time.
#include <gtest/gtest.h>

#include <random>

#include "cli_runner.h"
#include "core/diagnostics.h"
#include "run/graph_loading.h"
#include "run/method_option_table.h"
#include "run/method_runners.h"

namespace hc::testing {
namespace {

nlohmann::json with(nlohmann::json figures, const nlohmann::json& more) {
  figures.update(more);
  return figures;
}

// One row per command and verdict: the exit status, figures of the one JSON object, and a
// cycle exactly when the graph was found Hamiltonian (checked against the knight moves).
TEST(CliSolve, VerdictsExitStatusesAndFigures) {
  const std::string knight = example("knight8x8.txt"), petersen = example("petersen.txt");
  ScratchFolder scratch;  // a name that is not UTF-8 still gives a JSON report and the verdict's exit
  const std::string latin1 = writeFile(scratch / "r8-\xE9.txt", slurp(petersen));
  const EdgeList knightMoves = knightEdges(8, 8);  // the labels of knight8x8.txt
  const EdgeSet moves(knightMoves.begin(), knightMoves.end());
  const nlohmann::json knightFigures = {{"verdict", "hamiltonian"}, {"nodes", 64}, {"edges", 168}};
  const nlohmann::json petersenFigures = {{"verdict", "non-hamiltonian"}, {"nodes", 10}, {"edges", 15}};
  const std::tuple<std::vector<std::string>, int, nlohmann::json> rows[] = {
      // arguments, exit, figures
      {{"schc", knight, "--seed", "7", "--threads", "1"},
       10,
       with(knightFigures, {{"seed", 7}, {"threads", 1}})},
      {{"schc", knight, "--seed", "7", "--threads", "2"},
       10,
       with(knightFigures, {{"seed", 7}, {"threads", 2}})},
      {{"cohc", petersen}, 20, petersenFigures},
      {{"cohc", example("petersen.hcp")}, 20, petersenFigures},
      {{"solve", latin1}, 20, petersenFigures},
      {{"schc", petersen, "--max-iterations", "25"}, 0, {{"verdict", "undecided"}, {"iterations", 25}}},
      {{"cohc", petersen, "--max-depth", "0", "--level", "0"},
       0,
       {{"verdict", "undecided"}, {"deepestDepth", 0}}},
      {{"solve", knight, "--threads", "2"}, 10, knightFigures},
      {{"solve", petersen, "--threads", "1"},
       20,
       {{"verdict", "non-hamiltonian"}, {"method", "exact search"}}},
      {{"solve", petersen, "--frontier-width", "1"}, 20, petersenFigures},
  };
  for (const auto& [rowArgs, exitCode, figures] : rows) {
    std::vector<std::string> args = rowArgs;
    args.push_back("--json");
    CliRun run = runCli(args);
    SCOPED_TRACE(args[0] + " " + args[1] + " " + (args.size() > 3 ? args[3] : ""));
    ASSERT_EQ(run.exitCode, exitCode) << run.err;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1);  // one object, nothing else
    const auto j = run.json();
    for (const auto& [key, value] : figures.items()) EXPECT_EQ(j.at(key), value) << key;
    ASSERT_EQ(j.contains("cycle"), exitCode == 10);
    if (exitCode == 10) {
      const auto cycle = j.at("cycle").get<std::vector<int32_t>>();
      EXPECT_TRUE(isHamiltonianCycleOf(cycle, 64, moves));
      EXPECT_TRUE(args[0] != "schc" || cycle.front() == 0) << cycle.front();
    }
    EXPECT_TRUE(args[0] != "solve" || !j.at("method").get<std::string>().empty());
  }
  // The human summary names the verdict; Co-HC adds its per-depth table.
  CliRun cohc = runCli({"cohc", petersen});
  EXPECT_NE(cohc.out.find("Verdict: non-Hamiltonian"), std::string::npos);
  EXPECT_NE(cohc.out.find("Depth"), std::string::npos);
  EXPECT_NE(runCli({"schc", knight}).out.find("Verdict: Hamiltonian"), std::string::npos);
}

// One seed, one thread: the command line replays its run, and the window's runner (its graph
// loaded long before the run, as the window does) makes the same iterations and finds the
// same cycle. Random cubic graphs need a few iterations, so replay is really put to the test.
// Each method's --help lists every option of the table with its help line.
TEST(CliSolve, HelpListsEveryOptionOfTheTable) {
  for (const MethodOptionRow& row : methodOptionRows()) {
    const CliRun help = runCli({methodCommand(row.method), "--help"});
    EXPECT_NE(help.out.find(row.flag), std::string::npos) << row.flag;
    EXPECT_NE(help.out.find(helpLine(row)), std::string::npos) << helpLine(row);
  }
}

TEST(CliSolve, SeedReplaysTheRunWithOneThreadInTheCliAndTheWindow) {
  ScratchFolder scratch;
  const std::tuple<const char*, const char*, const char*, const char*> rows[] = {
      // nodes, graph seed, version, run seed
      {"40", "5", "3", "123"},
      {"60", "7", "5", "1"},
      {"100", "7", "5", "1"},
      {"30", "2", "4", "9"}};
  for (const auto& [nodes, graphSeed, version, seed] : rows) {
    SCOPED_TRACE(std::string(nodes) + " nodes, version " + version);
    const std::string graph = scratch / (std::string("cubic") + nodes + ".txt");
    ASSERT_EQ(runCli({"generate", "regular", nodes, "3", "--seed", graphSeed, "--output", graph}).exitCode,
              0);
    std::vector<nlohmann::json> runs;  // all but the time taken: verdict, iterations, cycle
    for (int i = 0; i < 2; ++i) {
      CliRun run = runCli({"schc", graph, "--seed", seed, "--threads", "1", "--version", version,
                           "--time-limit", "20", "--json"});
      ASSERT_EQ(run.exitCode, 10) << run.err;
      runs.push_back(run.json());
      runs.back().erase("seconds");
    }
    EXPECT_EQ(runs[0], runs[1]);

    std::ostream quiet{nullptr};  // the mill's hub lines
    ScopedDiagnosticStream silence{quiet};
    LoadedGraph loaded = loadGraphFile(graph);
    ASSERT_TRUE(loaded) << loaded.error;
    std::shared_ptr<Graph> working = std::make_shared<Graph>(*loaded.graph);
    SchcRunner runner;
    SchcOptions options;
    options.version = std::stoi(version);
    runner.start(working, options, static_cast<uint32_t>(std::stoul(seed)), nullptr, [](int16_t) {});
    for (int waited = 0; runner.runInProgress() && waited < 2000; ++waited)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const std::optional<SchcRunner::Finished> window = runner.finished();
    ASSERT_TRUE(window.has_value());
    EXPECT_EQ(window->seed, runs[0].at("seed").get<uint32_t>());
    EXPECT_EQ(window->iterations, runs[0].at("iterations").get<int64_t>());
    EXPECT_EQ(window->cycle, runs[0].at("cycle").get<std::vector<int32_t>>());
  }
}

// Each cycle format as written, and read back by verify; the tour in TSPLIB form is 1-based
// and ends "-1", "EOF" (.obj needs coordinates: see the bad-input table).
TEST(CliSolve, OutputFilesHoldTheCycleInEachFormat) {
  ScratchFolder scratch;
  // The graph, the cycle file, a part of its text and its end.
  const std::tuple<const char*, const char*, const char*, const char*> files[] = {
      {"knight8x8.txt", "cycle.txt", "0 ", "\n"},
      {"knight8x8.txt", "cycle.tour", "TYPE : TOUR\nDIMENSION : 64\nTOUR_SECTION\n1\n", "-1\nEOF\n"},
      {"knight8x8.obj", "cycle.obj", "# Hamiltonian Cycle:\nl 1 ", " 1\n"},
  };
  for (const auto& [graph, name, holds, ends] : files) {
    const std::string out = scratch / name;
    CliRun run = runCli({"schc", example(graph), "--output", out, "--json"});
    ASSERT_EQ(run.exitCode, 10) << name << ": " << run.err;
    const std::string text = slurp(out);
    EXPECT_NE(text.find(holds), std::string::npos) << text;
    EXPECT_TRUE(text.ends_with(ends)) << text;
    CliRun check = runCli({"verify", example(graph), out, "--json"});
    EXPECT_EQ(check.exitCode, 0) << name << ": " << check.out << check.err;
    EXPECT_EQ(check.json().at("hamiltonianCycle"), true);
  }
  // No cycle, no file.
  EXPECT_EQ(runCli({"cohc", example("petersen.txt"), "--output", scratch / "none.txt"}).exitCode, 20);
  EXPECT_FALSE(std::filesystem::exists(scratch / "none.txt"));
}

// --proof: a non-Hamiltonian verdict's certificate is written and `check` accepts it; any
// other verdict leaves an earlier file as it was (bad --proof arguments: the bad-input table).
TEST(CliSolve, ProofFilesHoldCertificatesThatCheckAccepts) {
  ScratchFolder scratch;
  const std::string petersen = example("petersen.txt"), proof = scratch / "g.proof";
  const std::tuple<std::vector<std::string>, int, bool> rows[] = {
      // arguments, exit, written
      {{"solve", petersen}, 20, true},
      {{"cohc", example("petersen.hcp")}, 20, true},
      {{"solve", example("knight8x8.txt")}, 10, false},
      {{"cohc", petersen, "--max-depth", "0", "--level", "0"}, 0, false},
  };
  for (const auto& [rowArgs, exitCode, written] : rows) {
    writeFile(proof, "earlier\n");
    std::vector<std::string> args = rowArgs;
    args.insert(args.end(), {"--proof", proof, "--json"});
    CliRun run = runCli(args);
    SCOPED_TRACE(args[0] + " " + args[1]);
    ASSERT_EQ(run.exitCode, exitCode) << run.err;
    EXPECT_EQ(run.json().at("certified"), written);
    EXPECT_EQ(run.json().at("proof"), written ? nlohmann::json(proof) : nlohmann::json());
    if (!written) {
      EXPECT_EQ(slurp(proof), "earlier\n");
      EXPECT_NE(run.err.find(proof + " not written"), std::string::npos) << run.err;
      continue;
    }
    CliRun check = runCli({"check", args[1], proof});
    EXPECT_EQ(check.exitCode, 0) << check.err;
  }
  CliRun text = runCli({"solve", petersen, "--proof", proof});
  EXPECT_NE(text.out.find("Certificate: written to " + proof + "\n"), std::string::npos) << text.out;
}

// Petersen survives SCHC's initial pruning, so without a limit the run goes on until it is
// stopped; the progress line shows on stderr only when asked, stdout holds only the JSON.
// A cubic graph without a Hamiltonian cycle that no quick method decides: GP(2501, 2) less
// node 0, joined by three edges to a random cubic graph on 6,000 nodes less its node 0. A
// cycle through every node crosses those three edges exactly twice, so it would give
// GP(2501, 2) one; the random side makes the graph too wide for the frontier search, and
// both sides are larger than the fragments the edge cut rule decides alone (5,000 nodes).
std::string wideNonHamiltonianText() {
  std::mt19937 rng(599);
  const int32_t half = 2 * 2501, side = 6000;
  EdgeSet pairs;
  while (pairs.size() != 3 * side / 2) {  // a random pairing, redrawn until simple
    std::vector<int32_t> points;
    for (int32_t v = 0; v < side; ++v) points.insert(points.end(), 3, half + v);
    std::shuffle(points.begin(), points.end(), rng);
    pairs.clear();
    for (size_t i = 0; i < points.size() && points[i] != points[i + 1]; i += 2) {
      const auto [a, b] = std::minmax(points[i], points[i + 1]);
      if (!pairs.emplace(a, b).second) break;
    }
  }
  std::vector<std::vector<int32_t>> adjacent(static_cast<size_t>(half + side));
  std::vector<int32_t> ends[2];  // the neighbours of node 0 and of node half, which are left out
  auto join = [&](int32_t a, int32_t b) {
    adjacent[static_cast<size_t>(a)].push_back(b);
    adjacent[static_cast<size_t>(b)].push_back(a);
  };
  for (auto [a, b] : joined(generalizedPetersenEdges(2501, 2), EdgeList(pairs.begin(), pairs.end()))) {
    if (a == 0 || a == half || b == 0 || b == half)
      ends[a == half || b == half].push_back(a == 0 || a == half ? b : a);
    else
      join(a, b);
  }
  for (size_t i = 0; i < 3; ++i) join(ends[0][i], ends[1][i]);
  auto id = [&](int32_t v) { return v - 1 - (v > half); };  // nodes 0 and half are gone
  std::string text;
  for (int32_t v = 1; v < half + side; ++v) {
    if (v == half) continue;
    text += std::to_string(id(v));
    for (int32_t w : adjacent[static_cast<size_t>(v)]) text += " " + std::to_string(id(w));
    text += "\n";
  }
  return text;
}

// A limit or Ctrl-C ends a run undecided with exit status 0 and its one JSON object, well
// before the monitor's last resort (ending the process after the grace period). Petersen
// survives SCHC's initial pruning, so without a limit SCHC goes on until it is stopped; the
// progress line shows on stderr only when asked. The root pruning of a 3-SAT reduction graph
// with a thousand nodes runs far longer than the limit: the limit still ends it.
TEST(CliSolveCommand, TimeLimitAndCtrlCEndTheRunUndecided) {
  ScratchFolder scratch;
  const std::string graph = writeFile(scratch / "wide.txt", wideNonHamiltonianText());
  const std::string sat = scratch / "sat.txt";
  ASSERT_EQ(runCli({"generate", "3sat", "5", "4.2", "--seed", "3", "--output", sat}).exitCode, 0);
  const std::string petersen = example("petersen.txt");
  const std::tuple<std::vector<std::string>, double, const char*> rows[] = {
      // arguments, Ctrl-C after, stop
      {{"solve", graph, "--time-limit", "0.5"}, 0.0, "time limit"},
      {{"solve", graph}, 1.0, "interrupted"},
      {{"schc", petersen}, 1.0, "interrupted"},
      {{"schc", petersen, "--time-limit", "0.6", "--progress"}, 0.0, "time limit"},
      {{"cohc", sat, "--time-limit", "0.5"}, 0.0, "time limit"},
  };
  for (const auto& [rowArgs, interruptAfter, stopped] : rows) {
    std::vector<std::string> args = rowArgs;
    args.push_back("--json");
    CliRun run = runCli(args, interruptAfter);
    SCOPED_TRACE(args[0] + " " + stopped + ": " + run.err);
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.json().at("verdict"), "undecided");
    EXPECT_EQ(run.json().at("stopped"), stopped);
    EXPECT_EQ(run.err.find("did not stop"), std::string::npos);
    const bool progress = args.size() > 4 && args[4] == "--progress";
    EXPECT_EQ(run.err.find("schc: ") != std::string::npos, progress);
    EXPECT_EQ(run.err.find("/s, best") != std::string::npos, progress);
  }
}

}  // namespace
}  // namespace hc::testing
