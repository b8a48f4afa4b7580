// info across the four graph formats, generate, convert, verify, and every class of bad input (special
// files and unprintable bytes too): exit status 1, exactly one line on stderr naming the
// fault, nothing on stdout, no file left behind.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "cli_runner.h"
#include "io/g_file.h"

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
      {"petersen",
       {{"/nodes", 10},
        {"/edges", 15},
        {"/pruned/forcedEdges", 0},
        {"/averageDegree", 3.0},
        {"/bipartite", false},
        {"/connected", true},
        {"/biconnected", true}}},
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
  for (const char* line : {"Avg. Degree:    5.25\n", "Forced Edges:  8\n", "Bipartite:           Yes\n"})
    EXPECT_NE(human.out.find(line), std::string::npos) << human.out;
}

// A triangle with one forced edge.
const char* kForcedHcp =
    "TYPE : HCP\nDIMENSION : 3\nEDGE_DATA_SECTION\n1 2\n2 3\n3 1\n-1\nFIXED_EDGES_SECTION\n1 2\n-1\nEOF\n";

TEST(CliGenerate, FamiliesAreBuiltAndNamedAndConvertKeepsTheirBytes) {
  ScratchFolder scratch;
  CliRun knight = runCli({"generate", "knight", "8", "8", "--output", scratch / "k.hcp", "--json"});
  ASSERT_EQ(knight.exitCode, 0) << knight.err;
  EXPECT_EQ(knight.json().at("name"), "Knight's Tour Graph With 64 Nodes (8 X 8)");
  EXPECT_EQ(knight.json().at("edges"), 168);
  EXPECT_EQ(figuresWithoutName(runCli({"info", scratch / "k.hcp", "--json"})),
            figuresWithoutName(runCli({"info", example("knight8x8.txt"), "--json"})));

  CliRun sat = runCli({"generate", "3sat", "5", "2", "--seed", "9", "--output", scratch / "s.txt", "--cnf",
                       scratch / "s.cnf", "--json"});
  ASSERT_EQ(sat.exitCode, 0) << sat.err;
  EXPECT_NE(slurp(scratch / "s.cnf").find("p cnf 5 10"), std::string::npos);
  EXPECT_EQ(runCli({"info", scratch / "s.txt", "--json"}).json().at("nodes"), sat.json().at("nodes"));
  // convert: through every writable format and back to the same bytes.
  ASSERT_EQ(runCli({"generate", "petersen", "7", "2", "--output", scratch / "gp.g6"}).exitCode, 0);
  std::string previous = scratch / "gp.g6";
  for (const char* next : {"gp.s6", "gp.col", "gp.el", "gp.hcp", "gp.txt", "gp.dimacs", "back.g6"}) {
    CliRun run = runCli({"convert", previous, scratch / next, "--base", "1"});
    ASSERT_EQ(run.exitCode, 0) << next << ": " << run.err;
    EXPECT_TRUE(run.err.empty()) << next << ": " << run.err;  // nothing dropped, nothing to warn about
    previous = scratch / next;
  }
  // Forced edges into a format without them: one warning line (a refusal with --strict is in
  // the bad-input table).
  CliRun dropped = runCli({"convert", writeFile(scratch / "f.hcp", kForcedHcp), scratch / "f.el"});
  EXPECT_EQ(
      std::tuple(dropped.exitCode, dropped.err),
      std::tuple(0, "hamcycles-cli: warning: " + scratch / "f.hcp: Edge List does not keep forced edges: "
                                                           "1 is dropped\n"));
  EXPECT_EQ(slurp(scratch / "back.g6"), slurp(scratch / "gp.g6"));
  // GP(5, 2) comes out labelled as the Petersen graph of the graph6 literature.
  ASSERT_EQ(runCli({"generate", "petersen", "5", "2", "--output", scratch / "p.g6"}).exitCode, 0);
  EXPECT_EQ(slurp(scratch / "p.g6"), ">>graph6<<IheA@GUAo\n");
}

