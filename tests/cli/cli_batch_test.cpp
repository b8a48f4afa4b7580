// Batch runs over many graphs, through the built program: JSON Lines in input
// order with a final count, a faulty line reported and passed over, parts that together
// decide each graph once, the time limit per graph and Ctrl-C (bad usage is in the
// bad-input table).
#include <gtest/gtest.h>

#include <map>

#include "cli_runner.h"

namespace hc::testing {
namespace {

std::vector<nlohmann::json> jsonLines(const std::string& out) {
  std::vector<nlohmann::json> lines;
  std::istringstream in(out);
  for (std::string line; std::getline(in, line);) lines.push_back(nlohmann::json::parse(line));
  return lines;
}

// Petersen (not Hamiltonian), K4, a faulty line, C5 as sparse6, GP(11, 2) (not Hamiltonian).
const char* kMixed = ">>graph6<<IheA@GUAo\nC~\nIheA@GUA\n:DaHg~\nUhCGGC@?K?o?O?G@A?OOA@?GA?OA?O@?G?SA?A_O\n";

TEST(CliBatch, EveryGraphGetsOneLineInOrderAndTheFaultyOneIsReported) {
  ScratchFolder scratch;
  writeFile(scratch / "mixed.g6", kMixed);
  for (const char* jobs : {"1", "3"}) {
    CliRun run = runCli({"cohc", scratch / "mixed.g6", "--json", "--jobs", jobs});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    auto lines = jsonLines(run.out);
    ASSERT_EQ(lines.size(), 6u) << run.out;
    const char* verdicts[] = {"non-hamiltonian", "hamiltonian", "unreadable", "hamiltonian",
                              "non-hamiltonian"};
    for (int i = 0; i < 5; ++i) {
      EXPECT_EQ(lines[i].at("index"), i);
      EXPECT_EQ(lines[i].at("verdict"), verdicts[i]) << i;
    }
    EXPECT_NE(lines[2].at("error").get<std::string>().find("mixed.g6: line 3:"), std::string::npos);
    const nlohmann::json counts = {
        {"graphs", 5}, {"hamiltonian", 2}, {"non-hamiltonian", 2}, {"unreadable", 1}};
    for (const auto& [key, value] : counts.items()) EXPECT_EQ(lines[5].at(key), value) << key;
  }
  // A file name that is not UTF-8 goes into the JSON as its Latin-1 reading, directly and
  // through --each (0xFF is U+00FF, "\xC3\xBF" in UTF-8).
  writeFile(scratch / "r1-\xFF.g6", kMixed);
  writeFile(scratch / "latin1-list", scratch / "r1-\xFF.g6\n");
  for (const auto& args : {std::vector<std::string>{"info", scratch / "r1-\xFF.g6", "--json"},
                           std::vector<std::string>{"solve", "--each", scratch / "latin1-list", "--json"}}) {
    CliRun run = runCli(args);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    auto lines = jsonLines(run.out);
    ASSERT_EQ(lines.size(), 6u) << run.out;
    EXPECT_EQ(lines[0].at("where").get<std::string>().rfind(scratch / "r1-\xC3\xBF.g6", 0), 0u);
    EXPECT_EQ(lines[5].at("graphs"), 5);
  }
  // The same graphs through --each, with a listed file that does not exist.
  writeFile(scratch / "list", scratch / "mixed.g6" + "\n# comment\n" + scratch / "missing.g6\n" +
                                  example("petersen.txt") + "\n");
  CliRun each = runCli({"info", "--each", scratch / "list"});
  ASSERT_EQ(each.exitCode, 0) << each.err;
  EXPECT_NE(each.out.find("#5 " + scratch / "missing.g6: unreadable"), std::string::npos) << each.out;
  EXPECT_NE(each.out.find("Graphs: 7, Hamiltonian 0, non-Hamiltonian 0, undecided 5, unreadable 2"),
            std::string::npos)
      << each.out;
}

TEST(CliBatch, PartsTogetherDecideEachGraphExactlyOnce) {
  ScratchFolder scratch;
  writeFile(scratch / "many.g6", std::string(kMixed) + kMixed + kMixed + kMixed);
  std::map<int, std::string> seen;
  for (int part = 0; part < 3; ++part) {
    CliRun run = runCli({"schc", scratch / "many.g6", "--json", "--max-iterations", "200", "--jobs", "2",
                         "--part", std::to_string(part) + "/3"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    auto lines = jsonLines(run.out);
    for (size_t i = 0; i + 1 < lines.size(); ++i) {
      int index = lines[i].at("index");
      EXPECT_EQ(index % 3, part);
      EXPECT_TRUE(seen.emplace(index, lines[i].at("verdict")).second) << index;
    }
  }
  ASSERT_EQ(seen.size(), 20u);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(seen[i] == "unreadable", i % 5 == 2) << i;
}

// --proof-dir: one certificate per non-Hamiltonian graph, NAME-INDEX.proof, each accepted by
// `check` against its own graph; every decided line says whether its graph was certified.
TEST(CliBatch, ProofDirGetsOneCheckedCertificatePerNonHamiltonianGraph) {
  ScratchFolder scratch;
  std::filesystem::create_directory(scratch / "proofs");
  writeFile(scratch / "mixed.g6", kMixed);
  CliRun run =
      runCli({"solve", scratch / "mixed.g6", "--proof-dir", scratch / "proofs", "--json", "--jobs", "2"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  auto lines = jsonLines(run.out);
  ASSERT_EQ(lines.size(), 6u) << run.out;
  EXPECT_EQ(lines[5].at("certified"), 2);
  std::istringstream graphs(std::string(kMixed).substr(10));  // without the header
  std::string graph;
  for (int i = 0; i < 5 && std::getline(graphs, graph); ++i) {
    const bool proved = lines[i].at("verdict") == "non-hamiltonian";
    EXPECT_EQ(lines[i].value("certified", false), proved) << i;
    if (!proved) continue;
    const std::string proof = scratch / ("proofs/mixed-" + std::to_string(i) + ".proof");
    EXPECT_EQ(lines[i].at("proof"), proof);
    CliRun check = runCli({"check", writeFile(scratch / "one.g6", graph + "\n"), proof});
    EXPECT_EQ(check.exitCode, 0) << i << ": " << check.err;
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch / "proofs"), {}), 2);
}

// Each graph gets the whole time limit; Ctrl-C ends a batch with whole lines and the count.
TEST(CliBatch, TheTimeLimitHoldsForEachGraphAndCtrlCEndsWithWholeLinesAndTheCount) {
  ScratchFolder scratch;
  const std::string three = writeFile(scratch / "p.g6", "IheA@GUAo\nC~\nIheA@GUAo\n");
  CliRun limited = runCli({"schc", three, "--json", "--jobs", "2", "--time-limit", "0.3"});
  ASSERT_EQ(limited.exitCode, 0) << limited.err;
  auto lines = jsonLines(limited.out);
  ASSERT_EQ(lines.size(), 4u);
  for (int i : {0, 2}) {
    EXPECT_EQ(lines[i].at("stopped"), "time limit");
    EXPECT_GE(lines[i].at("seconds").get<double>(), 0.3);
  }
  EXPECT_EQ(lines[1].at("verdict"), "hamiltonian");
  std::string text;
  for (int i = 0; i < 50; ++i) text += "IheA@GUAo\n";  // schc never decides Petersen
  CliRun interrupted = runCli({"schc", writeFile(scratch / "many.g6", text), "--json", "--jobs", "2"}, 0.5);
  ASSERT_EQ(interrupted.exitCode, 0) << interrupted.err;
  lines = jsonLines(interrupted.out);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines.back().at("interrupted"), true);
  EXPECT_EQ(lines.back().at("graphs"), static_cast<int>(lines.size()) - 1);
}

}  // namespace
}  // namespace hc::testing
