// Graph files: the valid and invalid sample folders (each walked by one test), the format's
// worked examples, write-then-read round trips, the OBJ cycle file, the writers' failures,
// and a fuzz-style pass of truncations and byte flips that must end in a clean error or a
// sound graph.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>

#include "core/graph_files.h"
#include "core_test_support.h"

namespace hc {
namespace {

namespace fs = std::filesystem;
using testing::makeGraph;

const fs::path kData = HC_TEST_DATA_DIR;

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void writeFile(const fs::path& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary);
  out << content;
}

// A scratch folder of its own per test, removed afterwards.
class GraphFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = fs::temp_directory_path() / (std::string("hc_core_files_") + info->name() + "_" + std::to_string(getpid()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  fs::path scratch(const std::string& name) const { return folder_ / name; }
  fs::path folder_;
};

struct Loaded {
  FileStatus status;
  Graph graph;
};

// Counting, reading and finishing, as the generation constructor does it.
Loaded loadText(const fs::path& path) {
  Loaded result;
  int32_t n = 0;
  result.status = countAdjacencyTextNodes(path.string(), n);
  if (!result.status) return result;
  result.graph = Graph(n, 9);
  result.graph.inputFileName = path.string();
  result.status = readAdjacencyText(result.graph);
  if (result.status) result.graph.finishConstruction();
  return result;
}

Loaded loadObj(const fs::path& path) {
  Loaded result;
  int32_t n = 0;
  result.status = countObjVertices(path.string(), n);
  if (!result.status) return result;
  result.graph = Graph(n, 10);
  result.graph.inputFileName = path.string();
  result.status = readObjGraph(result.graph);
  if (result.status) result.graph.finishConstruction();
  return result;
}

std::vector<int32_t> neighbors(const Node& n) { return {n.neighborArray, n.neighborArray + n.degree}; }

// "name nodes edges" or "name<TAB>error piece" lines, "#" starting a comment.
std::map<std::string, std::string> readExpectations(const fs::path& folder, char separator) {
  std::map<std::string, std::string> expected;
  std::istringstream in(readFile(folder / "EXPECTED"));
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    size_t at = line.find(separator);
    expected[line.substr(0, at)] = line.substr(at + 1);
  }
  return expected;
}

void expectUntouched(const Graph& g) {
  EXPECT_EQ(g.howManyEdges, 0);
  EXPECT_TRUE(g.coordinates.empty());
  for (const Node& n : g.nodes) EXPECT_TRUE(n.adjacencyList.empty()) << n.id;
}

void walkValid(const fs::path& folder, Loaded (*load)(const fs::path&)) {
  std::map<std::string, std::string> expected = readExpectations(folder, ' ');
  int walked = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name == "EXPECTED") continue;
    ASSERT_TRUE(expected.count(name)) << name << " has no line in EXPECTED";
    Loaded loaded = load(entry.path());
    ASSERT_TRUE(loaded.status.ok) << name << ": " << loaded.status.error;
    std::istringstream numbers(expected[name]);
    int32_t nodes = 0;
    int32_t edges = 0;
    numbers >> nodes >> edges;
    EXPECT_EQ(loaded.graph.howManyNodes, nodes) << name;
    EXPECT_EQ(loaded.graph.howManyEdges, edges) << name;
    EXPECT_EQ(checkInvariants(loaded.graph), "") << name;
    ++walked;
  }
  EXPECT_EQ(walked, static_cast<int>(expected.size()));
}

void walkInvalid(const fs::path& folder, Loaded (*load)(const fs::path&)) {
  std::map<std::string, std::string> expected = readExpectations(folder, '\t');
  int walked = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name == "EXPECTED") continue;
    ASSERT_TRUE(expected.count(name)) << name << " has no line in EXPECTED";
    testing::CapturedDiagnostics out;
    Loaded loaded = load(entry.path());
    EXPECT_FALSE(loaded.status.ok) << name;
    EXPECT_EQ(loaded.status.error.rfind(entry.path().string() + ": ", 0), 0u) << name << ": " << loaded.status.error;
    EXPECT_NE(loaded.status.error.find(expected[name]), std::string::npos)
        << name << ": got \"" << loaded.status.error << "\" expected a part \"" << expected[name] << "\"";
    expectUntouched(loaded.graph);
    EXPECT_EQ(out.text(), "") << "readers report through their result, not the diagnostic stream";
    ++walked;
  }
  EXPECT_EQ(walked, static_cast<int>(expected.size()));
}