TEST(CliVerify, NamesTheFirstFault) {
  ScratchFolder scratch;
  const std::tuple<const char*, const char*, const char*> faults[] = {
      // file, text, fault
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

// check: exit 0 with one line on stdout when the certificate holds; else exit 1 and one
// line on stderr naming the file, the first failing line and why.
TEST(CliCheck, AcceptsAHoldingCertificateAndNamesTheFirstFailingLine) {
  ScratchFolder scratch;
  const std::string header = "hamcycles-certificate 1\ngraph 10 15\n";
  CliRun good = runCli({"check", example("petersen.hcp"),
                        writeFile(scratch / "good.cert", header + "frontier 9 8 7 6 5 4 3 2 1 0\n")});
  EXPECT_EQ(good.exitCode, 0) << good.err;
  EXPECT_EQ(good.out,
            "accepted: " + scratch / "good.cert" + " proves that petersen.hcp has no Hamiltonian cycle\n");
  const std::vector<std::pair<std::string, std::string>> bad = {
      {header + "split 0 1\ncontradiction\n",
       "bad.cert: line 4 (contradiction): contradiction: propagation finds no contradiction in this "
       "branch\n"},
      {"hamcycles-certificate 1\ngraph 10 16\n",
       "bad.cert: line 2 (graph 10 16): the certificate is for a graph of 10 nodes and 16 edges; this graph "
       "has 10 and 15\n"},
  };
  for (const auto& [text, error] : bad) {
    CliRun run = runCli({"check", example("petersen.txt"), writeFile(scratch / "bad.cert", text)});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.empty());
    EXPECT_EQ(run.err, "hamcycles-cli: " + scratch / "bad.cert" + error.substr(8));
  }
  CliRun missing = runCli({"check", example("petersen.txt"), scratch / "none.cert"});
  EXPECT_EQ(missing.err, "hamcycles-cli: " + scratch / "none.cert" + ": no such file\n");
  // A file of several graphs (Petersen, then K4): refused unless --index chooses one, which
  // the statement names.
  const std::string two = writeFile(scratch / "two.g6", "IheA@GUAo\nC~\n");
  const std::string proof = writeFile(scratch / "p.cert", header + "frontier 9 8 7 6 5 4 3 2 1 0\n");
  EXPECT_EQ(
      runCli({"check", two, proof}).err,
      "hamcycles-cli: " + two +
          " holds several graphs: choose the one the certificate is for with --index I (0 for the first, as "
          "--proof-dir numbers their certificates)\n");
  EXPECT_EQ(runCli({"check", two, proof, "--index", "0"}).out,
            "accepted: " + proof + " proves that graph #0 (" + two + ": line 1) has no Hamiltonian cycle\n");
  EXPECT_EQ(runCli({"check", two, proof, "--index", "1"}).exitCode, 1);
  EXPECT_EQ(runCli({"check", two, proof, "--index", "2"}).err,
            "hamcycles-cli: " + two + " holds 2 graphs: --index 2 is out of range\n");
}

// Each row: the arguments and a part of the one error line. Special files (a FIFO, devices,
// a file above the input limit) are refused before reading; bytes that cannot be shown
// are quoted escaped, so the line stays one line of plain characters.
// "-" is standard input in every format (g6/s6 as a stream of graphs, one JSON line each
// and the count), and standard output for convert; both programs' --version.
TEST(CliPipes, StandardInputInEveryFormatAndStandardOutput) {
  ScratchFolder scratch;
  const std::string petersen = example("petersen.txt");
  for (const char* format : {"txt", "hcp", "col", "edges", "el", "g6", "s6"}) {
    ASSERT_EQ(runCli({"convert", petersen, scratch / (std::string("p.") + format)}).exitCode, 0) << format;
    CliRun piped = runCli({"solve", "-", "--format", format, "--json"}, 0.0,
                          slurp(scratch / (std::string("p.") + format)));
    ASSERT_EQ(piped.exitCode, format[0] == 'g' || format[0] == 's' ? 0 : 20) << format << ": " << piped.err;
    const auto first = nlohmann::json::parse(piped.out.substr(0, piped.out.find('\n')));
    EXPECT_EQ(first.at("verdict"), "non-hamiltonian") << format;
    EXPECT_EQ(first.at("nodes"), 10) << format;
    EXPECT_EQ(first.at("edges"), 15) << format;
  }
  // Through standard output and back in: the file's bytes, three graphs, three lines.
  CliRun out = runCli({"convert", petersen, "-", "--format", "g6"});
  ASSERT_EQ(out.exitCode, 0) << out.err;
  EXPECT_EQ(out.out, slurp(scratch / "p.g6"));
  CliRun stream = runCli({"info", "-", "--format", "g6", "--json"}, 0.0, out.out + "D~{\nC~\n");
  ASSERT_EQ(stream.exitCode, 0) << stream.err;
  std::istringstream lines(stream.out);
  std::vector<nlohmann::json> objects;
  for (std::string line; std::getline(lines, line);) objects.push_back(nlohmann::json::parse(line));
  ASSERT_EQ(objects.size(), 4u);
  EXPECT_EQ(objects[2].at("where"), "-: line 3");
  EXPECT_EQ(objects[2].at("nodes"), 4);
  EXPECT_EQ(objects[3].at("graphs"), 3);
  CliRun version = runCli({"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out, std::string("hamcycles-cli ") + HC_PROJECT_VERSION + "\n");
}

TEST(CliBadInput, EveryClassGetsOneLineAndExitStatusOne) {
  ScratchFolder scratch;
  std::string petersen = example("petersen.txt");
  std::string garbage;
  for (int i = 0; i < 300; ++i) garbage += static_cast<char>((i * 37 + 11) & 0xFF);
  std::string validG = slurp(example("petersen.g"));
  ASSERT_TRUE(saveGFile(Graph2D{}, scratch / "empty.g"));  // a valid drawing without nodes
  std::filesystem::create_directory(scratch / "dir.g6");
  ASSERT_EQ(mkfifo((scratch / "pipe.txt").c_str(), 0600), 0);
  std::filesystem::create_symlink("/dev/zero", scratch / "zero.g");
  std::filesystem::create_symlink("/dev/urandom", scratch / "random.hcp");
  std::filesystem::create_symlink("/dev/zero", scratch / "zero.tour");
  std::ofstream(scratch / "huge.obj").close();
  std::filesystem::resize_file(scratch / "huge.obj", (uint64_t{1} << 30) + 1);  // sparse
  // A drawing whose first class name holds a newline (same length, so only the name is bad).
  std::string drawing = validG;
  ASSERT_NE(drawing.find("Graph2DNode"), std::string::npos);
  drawing.replace(drawing.find("Graph2DNode"), 11, "Graph2\nNode");
  const std::string hcp = "TYPE : HCP\nDIMENSION : 3\nEDGE_DATA_SECTION\n1 2\n";
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      // arguments, error
      {{"info", scratch / "missing.txt"}, "missing.txt: no such file"},
      {{"info", scratch / ""}, "/: is a folder, not a graph file"},
      {{"info", writeFile(scratch / "graph.png", "0 1\n")},
       "unknown graph file extension \".png\" (use .txt, "},
      {{"info", writeFile(scratch / "letters.txt", "0 1 2\n1 0 x\n2 0 1\n")},
       "letters.txt: line 2: neighbour id 'x' is not an unsigned decimal number"},
      {{"schc", writeFile(scratch / "empty.txt", "")}, "empty.txt: the file is empty"},
      {{"info", writeFile(scratch / "face.obj", "v 0 0 0\nv 1 0 0\nf 1 5\n")},
       "face.obj: line 3: face vertex 5 out of range 1..2"},
      {{"info", writeFile(scratch / "random.g", garbage)}, "random.g: malformed drawing at byte "},
      {{"schc", scratch / "empty.g"}, "empty.g: the drawing has no nodes"},
      {{"cohc", writeFile(scratch / "cut.g", validG.substr(0, validG.size() / 2))}, "unexpected end of data"},
      {{"info", writeFile(scratch / "range.hcp", hcp + "2 4\n-1\nEOF\n")},
       "line 5: node 4 out of range 1..3"},
      {{"info", writeFile(scratch / "open.hcp", hcp + "2 3\n")},
       "the file ends inside the edge list (no -1 at its end)"},
      {{"info",
        writeFile(scratch / "huge.hcp", "TYPE : HCP\nDIMENSION : 99999999999\nEDGE_DATA_SECTION\n-1\n")},
       "huge.hcp: line 2: DIMENSION 99999999999 out of range 1..5000000"},
      {{"verify", petersen, writeFile(scratch / "open.tour", "TOUR_SECTION\n1\n2\n")},
       "open.tour: the file ends inside the tour (no -1 at its end)"},
      {{"verify", petersen, writeFile(scratch / "ids.txt", "0 1 two\n")},
       "ids.txt: line 1: \"two\" is not a node number (0..4999999)"},
      {{"verify", petersen, scratch / "nothing.tour"}, "nothing.tour: no such file"},
      {{"info", scratch / "pipe.txt"}, "not a regular file"},
      {{"info", scratch / "zero.g"}, "not a regular file"},
      {{"schc", scratch / "random.hcp"}, "not a regular file"},
      {{"verify", petersen, scratch / "zero.tour"}, "not a regular file"},
      {{"verify", petersen, scratch / "pipe.txt"}, "not a regular file"},
      {{"info", scratch / "huge.obj"}, "more than the input limit of 1073741824 bytes"},
      {{"info", writeFile(scratch / "name.g", drawing)}, "unknown class \"Graph2\\x0ANode\""},
      {{"info", writeFile(scratch / "nul.hcp", std::string("TYPE : H\0\x1b[2J\nDIMENSION : 3\n", 28))},
       "TYPE is \"H\\x00\\x1B[2J\""},
      {{"verify", petersen, writeFile(scratch / "c.tour", "TOUR_SECTION\n1\n\x07x2\n-1\n")},
       "\"\\x07x2\" is not a node number"},
      {{"schc", petersen, "--version", "8"}, "--version: 8 not in {3,4,5,6,7,12,13} (see --help)"},
      {{"schc", petersen, "--threads", "0"}, "--threads: Value 0 not in range 1 to 256"},
      {{"solve", petersen, "--threads", "0"}, "--threads: Value 0 not in range 1 to 256"},
      {{"schc", petersen, "--time-limit", "nan"},
       "--time-limit: seconds must be greater than 0 (and at most 1e9)"},
      {{"schc", petersen, "--seed", "4294967296"}, "--seed: Value 4294967296 not in range 0 to 4294967295"},
      {{"cohc", petersen, "--level", "7"}, "--level: Value 7 not in range 0 to 6"},
      {{"solve", petersen, "--frontier-width", "15"}, "--frontier-width: Value 15 not in range 1 to 14"},
      {{"generate", "knight", "8", "3", "--output", scratch / "k.txt"},
       "ERROR: The board must have at least 4 columns."},
      {{"generate", "complete", "1e3", "--output", scratch / "k.txt"},
       "ERROR: Graph parameters must be numeric."},
      {{"generate", "regular", "7", "3", "--output", scratch / "k.txt"},
       "ERROR: No 3-regular graph on 7 nodes exists"},
      {{"generate", "wheel", "5", "--output", scratch / "k.txt"},
       "unknown family \"wheel\" (one of: edge-probability, "},
      {{"generate", "knight", "8", "--output", scratch / "k.txt"},
       "generate knight takes 2 parameters: generate knight R C --output FILE"},
      {{"generate", "complete", "5"}, "--output is required (see --help)"},
      {{"generate", "complete", "5", "--output", scratch / "k.png"},
       "k.png: unknown extension (use .txt, .hcp, "},
      {{"generate", "complete", "5", "--output", scratch / "k.txt", "--cnf", scratch / "f.cnf"},
       "--cnf is only for the 3sat family"},
      {{"schc", petersen, "--progress", "--no-progress"}, "--progress excludes --no-progress"},
      {{"schc", petersen, "--output", petersen},
       "petersen.txt is the input graph itself; choose another file"},
      {{"schc", petersen, "--output", scratch / "no/such/folder/c.txt"}, "no/such/folder does not exist"},
      {{"cohc", petersen, "--output", scratch / "c.png"},
       "c.png: unknown extension (use .txt, .obj or .tour)"},
      {{"schc", petersen, "--output", scratch / "c.obj"}, "c.obj: an .obj cycle file needs node coordinates"},
      {{"convert", petersen, scratch / "p.obj"}, "p.obj: cannot write this format (use .txt, .hcp, "},
      {{"convert", scratch / "nothing.g6", scratch / "x.g6"}, "nothing.g6: no such file"},
      {{"cohc", "--each", scratch / "no-list"}, "no-list: cannot open the list of graph files"},
      {{"convert", writeFile(scratch / "forced.hcp", kForcedHcp), scratch / "x.g6", "--strict"},
       "x.g6: graph6 does not keep forced edges: 1 is dropped (--strict)"},
      {{"info", "--each", "/dev/zero", "--json"}, "/dev/zero: not a regular file"},
      {{"info", "--each", "/"}, "/: is a folder, not a file"},
      {{"info", writeFile(scratch / "fix.hcp",
                          "TYPE : HCP\nDIMENSION : 3\nFIX\xff"
                          "ED_EDGES_SECTION\n")},
       "fix.hcp: line 3: section FIX\\xFFED_EDGES_SECTION is not supported"},
      {{"info", scratch / "missing.txt", "--jobs", "2"}, "missing.txt: no such file"},
      {{"info", scratch / "dir.g6", "--part", "0/2"}, "dir.g6: is a folder, not a graph file"},
      {{"cohc", petersen, "--part", "3/3"}, "--part 3/3: expected I/K with 0 <= I < K (for example 0/4)"},
      {{"info", petersen, "--base", ""}, "--base: an empty value is not allowed"},
      {{"cohc", petersen, "--part", ""}, "--part: an empty value is not allowed"},
      {{"solve", petersen, "--output", ""}, "--output: an empty value is not allowed"},
      {{"info", scratch / "missing.g"}, "missing.g: no such file"},
      {{"generate", "petersen", "6", "3", "--output", scratch / "x.g6"},
       "GP(N, K) needs 1 <= K < N/2 (here K must be 1..2)"},
      {{}, "A subcommand is required (see --help)"},
      {{"info", petersen, "--colour"}, "The following argument was not expected: --colour"},
      {{"info", petersen, petersen}, "The following argument was not expected: " + petersen},
      {{"solve", "-"}, "- (standard input) needs --format to tell its format (txt, obj, g, hcp, g6, "},
      {{"convert", petersen, "-"}, "- (standard output) needs --format"},
      {{"info", petersen, "--format", "g6"}, "--format g6 names the format of - (standard input or output)"},
      {{"convert", "-", "-", "--format", "g6"},
       "- may stand for standard input or standard output, not both"},
      {{"generate", "complete", "5", "--output", "-", "--format", "g6", "--json"},
       "--json prints on standard"},
      {{"convert", petersen, "-", "--format", "obj"}, "--format obj: this format is read only"},
      {{"solve", petersen, "--output", "-"}, "--output -: the cycle is written to a file"},
      {{"solve", petersen, "--proof", ""}, "--proof: an empty value is not allowed"},
      {{"cohc", petersen, "--proof", "-"}, "--proof -: the certificate is written to a file"},
      {{"solve", petersen, "--proof", petersen},
       "petersen.txt is the input graph itself; choose another file"},
      {{"solve", petersen, "--proof", scratch / "no/such/p.proof"}, "no/such does not exist"},
      // A folder that takes no new file, whatever its permission bits tell root.
      {{"solve", petersen, "--proof", "/proc/version"},
       "--proof /proc/version: folder /proc is not writable"},
      {{"solve", petersen, "--proof-dir", scratch / "nothing"},
       "--proof-dir " + scratch / "nothing: no such folder"},
      {{"cohc", petersen, "--proof-dir", petersen}, "petersen.txt is not a folder"},
      {{"solve", petersen, "--jobs", "2", "--proof", scratch / "p.proof"}, "use --proof-dir DIR for a batch"},
      {{"info", "-", "--format", "txt"}, "-: the file is empty"},
  };
  for (const auto& [args, error] : cases) {
    CliRun run = runCli(args);
    SCOPED_TRACE(error + " <- " + run.err + run.out);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.errLines(), 1);
    EXPECT_TRUE(run.out.empty());
    EXPECT_EQ(run.err.rfind("hamcycles-cli: ", 0), 0u);
    EXPECT_NE(run.err.find(error), std::string::npos);
    EXPECT_TRUE(std::ranges::all_of(run.err, [](char c) { return c == '\n' || (c >= 0x20 && c < 0x7F); }));
  }
  // Nothing refused left a file behind.
  for (const char* name :
       {"k.txt", "k.png", "f.cnf", "c.png", "c.obj", "p.obj", "x.g6", "p.proof", "nothing"})
    EXPECT_FALSE(std::filesystem::exists(scratch / name)) << name;
}

}  // namespace
}  // namespace hc::testing
