// One graph in parts from the command line: every part of a split solved by its own process
// (some with one thread, some with two: the split does not depend on it), joined to the
// verdict one process gives, with a certificate `check` accepts or a cycle `verify` accepts;
// a missing part leaves the join undecided and named; a part split again joins from its
// parts' records in place of its own; and bad records get one clear line.
#include <gtest/gtest.h>

#include "cli_runner.h"

namespace hc::testing {
namespace {

// Runs parts 0..K-1 of `graph` (of its part `above`, "--cube I/K" given before) into
// `folder`; the exit statuses must be verdicts.
void runParts(const std::string& graph, int parts, const ScratchFolder& folder, const std::string& prefix,
              const std::vector<std::string>& above = {}) {
  for (int i = 0; i < parts; ++i) {
    const std::string name = prefix + std::to_string(i);
    std::vector<std::string> args{"solve", graph};
    args.insert(args.end(), above.begin(), above.end());
    args.insert(args.end(),
                {"--cube", std::to_string(i) + "/" + std::to_string(parts), "--threads", i % 2 ? "2" : "1",
                 "--result", folder / (name + ".json"), "--proof", folder / (name + ".proof")});
    CliRun run = runCli(args);
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

// GP(29, 2) (no cycle) and the 8 x 8 knight's graph in 4 parts, part 2 (0) split again into 4:
// joined from part 2's own record left undecided and its parts' records, GP(29, 2) is refuted
// with a certificate `check` accepts (spoiled sub-proofs fail the check and leave it as it
// was), and undecided without an open sub-part's record, which
// is named by its path; the knight's cycle comes from a part of part 0's split alone.
TEST(CliCube, APartSplitAgainJoinsFromItsParts) {
  ScratchFolder scratch;
  const std::string gp = scratch / "gp29.txt";
  ASSERT_EQ(runCli({"generate", "petersen", "29", "2", "--output", gp}).exitCode, 0);
  ScratchFolder folder;
  runParts(gp, 4, folder, "part-");
  std::string own = slurp(folder / "part-2.json");
  const size_t at = own.find("\"verdict\":\"non-hamiltonian\"");
  ASSERT_NE(at, std::string::npos);
  writeFile(folder / "part-2.json", own.replace(at, 27, "\"verdict\":\"undecided\""));
  runParts(gp, 4, folder, "again-", {"--cube", "2/4"});
  CliRun join = runCli({"join", gp, folder / "", "--json", "--proof", folder / "whole.proof"});
  ASSERT_EQ(join.exitCode, 20) << join.err;
  EXPECT_EQ(join.json().at("certified"), true);
  EXPECT_EQ(runCli({"check", gp, folder / "whole.proof"}).exitCode, 0);
  EXPECT_NE(slurp(folder / "whole.proof").find("# part 2 of 4 split again into 4 parts"), std::string::npos);
  // A sub-proof spoiled: the joined certificate fails the check, and the earlier one stays
  // as it was, with no temporary file left beside it.
  const std::string before = slurp(folder / "whole.proof");
  for (const auto& entry : std::filesystem::directory_iterator(folder / ""))
    if (entry.path().extension() == ".proof" && entry.path().filename() != "whole.proof")
      std::ofstream(entry.path(), std::ios::app) << "bogus\n";
  CliRun spoiled = runCli({"join", gp, folder / "", "--json", "--proof", folder / "whole.proof"});
  EXPECT_EQ(spoiled.exitCode, 20) << spoiled.err;
  EXPECT_EQ(spoiled.json().at("certified"), false);
  EXPECT_EQ(slurp(folder / "whole.proof"), before);
  for (const auto& entry : std::filesystem::directory_iterator(folder / ""))
    EXPECT_NE(entry.path().filename().string().rfind(".whole.proof", 0), 0u) << entry.path();
  // The last open part of part 2's split, missing.
  int open = -1;
  for (int j = 0; j < 4; ++j)
    if (nlohmann::json::parse(slurp(folder / ("again-" + std::to_string(j) + ".json")))["cube"]["empty"] ==
        false)
      open = j;
  ASSERT_GE(open, 0);
  std::filesystem::remove(folder / ("again-" + std::to_string(open) + ".json"));
  CliRun missing = runCli({"join", gp, folder / "", "--json"});
  EXPECT_EQ(missing.exitCode, 0);
  const std::string path = "2/4 " + std::to_string(open) + "/4";
  EXPECT_EQ(missing.json().at("missingNested"), nlohmann::json::array({path}));
  EXPECT_EQ(missing.err, "hamcycles-cli: missing parts: " + path + "\n");

  ScratchFolder knight;
  runParts(example("knight8x8.txt"), 4, knight, "again-", {"--cube", "0/4"});
  CliRun found =
      runCli({"join", example("knight8x8.txt"), knight / "", "--json", "--output", knight / "c.txt"});
  ASSERT_EQ(found.exitCode, 10) << found.err;
  EXPECT_EQ(found.json().at("foundBy"), 0);
  EXPECT_EQ(found.json().at("foundByPath").get<std::string>().substr(0, 4), "0/4 ");
  EXPECT_EQ(runCli({"verify", example("knight8x8.txt"), knight / "c.txt"}).exitCode, 0);
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
  // Parts of part 1's split again: into 2, into 3, and records of it tampered with.
  runParts(gp, 2, scratch, "half-", {"--cube", "1/4"});
  ASSERT_EQ(
      runCli({"solve", gp, "--cube", "1/4", "--cube", "0/3", "--result", scratch / "third-0.json"}).exitCode,
      20);
  const std::string nested = slurp(scratch / "half-0.json");
  auto nestedWith = [&](const std::string& name, const std::string& from, const std::string& to) {
    std::string text = nested;
    const size_t found = text.find(from);
    EXPECT_NE(found, std::string::npos) << from;
    return writeFile(scratch / name, text.replace(found, from.size(), to));
  };
  const std::string deep =
      nestedWith("deep.json", "[[0,2]]", "[[0,2],[0,2],[0,2],[0,2],[0,2],[0,2],[0,2],[0,2]]");
  const std::string parent = nestedWith("parent.json", "\"part\":1,", "\"part\":0,");
  const std::string level = nestedWith("level.json", "[[0,2]]", "[[2,2]]");
  const std::string shape = nestedWith("shape.json", "[[0,2]]", "[[0]]");
  std::vector<std::string> tooDeep{"solve", gp};
  for (int k = 0; k < 9; ++k) tooDeep.insert(tooDeep.end(), {"--cube", "0/2"});
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
      {tooDeep, "hamcycles-cli: --cube is given 9 times: a part's path is at most 8 levels deep\n"},
      {{"join", gp, deep}, deep + ": part 1/4 0/2 0/2 0/2 0/2 0/2 0/2 0/2 0/2 is 9 levels deep (at most 8)"},
      {{"join", gp, parent}, ") is not part 0/4 0/2 of this graph's split ("},
      {{"join", gp, level},
       level + ": part 1/4 2/2 is not a part (each level I/K has 0 <= I < K <= 65536)\n"},
      {{"join", gp, shape}, shape + ": \"nested\" is not a list of [part, parts]\n"},
      {{"join", gp, scratch / "half-0.json", scratch / "third-0.json"},
       scratch / "third-0.json" + ": part 1/4 0/3, while " + scratch / "half-0.json" +
           " splits part 1/4 into 2 parts\n"},
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