TEST_F(GraphFilesTest, ValidTextFiles) { walkValid(kData / "txt" / "valid", loadText); }
TEST_F(GraphFilesTest, InvalidTextFiles) { walkInvalid(kData / "txt" / "invalid", loadText); }
TEST_F(GraphFilesTest, ValidObjFiles) { walkValid(kData / "obj" / "valid", loadObj); }
TEST_F(GraphFilesTest, InvalidObjFiles) { walkInvalid(kData / "obj" / "invalid", loadObj); }

TEST_F(GraphFilesTest, CompleteGraphExampleKeepsTheListedOrder) {
  Loaded k4 = loadText(kData / "txt" / "valid" / "k4.txt");
  ASSERT_TRUE(k4.status.ok) << k4.status.error;
  EXPECT_EQ(std::vector<std::vector<int32_t>>({neighbors(k4.graph.node(0)), neighbors(k4.graph.node(1)),
                                               neighbors(k4.graph.node(3))}),
            std::vector<std::vector<int32_t>>({{1, 2, 3}, {0, 2, 3}, {0, 1, 2}}));
  EXPECT_EQ(k4.graph.edgesToRemove, 2);

  // Each edge listed once gives the same triangle as each edge listed twice.
  Loaded once = loadText(kData / "txt" / "valid" / "triangle_listed_once.txt");
  writeFile(scratch("twice.txt"), "0 1 2\n1 0 2\n2 0 1\n");
  Loaded twice = loadText(scratch("twice.txt"));
  ASSERT_TRUE(once.status.ok && twice.status.ok);
  EXPECT_EQ(testing::currentEdges(once.graph), testing::currentEdges(twice.graph));

  // Order of edges first met: node 2 meets 1 on its own line, 0 on line 0... in file order.
  Loaded outOfOrder = loadText(kData / "txt" / "valid" / "lines_out_of_order.txt");
  ASSERT_TRUE(outOfOrder.status.ok);
  EXPECT_EQ(neighbors(outOfOrder.graph.node(2)), (std::vector<int32_t>{0, 1}));
  EXPECT_EQ(neighbors(outOfOrder.graph.node(0)), (std::vector<int32_t>{2, 1}));

  Loaded lone = loadText(kData / "txt" / "valid" / "node_without_edges.txt");
  ASSERT_TRUE(lone.status.ok);
  EXPECT_EQ(lone.graph.node(5).degree, 0);
}

TEST_F(GraphFilesTest, NodeCountsAndTheirMismatch) {
  int32_t n = 0;
  std::vector<int32_t> counts;
  for (const char* name : {"crlf.txt", "last_line_without_newline.txt"}) {
    ASSERT_TRUE(countAdjacencyTextNodes((kData / "txt" / "valid" / name).string(), n).ok);
    counts.push_back(n);
  }
  ASSERT_TRUE(countObjVertices((kData / "obj" / "valid" / "crlf_comments_and_other_lines.obj").string(), n).ok);
  counts.push_back(n);
  EXPECT_EQ(counts, std::vector<int32_t>({4, 3, 3}));

  FileStatus missing = countAdjacencyTextNodes(scratch("missing.txt").string(), n);
  EXPECT_FALSE(missing.ok);
  EXPECT_EQ(missing.error, scratch("missing.txt").string() + ": cannot open the file");
  EXPECT_FALSE(countObjVertices(folder_.string(), n).ok) << "a folder is no file";

  // The graph was sized for another file: refused, nothing added.
  Graph g(5, 9);
  g.inputFileName = (kData / "txt" / "valid" / "k4.txt").string();
  FileStatus status = readAdjacencyText(g);
  EXPECT_FALSE(status.ok);
  EXPECT_NE(status.error.find("4 lines for a graph of 5 nodes"), std::string::npos) << status.error;
  expectUntouched(g);
  Graph o(5, 10);
  o.inputFileName = (kData / "obj" / "valid" / "square_with_texture_indices.obj").string();
  EXPECT_FALSE(readObjGraph(o).ok);
  expectUntouched(o);
}

TEST_F(GraphFilesTest, ReaderAnnouncesItselfAtPrintLevelOne) {
  Graph g(4, 9);
  g.inputFileName = (kData / "txt" / "valid" / "k4.txt").string();
  g.printLevel = 1;
  testing::CapturedDiagnostics out;
  ASSERT_TRUE(readAdjacencyText(g).ok);
  EXPECT_EQ(out.text(), "Graph type: File-Read Graph from " + g.inputFileName + ".\n");
}

