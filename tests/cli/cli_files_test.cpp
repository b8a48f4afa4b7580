// info across the four graph formats, generate, verify, and every class of bad input:
// exit status 1, exactly one line on stderr, nothing on stdout, no file left behind.
#include <gtest/gtest.h>

#include "cli_runner.h"
#include "editor/g_file.h"

namespace hc::testing {
namespace {

nlohmann::json figuresWithoutName(const CliRun& run) {
  auto j = run.json();
  j.erase("name");
  return j;
}

// The figures of the Information page, the same from each of the four formats of one graph
// (the knight's corner squares have degree 2: their 8 edges are forced by the pruning).
TEST(CliInfo, FiguresAreThoseOfTheInformationPageInEveryFormat) {
  const std::pair<const char*, nlohmann::json> rows[] = {
      {"petersen", {{"/nodes", 10}, {"/edges", 15}, {"/pruned/forcedEdges", 0}, {"/averageDegree", 3.0},
                    {"/bipartite", false}, {"/connected", true}, {"/biconnected", true}}},
      {"knight8x8", {{"/pruned/forcedEdges", 8}, {"/minDegree", 2}, {"/maxDegree", 8}, {"/bipartite", true}}},
  };
  for (const auto& [stem, figures] : rows) {
    CliRun txt = runCli({"info", example(std::string(stem) + ".txt"), "--json"});
    ASSERT_EQ(txt.exitCode, 0) << txt.err;
    EXPECT_EQ(txt.json().at("name"), std::string(stem) + ".txt");
    for (const auto& [pointer, value] : figures.items())
      EXPECT_EQ(txt.json().at(nlohmann::json::json_pointer(pointer)), value) << stem << pointer;
    for (const char* ext : {".hcp", ".obj", ".g"}) {
      CliRun other = runCli({"info", example(std::string(stem) + ext), "--json"});
      ASSERT_EQ(other.exitCode, 0) << stem << ext << ": " << other.err;
      EXPECT_EQ(figuresWithoutName(other), figuresWithoutName(txt)) << stem << ext;
    }
  }
  CliRun human = runCli({"info", example("knight8x8.txt")});
  EXPECT_NE(human.out.find("Avg. Degree:    5.25\n"), std::string::npos) << human.out;
  EXPECT_NE(human.out.find("Forced Edges:  8\n"), std::string::npos);
  EXPECT_NE(human.out.find("Bipartite:           Yes\n"), std::string::npos);
}

TEST(CliGenerate, FamiliesAreBuiltAndNamed) {
  ScratchFolder scratch;
  CliRun knight = runCli({"generate", "knight", "8", "8", "--output", scratch / "k.hcp", "--json"});
  ASSERT_EQ(knight.exitCode, 0) << knight.err;
  EXPECT_EQ(knight.json().at("name"), "Knight's Tour Graph With 64 Nodes (8 X 8)");
  EXPECT_EQ(knight.json().at("edges"), 168);
  auto fromHcp = runCli({"info", scratch / "k.hcp", "--json"});
  EXPECT_EQ(figuresWithoutName(fromHcp), figuresWithoutName(runCli({"info", example("knight8x8.txt"), "--json"})));

  CliRun sat = runCli({"generate", "3sat", "5", "2", "--seed", "9", "--output", scratch / "s.txt", "--cnf",
                       scratch / "s.cnf", "--json"});
  ASSERT_EQ(sat.exitCode, 0) << sat.err;
  std::string cnf = slurp(scratch / "s.cnf");
  EXPECT_NE(cnf.find("p cnf 5 10"), std::string::npos) << cnf;
  EXPECT_EQ(runCli({"info", scratch / "s.txt", "--json"}).json().at("nodes"), sat.json().at("nodes"));
}

TEST(CliVerify, NamesTheFirstFault) {
  ScratchFolder scratch;
  const std::tuple<const char*, const char*, const char*> faults[] = {  // file, text, fault
      {"rim.ids", "0 1 2 3 4\n", "the cycle has 5 nodes, the graph 10"},  // Petersen's outer 5-cycle
      {"bad.ids", "0 1 2 3 4 5 6 7 8 9\n", "4-5 is not an edge of the graph"},
      {"twice.ids", "0\n1\n2\n3\n4\n0\n6\n7\n8\n9\n", "node 0 is visited twice"},
      {"range.ids", "0 1 2 3 4 5 6 7 8 19\n", "node 19 is out of range 0..9"},
      {"adj.txt", "0 1 4 5\n1 0 2\n", "more than two cycle neighbours"},  // adjacency text, not one cycle
      {"rings.txt", "0 1 4\n1 0 2\n2 1 3\n3 2 4\n4 3 0\n5 7 8\n6 8 9\n7 5 9\n8 5 6\n9 6 7\n",
       "the cycle through node 0 closes after 5 of 10 nodes"},  // the outer and the inner ring
  };
  for (const auto& [file, text, fault] : faults) {
    CliRun run = runCli({"verify", example("petersen.txt"), writeFile(scratch / file, text)});
    EXPECT_EQ(run.exitCode, 1) << file;
    EXPECT_NE(run.out.find(fault), std::string::npos) << run.out;
  }
}

TEST(CliBadInput, EveryClassGetsOneLineAndExitStatusOne) {
  ScratchFolder scratch;
  std::string petersen = example("petersen.txt");
  std::string garbage;
  for (int i = 0; i < 300; ++i) garbage += static_cast<char>((i * 37 + 11) & 0xFF);
  std::string validG = slurp(example("petersen.g"));
  ASSERT_TRUE(saveGFile(Graph2D{}, scratch / "empty.g"));  // a valid drawing without nodes
  std::filesystem::create_directory(scratch / "dir.g6");
  const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {  // what, arguments
      {"missing file", {"info", scratch / "missing.txt"}},
      {"folder", {"info", scratch.path().string() + "/"}},
      {"unknown extension", {"info", writeFile(scratch / "graph.png", "0 1\n")}},
      {"txt: letters", {"info", writeFile(scratch / "letters.txt", "0 1 2\n1 0 x\n2 0 1\n")}},
      {"txt: empty", {"schc", writeFile(scratch / "empty.txt", "")}},
      {"obj: face out of range", {"info", writeFile(scratch / "face.obj", "v 0 0 0\nv 1 0 0\nf 1 5\n")}},
      {"g: random bytes", {"info", writeFile(scratch / "random.g", garbage)}},
      {"g: no nodes", {"schc", scratch / "empty.g"}},
      {"g: truncated", {"cohc", writeFile(scratch / "cut.g", validG.substr(0, validG.size() / 2))}},
      {"hcp: node out of range", {"info", writeFile(scratch / "range.hcp", "TYPE : HCP\nDIMENSION : 3\nEDGE_DATA_SECTION\n1 2\n2 4\n-1\nEOF\n")}},
      {"hcp: no terminator", {"info", writeFile(scratch / "open.hcp", "TYPE : HCP\nDIMENSION : 3\nEDGE_DATA_SECTION\n1 2\n2 3\n")}},
      {"hcp: huge dimension", {"info", writeFile(scratch / "huge.hcp", "TYPE : HCP\nDIMENSION : 99999999999\nEDGE_DATA_SECTION\n-1\n")}},
      {"tour: no terminator", {"verify", petersen, writeFile(scratch / "open.tour", "TOUR_SECTION\n1\n2\n")}},
      {"id list: letters", {"verify", petersen, writeFile(scratch / "ids.txt", "0 1 two\n")}},
      {"missing cycle file", {"verify", petersen, scratch / "nothing.tour"}},
      {"schc --version out of range", {"schc", petersen, "--version", "8"}},
      {"schc --threads 0", {"schc", petersen, "--threads", "0"}},
      {"solve --threads 0", {"solve", petersen, "--threads", "0"}},
      {"schc --time-limit nan", {"schc", petersen, "--time-limit", "nan"}},
      {"schc --seed too large", {"schc", petersen, "--seed", "4294967296"}},
      {"cohc --level 7", {"cohc", petersen, "--level", "7"}},
      {"generate: knight with 3 columns", {"generate", "knight", "8", "3", "--output", scratch / "k.txt"}},
      {"generate: not numeric", {"generate", "complete", "1e3", "--output", scratch / "k.txt"}},
      {"generate: impossible regular", {"generate", "regular", "7", "3", "--output", scratch / "k.txt"}},
      {"generate: unknown family", {"generate", "wheel", "5", "--output", scratch / "k.txt"}},
      {"generate: parameter count", {"generate", "knight", "8", "--output", scratch / "k.txt"}},
      {"generate: no output", {"generate", "complete", "5"}},
      {"generate: output extension", {"generate", "complete", "5", "--output", scratch / "k.png"}},
      {"contradiction: --cnf without 3sat", {"generate", "complete", "5", "--output", scratch / "k.txt", "--cnf", scratch / "f.cnf"}},
      {"contradiction: progress on and off", {"schc", petersen, "--progress", "--no-progress"}},
      {"contradiction: output over the input", {"schc", petersen, "--output", petersen}},
      {"output folder missing", {"schc", petersen, "--output", scratch / "no/such/folder/c.txt"}},
      {"output extension", {"cohc", petersen, "--output", scratch / "c.png"}},
      {"convert: no .obj writer", {"convert", petersen, scratch / "p.obj"}},
      {"convert: missing input", {"convert", scratch / "nothing.g6", scratch / "x.g6"}},
      {"missing --each list", {"cohc", "--each", scratch / "no-list"}},
      {"batch: missing file", {"info", scratch / "missing.txt", "--jobs", "2"}},
      {"batch: folder", {"info", scratch / "dir.g6", "--part", "0/2"}},
      {"--part out of range", {"cohc", petersen, "--part", "3/3"}},
      {"generate: GP(6, 3)", {"generate", "petersen", "6", "3", "--output", scratch / "x.g6"}},
      {"no subcommand", {}},
      {"unknown option", {"info", petersen, "--colour"}},
      {"extra argument", {"info", petersen, petersen}},
  };
  for (const auto& [what, args] : cases) {
    CliRun run = runCli(args);
    SCOPED_TRACE(what + ": " + run.err + run.out);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.errLines(), 1);
    EXPECT_TRUE(run.out.empty());
    EXPECT_EQ(run.err.rfind("hamcycles-cli: ", 0), 0u);
  }
  // Nothing refused left a file behind.
  for (const char* name : {"k.txt", "k.png", "f.cnf", "c.png", "p.obj", "x.g6"}) EXPECT_FALSE(std::filesystem::exists(scratch / name)) << name;
}

}  // namespace
}  // namespace hc::testing
