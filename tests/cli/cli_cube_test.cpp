// One graph in parts from the command line: every part of a split solved by its own process
// (some with one thread, some with two: the split does not depend on it), joined to the
// verdict one process gives, with a certificate `check` accepts or a cycle `verify` accepts;
// a missing part leaves the join undecided and named; and bad records get one clear line.
#include <gtest/gtest.h>

#include "cli_runner.h"

namespace hc::testing {
namespace {

// Runs parts 0..K-1 of `graph` into `folder`; the exit statuses must be verdicts.
void runParts(const std::string& graph, int parts, const ScratchFolder& folder, const std::string& prefix) {
  for (int i = 0; i < parts; ++i) {
    const std::string name = prefix + std::to_string(i);
    CliRun run = runCli({"solve", graph, "--cube", std::to_string(i) + "/" + std::to_string(parts),
                         "--threads", i % 2 ? "2" : "1", "--result", folder / (name + ".json"), "--proof",
                         folder / (name + ".proof")});
    ASSERT_TRUE(run.exitCode == 10 || run.exitCode == 20 || run.exitCode == 0) << run.err;
  }
}

TEST(CliCube, PartsJoinToTheVerdictOfOneProcess) {
  ScratchFolder scratch;
  const std::string gp = scratch / "gp11.txt";
  ASSERT_EQ(runCli({"generate", "petersen", "11", "2", "--output", gp}).exitCode, 0);
  const std::tuple<std::string, int> rows[] = {
      {example("knight8x8.txt"), 8}, {gp, 16}, {example("petersen.txt"), 4}};
  for (const auto& [graph, parts] : rows) {
    SCOPED_TRACE(graph + " in " + std::to_string(parts) + " parts");
    ScratchFolder folder;
    const int one = runCli({"solve", graph, "--threads", "1"}).exitCode;
    runParts(graph, parts, folder, "part-");
    CliRun join = runCli({"join", graph, folder / "", "--json", "--proof", folder / "whole.proof", "--output",
                          folder / "cycle.txt"});
    ASSERT_EQ(join.exitCode, one) << join.err;
    const auto j = join.json();
    EXPECT_EQ(j.at("parts"), parts);
    if (one == 20) {
      EXPECT_EQ(j.at("certified"), true);
      EXPECT_EQ(runCli({"check", graph, folder / "whole.proof"}).exitCode, 0);
    } else {
      EXPECT_EQ(runCli({"verify", graph, folder / "cycle.txt"}).exitCode, 0);
    }
    if (one == 20 && j.at("openParts").get<int>() > 3) {
      // A missing part: undecided, and named on stderr and in the JSON.
      std::filesystem::remove(folder / "part-3.json");
      CliRun missing = runCli({"join", graph, folder / "", "--json"});
      EXPECT_EQ(missing.exitCode, 0);
      EXPECT_EQ(missing.json().at("missing"), nlohmann::json::array({3}));
      EXPECT_EQ(missing.err, "hamcycles-cli: missing parts: 3\n");
    }
  }
}

TEST(CliCube, BadRecordsAndArgumentsGetOneLine) {
  ScratchFolder scratch;
  const std::string gp = scratch / "gp11.txt", petersen = example("petersen.txt");
  ASSERT_EQ(runCli({"generate", "petersen", "11", "2", "--output", gp}).exitCode, 0);
  runParts(gp, 4, scratch, "four-");
  runParts(gp, 2, scratch, "two-");
  CliRun plain = runCli({"solve", gp, "--json"});
  const std::string solveJson = writeFile(scratch / "plain.json", plain.out);
  const std::string broken = writeFile(scratch / "broken.json", slurp(scratch / "four-1.json").substr(0, 30));
  std::string tampered = slurp(scratch / "four-1.json");
  const size_t at = tampered.find("\"forced\"");
  ASSERT_NE(at, std::string::npos);
  tampered.replace(at, 8, "\"deleted\"");
  writeFile(scratch / "tampered.json", tampered);
  std::filesystem::create_directory(scratch / "empty");
  const std::tuple<std::vector<std::string>, std::string> rows[] = {
      // arguments, part of the one line
      {{"solve", gp, "--cube", "4/4"}, "--cube takes I/K, part I (0-based) of K parts"},
      {{"solve", gp, "--cube", "1/x"}, "--cube takes I/K"},
      {{"solve", gp, "--result", scratch / "r.json"},
       "--result records a part's result; it goes with --cube I/K"},
      {{"join", petersen, scratch / "four-0.json"}, "four-0.json: the result of another graph"},
      {{"join", gp, scratch / "four-0.json", scratch / "two-1.json"}, "two-1.json: part 1 of 2, while "},
      {{"join", gp, broken}, "broken.json: not a JSON object"},
      {{"join", gp, solveJson}, "plain.json: not the result of a part (no \"cube\" object"},
      {{"join", gp, scratch / "tampered.json"}, "tampered.json: its branch (deleted "},
      {{"join", gp, scratch / "empty"}, "empty: no part's result (*.json) in this folder"},
      {{"join", gp, scratch / "none.json"}, "none.json"},
  };
  for (const auto& [args, message] : rows) {
    SCOPED_TRACE(args[0] + " " + args.back());
    CliRun run = runCli(args);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.errLines(), 1) << run.err;
    EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
  }
}

}  // namespace
}  // namespace hc::testing