TEST_F(GraphFilesTest, ObjFacesGiveEachEdgeOnce) {
  Loaded square = loadObj(kData / "obj" / "valid" / "square_with_texture_indices.obj");
  ASSERT_TRUE(square.status.ok) << square.status.error;
  EXPECT_EQ(testing::currentEdges(square.graph), (testing::EdgeSet{{0, 1}, {1, 2}, {2, 3}, {0, 3}}));
  EXPECT_EQ(square.graph.coordinates[2], (Point3{1, 1, 0}));
  Loaded negative = loadObj(kData / "obj" / "valid" / "negative_indices.obj");
  Loaded positive = loadObj(kData / "obj" / "valid" / "two_faces_sharing_an_edge.obj");
  ASSERT_TRUE(negative.status.ok && positive.status.ok);
  EXPECT_EQ(testing::snapshot(negative.graph), testing::snapshot(positive.graph));
  Loaded formats = loadObj(kData / "obj" / "valid" / "number_formats.obj");
  ASSERT_TRUE(formats.status.ok) << formats.status.error;
  EXPECT_EQ(formats.graph.coordinates[0], (Point3{0.001, -250.0, 3.0}));
}

TEST_F(GraphFilesTest, WrittenTextReadsBackAsTheSameGraph) {
  Loaded k4 = loadText(kData / "txt" / "valid" / "k4.txt");
  ASSERT_TRUE(k4.status.ok);
  ASSERT_TRUE(writeAdjacencyText(k4.graph, scratch("k4.txt").string()).ok);
  EXPECT_EQ(readFile(scratch("k4.txt")), readFile(kData / "txt" / "valid" / "k4.txt"));

  for (uint32_t seed = 1; seed <= 40; ++seed) {
    std::mt19937 rng(seed);
    Graph g = testing::makeRandomGraph(rng, 5 + static_cast<int32_t>(rng() % 60), 3.0 + (rng() % 40) / 10.0);
    for (int i = 0; i < 5; ++i) {  // cuts reorder the arrays; the file follows them
      testing::EdgeList edges = testing::unforcedEdges(g);
      if (edges.empty() || g.isHamiltonian != kUndecided) break;
      auto [a, b] = edges[rng() % edges.size()];
      g.cut(a, b);
    }
    const fs::path file = scratch("round_trip.txt");
    ASSERT_TRUE(writeAdjacencyText(g, file.string()).ok);
    Loaded back = loadText(file);
    ASSERT_TRUE(back.status.ok) << back.status.error;
    EXPECT_EQ(std::pair(back.graph.howManyNodes, back.graph.howManyEdges), std::pair(g.howManyNodes, g.howManyEdges));
    EXPECT_EQ(testing::currentEdges(back.graph), testing::currentEdges(g)) << seed;
    EXPECT_EQ(neighbors(back.graph.node(0)), neighbors(g.node(0))) << "node 0's line is read in array order";
  }
}

TEST_F(GraphFilesTest, WriterUsesTheOutputNameAndReplacesFiles) {
  Graph g = makeGraph(3, {{0, 1}, {1, 2}, {2, 0}});
  g.outputFileName = scratch("default.txt").string();
  writeFile(g.outputFileName, "old content that is longer than the new one\n");
  ASSERT_TRUE(writeAdjacencyText(g).ok);
  EXPECT_EQ(readFile(g.outputFileName), "0 1 2\n1 0 2\n2 1 0\n");
  struct stat info {};
  ASSERT_EQ(stat(g.outputFileName.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0644u);
  size_t files = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder_)) ++files;
  EXPECT_EQ(files, 1u) << "no temporary file is left behind";
}

TEST_F(GraphFilesTest, WritersReportFilesThatCannotBeCreated) {
  Graph g = makeGraph(3, {{0, 1}, {1, 2}, {2, 0}});
  g.coordinates = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  const std::string nowhere = (folder_ / "no_such_folder" / "x.txt").string();
  FileStatus text = writeAdjacencyText(g, nowhere);
  EXPECT_FALSE(text.ok);
  EXPECT_EQ(text.error.rfind(nowhere + ": cannot create the file", 0), 0u) << text.error;
  EXPECT_FALSE(writeHamiltonianCycleObj(g, nowhere).ok);
  EXPECT_FALSE(writeAdjacencyText(g).ok) << "no name given and no output name";
  EXPECT_FALSE(writeAdjacencyText(g, folder_.string()).ok) << "a folder cannot be replaced by a file";
  EXPECT_TRUE(fs::is_directory(folder_));
  size_t files = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder_)) ++files;
  EXPECT_EQ(files, 0u);
}

