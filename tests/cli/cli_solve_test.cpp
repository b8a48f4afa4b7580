// The solving commands end to end: exit statuses, the JSON object, the cycle (checked here
// against the graph file with code of the test's own), replay by seed, output files and
// Ctrl-C.
#include <gtest/gtest.h>

#include "cli_runner.h"

namespace hc::testing {
namespace {

std::vector<int32_t> cycleOf(const nlohmann::json& j) { return j.at("cycle").get<std::vector<int32_t>>(); }

TEST(CliSolve, KnightsTourIsHamiltonianBySchcWithOneThreadOrTheMill) {
  for (const char* threads : {"1", "2"}) {
    CliRun run = runCli({"schc", example("knight8x8.txt"), "--seed", "7", "--threads", threads, "--json"});
    ASSERT_EQ(run.exitCode, 10) << threads << ": " << run.err;
    auto j = run.json();
    EXPECT_EQ(nlohmann::json({{"verdict", j.at("verdict")}, {"nodes", j.at("nodes")}, {"edges", j.at("edges")},
                              {"seed", j.at("seed")}, {"threads", j.at("threads")}}),
              nlohmann::json({{"verdict", "hamiltonian"}, {"nodes", 64}, {"edges", 168}, {"seed", 7},
                              {"threads", std::stoi(threads)}}));
    EXPECT_TRUE(j.at("seconds").is_number());
    EXPECT_TRUE(isHamiltonianCycleOfFile(example("knight8x8.txt"), cycleOf(j)));
    EXPECT_EQ(cycleOf(j).front(), 0);
  }
}

TEST(CliSolve, PetersenIsProvedNonHamiltonianByCohc) {
  for (const char* file : {"petersen.txt", "petersen.hcp"}) {
    CliRun run = runCli({"cohc", example(file), "--json"});
    ASSERT_EQ(run.exitCode, 20) << file << ": " << run.err;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1);  // one object, nothing else
    auto j = run.json();
    EXPECT_EQ(nlohmann::json({{"verdict", j.at("verdict")}, {"nodes", j.at("nodes")}, {"edges", j.at("edges")}}),
              nlohmann::json({{"verdict", "non-hamiltonian"}, {"nodes", 10}, {"edges", 15}}));
    EXPECT_FALSE(j.contains("cycle"));
    EXPECT_GE(j.at("treeNodes").get<int64_t>(), 1);
    EXPECT_GE(j.at("deepestDepth").get<int>(), 0);
  }
}

TEST(CliSolve, LimitedRunsAreUndecided) {
  CliRun schc = runCli({"schc", example("petersen.txt"), "--max-iterations", "25", "--json"});
  ASSERT_EQ(schc.exitCode, 0) << schc.err;
  EXPECT_EQ(schc.json().at("verdict"), "undecided");
  EXPECT_EQ(schc.json().at("iterations"), 25);
  EXPECT_FALSE(schc.json().contains("cycle"));

  CliRun cohc = runCli({"cohc", example("petersen.txt"), "--max-depth", "0", "--level", "0", "--json"});
  ASSERT_EQ(cohc.exitCode, 0) << cohc.err;
  EXPECT_EQ(cohc.json().at("verdict"), "undecided");
  EXPECT_EQ(cohc.json().at("deepestDepth"), 0);
}

TEST(CliSolve, HumanSummaryNamesTheVerdict) {
  CliRun cohc = runCli({"cohc", example("petersen.txt")});
  ASSERT_EQ(cohc.exitCode, 20);
  EXPECT_NE(cohc.out.find("Verdict: non-Hamiltonian"), std::string::npos);
  EXPECT_NE(cohc.out.find("Depth"), std::string::npos);  // the per-depth table
  CliRun schc = runCli({"schc", example("knight8x8.txt")});
  ASSERT_EQ(schc.exitCode, 10);
  EXPECT_NE(schc.out.find("Verdict: Hamiltonian"), std::string::npos);
}

TEST(CliSolve, SeedReplaysTheRunWithOneThread) {
  ScratchFolder scratch;
  // A random cubic graph needs a few iterations, so replay is really put to the test.
  std::string graph = scratch / "cubic.txt";
  ASSERT_EQ(runCli({"generate", "regular", "40", "3", "--seed", "5", "--output", graph}).exitCode, 0);
  std::vector<nlohmann::json> runs;
  for (int i = 0; i < 2; ++i) {
    CliRun run = runCli({"schc", graph, "--seed", "123", "--threads", "1", "--version", "3", "--time-limit", "20", "--json"});
    ASSERT_NE(run.exitCode, 1) << run.err;
    runs.push_back(run.json());
  }
  EXPECT_EQ(runs[0].at("verdict"), runs[1].at("verdict"));
  EXPECT_EQ(runs[0].at("iterations"), runs[1].at("iterations"));
  if (runs[0].at("verdict") == "hamiltonian") {
    EXPECT_EQ(runs[0].at("cycle"), runs[1].at("cycle"));
  }
}

TEST(CliSolve, OutputFilesHoldTheCycleInEachFormat) {
  ScratchFolder scratch;
  for (const char* name : {"cycle.txt", "cycle.tour"}) {
    std::string out = scratch / name;
    CliRun run = runCli({"schc", example("knight8x8.txt"), "--output", out, "--json"});
    ASSERT_EQ(run.exitCode, 10) << run.err;
    CliRun check = runCli({"verify", example("knight8x8.txt"), out});
    EXPECT_EQ(check.exitCode, 0) << name << ": " << check.out << check.err;
  }
  // The tour in TSPLIB form: 1-based, TOUR_SECTION ... -1, EOF.
  std::string tour = slurp(scratch / "cycle.tour");
  EXPECT_NE(tour.find("TYPE : TOUR\nDIMENSION : 64\nTOUR_SECTION\n1\n"), std::string::npos);
  EXPECT_TRUE(tour.ends_with("-1\nEOF\n"));

  // .obj needs coordinates: refused for a text graph before the run, written for an OBJ.
  CliRun refused = runCli({"schc", example("knight8x8.txt"), "--output", scratch / "cycle.obj"});
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_EQ(refused.errLines(), 1);
  EXPECT_FALSE(std::filesystem::exists(scratch / "cycle.obj"));
  CliRun obj = runCli({"schc", example("knight8x8.obj"), "--output", scratch / "cycle.obj"});
  ASSERT_EQ(obj.exitCode, 10) << obj.err;
  std::string objText = slurp(scratch / "cycle.obj");
  EXPECT_NE(objText.find("# Hamiltonian Cycle:\nl 1 "), std::string::npos);
  EXPECT_TRUE(objText.ends_with(" 1\n"));
  EXPECT_EQ(runCli({"verify", example("knight8x8.obj"), scratch / "cycle.obj"}).exitCode, 0);

  // No cycle, no file.
  EXPECT_EQ(runCli({"cohc", example("petersen.txt"), "--output", scratch / "none.txt"}).exitCode, 20);
  EXPECT_FALSE(std::filesystem::exists(scratch / "none.txt"));
}

TEST(CliSolve, CtrlCStopsARunAsUndecided) {
  // Petersen survives SCHC's initial pruning, so without a limit the run goes on until it
  // is stopped.
  CliRun run = runCli({"schc", example("petersen.txt"), "--json"}, 1.0);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  auto j = run.json();
  EXPECT_EQ(j.at("verdict"), "undecided");
  EXPECT_EQ(j.at("stopped"), "interrupted");
}

TEST(CliSolve, ATimeLimitEndsEvenALongPruningStep) {
  // The root pruning of a 3-SAT reduction graph with a thousand nodes runs far longer than
  // the limit; the run must still end, undecided, with its one JSON object.
  ScratchFolder scratch;
  std::string graph = scratch / "sat.txt";
  ASSERT_EQ(runCli({"generate", "3sat", "5", "4.2", "--seed", "3", "--output", graph}).exitCode, 0);
  CliRun run = runCli({"cohc", graph, "--time-limit", "0.5", "--json"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.json().at("verdict"), "undecided");
  EXPECT_EQ(run.json().at("stopped"), "time limit");
}

TEST(CliSolve, ProgressLineOnlyWhenAsked) {
  CliRun quiet = runCli({"schc", example("petersen.txt"), "--time-limit", "0.6", "--json"});
  EXPECT_EQ(quiet.err.find("iterations"), std::string::npos);
  EXPECT_EQ(quiet.json().at("stopped"), "time limit");
  CliRun shown = runCli({"schc", example("petersen.txt"), "--time-limit", "0.6", "--json", "--progress"});
  EXPECT_NE(shown.err.find("schc: "), std::string::npos);
  EXPECT_NE(shown.err.find("/s, best"), std::string::npos);
  EXPECT_NO_THROW(shown.json());  // stdout still holds only the JSON object
}

}  // namespace
}  // namespace hc::testing