TEST_F(GraphFilesTest, CycleFileOfASolvedTriangle) {
  // Node 0 lists node 2 first, so the walk goes 0, 2, 1.
  Graph g = makeGraph(3, {{0, 2}, {0, 1}, {1, 2}});
  g.coordinates = {{0, 0, 0}, {1.5, 0, -2}, {0.1234567, 1e-7, 1234567.0}};
  ASSERT_TRUE(writeHamiltonianCycleObj(g, scratch("tri-HC.obj").string()).ok);
  EXPECT_EQ(readFile(scratch("tri-HC.obj")),
            "v 0 0 0\nv 1.5 0 -2\nv 0.123457 1e-07 1.23457e+06\n# Hamiltonian Cycle:\nl 1 3 2 1\n");

  Graph c6 = makeGraph(6, testing::cycleEdges(0, 6));
  c6.coordinates.assign(6, Point3{1, 2, 3});
  ASSERT_TRUE(writeHamiltonianCycleObj(c6, scratch("c6.obj").string()).ok);
  std::string content = readFile(scratch("c6.obj"));
  EXPECT_NE(content.find("\nl 1 2 3 4 5 6 1\n"), std::string::npos) << content;
}

TEST_F(GraphFilesTest, CycleFileRefusesWhatIsNoHamiltonianCycle) {
  Graph twoTriangles = makeGraph(6, testing::joined(testing::cycleEdges(0, 3), testing::cycleEdges(3, 3)));
  twoTriangles.coordinates.assign(6, Point3{0, 0, 0});
  FileStatus status = writeHamiltonianCycleObj(twoTriangles, scratch("two.obj").string());
  EXPECT_FALSE(status.ok);
  EXPECT_NE(status.error.find("more than one cycle"), std::string::npos) << status.error;

  Graph k4 = makeGraph(4, testing::completeEdges(0, 4));
  k4.coordinates.assign(4, Point3{0, 0, 0});
  status = writeHamiltonianCycleObj(k4, scratch("k4.obj").string());
  EXPECT_FALSE(status.ok);
  EXPECT_NE(status.error.find("node 0 has degree 3"), std::string::npos) << status.error;
  EXPECT_FALSE(fs::exists(scratch("two.obj")));
  EXPECT_FALSE(fs::exists(scratch("k4.obj")));
}

// Truncations and byte flips of valid files: a clean error or a sound graph, never a crash.
TEST_F(GraphFilesTest, DamagedFilesGiveAnErrorOrASoundGraph) {
  std::mt19937 rng(2024);
  Graph random = testing::makeRandomGraph(rng, 25, 4.0);
  ASSERT_TRUE(writeAdjacencyText(random, scratch("random.txt").string()).ok);
  struct Source {
    std::string content;
    bool obj;
  };
  std::vector<Source> sources{{readFile(scratch("random.txt")), false},
                              {readFile(kData / "txt" / "valid" / "tabs_and_runs_of_blanks.txt"), false},
                              {readFile(kData / "obj" / "valid" / "crlf_comments_and_other_lines.obj"), true},
                              {readFile(kData / "obj" / "valid" / "two_faces_sharing_an_edge.obj"), true}};
  const fs::path file = scratch("damaged");
  int errors = 0;
  int graphs = 0;
  auto tryLoad = [&](const std::string& content, bool obj) {
    writeFile(file, content);
    Loaded loaded = obj ? loadObj(file) : loadText(file);
    if (loaded.status.ok) {
      ++graphs;
      EXPECT_EQ(checkInvariants(loaded.graph), "") << "from damaged content:\n" << content;
    } else {
      ++errors;
      EXPECT_FALSE(loaded.status.error.empty());
      expectUntouched(loaded.graph);
    }
  };
  for (const Source& source : sources) {
    for (size_t length = 0; length <= source.content.size(); ++length) tryLoad(source.content.substr(0, length), source.obj);
    const std::string alphabet = std::string("0123456789 \t\r\n-/.ef+vx") + '\0' + '\xff';
    for (int flip = 0; flip < 400; ++flip) {
      std::string damaged = source.content;
      int changes = 1 + static_cast<int>(rng() % 3);
      for (int k = 0; k < changes && !damaged.empty(); ++k) {
        size_t at = rng() % damaged.size();
        damaged[at] = rng() % 2 ? alphabet[rng() % alphabet.size()] : static_cast<char>(rng() % 256);
      }
      tryLoad(damaged, source.obj);
    }
  }
  EXPECT_GT(errors, 100);
  EXPECT_GT(graphs, 100);
}

}  // namespace
}  // namespace hc
