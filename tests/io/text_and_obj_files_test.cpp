// Graph files: the valid and invalid sample folders (walked against their EXPECTED lists),
// the order of the arrays read, writing in array order, the OBJ cycle file,
// and the exact errors of the readers and writers.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>

#include "core/core_test_support.h"
#include "io/adjacency_text_format.h"
#include "io/graph_format_registry.h"
#include "io/obj_format.h"

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
  std::ofstream(path, std::ios::binary) << content;
}

// A scratch folder of its own per test, removed afterwards.
class GraphFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = fs::temp_directory_path() /
              (std::string("hc_core_files_") + info->name() + "_" + std::to_string(getpid()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  fs::path scratch(const std::string& name) const { return folder_ / name; }
  size_t filesInScratch() const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder_), {}));
  }
  fs::path folder_;
};

// What a refused read leaves in its output: this, untouched.
const PlainGraph kUntouched{1, {{0, 0}}, {}};

struct Loaded {
  FileStatus status;
  PlainGraph plain = kUntouched;
  Graph graph;
};

// Read through the file's row of the format table (".obj" or text), built as generation
// builds a file's graph.
Loaded load(const fs::path& path) {
  Loaded result;
  const GraphFormatInfo* format = graphFormatOfPath(path.string());
  result.status = format->read(GraphRecord{path.string(), 0, {}}, {}, result.plain);
  if (result.status) result.graph = std::move(*graphOfPlain(result.plain, 9));
  return result;
}

// Every node's neighbour array, nodes separated by "/".
std::string arrays(const Graph& g) {
  std::ostringstream out;
  for (const Node& n : g.nodes) {
    out << (n.id ? "/" : "");
    for (int32_t i = 0; i < n.degree; ++i) out << (i ? " " : "") << n.neighborArray[i];
  }
  return out.str();
}

void expectUntouched(const PlainGraph& plain) {
  EXPECT_EQ(std::tuple(plain.nodes, plain.edges, plain.coordinates.size()),
            std::tuple(kUntouched.nodes, kUntouched.edges, size_t{0}));
}

// EXPECTED lists "name nodes edges" (valid) or "name<TAB>error piece" (invalid); "#" starts
// a comment. Every file of the folder must be listed and give what its line says. (Damaged
// copies of the valid files are the fuzz pass's, in graph_formats_test.cpp.)
TEST_F(GraphFilesTest, SampleFoldersGiveWhatTheirListsSay) {
  for (const char* sub : {"txt/valid", "txt/invalid", "obj/valid", "obj/invalid"}) {
    const fs::path folder = kData / sub;
    const bool valid = fs::path(sub).filename() == "valid";
    std::map<std::string, std::string> expected;
    std::istringstream lines(readFile(folder / "EXPECTED"));
    for (std::string line; std::getline(lines, line);) {
      if (!line.empty() && line[0] != '#') expected[line.substr(0, line.find(valid ? ' ' : '\t'))] = line;
    }
    size_t walked = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
      const std::string name = entry.path().filename().string();
      if (name == "EXPECTED") continue;
      SCOPED_TRACE(name);
      ASSERT_TRUE(expected.count(name)) << "no line in EXPECTED";
      const std::string want = expected[name].substr(name.size() + 1);
      testing::CapturedDiagnostics out;
      Loaded loaded = load(entry.path());
      EXPECT_EQ(out.text(), "") << "readers report through their result, not the diagnostic stream";
      ++walked;
      if (valid) {
        ASSERT_TRUE(loaded.status.ok) << loaded.status.error;
        EXPECT_EQ(std::to_string(loaded.graph.howManyNodes) + " " + std::to_string(loaded.graph.howManyEdges),
                  want);
        EXPECT_EQ(checkInvariants(loaded.graph), "");
        continue;
      }
      EXPECT_FALSE(loaded.status.ok);
      EXPECT_EQ(loaded.status.error.rfind(entry.path().string() + ": ", 0), 0u) << loaded.status.error;
      EXPECT_NE(loaded.status.error.find(want), std::string::npos) << loaded.status.error;
      expectUntouched(loaded.plain);
    }
    EXPECT_EQ(walked, expected.size()) << sub;
  }
}

// Every refusal is one error naming what is wrong; the graph stays as it was and no file is
// created (nor a temporary one left behind).
TEST_F(GraphFilesTest, RefusalsLeaveEverythingAsItWas) {
  const std::string nowhere = (folder_ / "no_such_folder" / "x.txt").string();
  const std::string bad = scratch("bad.obj").string();
  const Loaded missing = load(scratch("missing.txt"));
  fs::create_directory(folder_ / "x.obj");
  const Loaded isFolder = load(folder_ / "x.obj");
  fs::remove(folder_ / "x.obj");
  auto placed = [](Graph g) {
    g.coordinates.assign(static_cast<size_t>(g.howManyNodes), Point3{0, 0, 0});
    return g;
  };
  Graph triangle = placed(makeGraph(3, testing::cycleEdges(0, 3)));
  Graph twoTriangles =
      placed(makeGraph(6, testing::joined(testing::cycleEdges(0, 3), testing::cycleEdges(3, 3))));
  const std::string cannotCreate = nowhere + ": cannot create the file: No such file or directory";
  const std::pair<FileStatus, std::string> refusals[] = {
      {missing.status, scratch("missing.txt").string() + ": no such file"},
      {isFolder.status, (folder_ / "x.obj").string() + ": is a folder, not a file"},
      {writeAdjacencyText(triangle, nowhere), cannotCreate},
      {writeHamiltonianCycleObj(triangle, nowhere), cannotCreate},
      {writeAdjacencyText(triangle), "no file name to write the graph to"},
      {writeAdjacencyText(triangle, folder_.string()),
       folder_.string() + ": cannot replace the file: Is a directory"},  // the folder stays
      {writeHamiltonianCycleObj(twoTriangles, bad),
       bad + ": the degree-2 edges form more than one cycle, not a Hamiltonian cycle"},
      {writeHamiltonianCycleObj(placed(testing::completeGraph(4)), bad),
       bad + ": node 0 has degree 3; a solved graph has every node at degree 2"},
      {writeHamiltonianCycleObj(testing::completeGraph(4), bad),
       bad + ": the graph has no coordinates, so its cycle cannot be written as OBJ"},
  };
  for (const auto& [status, error] : refusals) EXPECT_EQ(status.error, error);
  expectUntouched(missing.plain);
  expectUntouched(isFolder.plain);
  EXPECT_TRUE(fs::is_directory(folder_));
  EXPECT_EQ(filesInScratch(), 0u);
}

// Arrays follow the order in which edges are first met in the file; written text follows
// the arrays, and reads back as the same graph.
TEST_F(GraphFilesTest, ArraysFollowTheFileAndWrittenTextFollowsTheArrays) {
  const std::pair<fs::path, const char*> samples[] = {
      {kData / "txt/valid/k4.txt", "1 2 3/0 2 3/0 1 3/0 1 2"},
      {kData / "txt/valid/lines_out_of_order.txt", "2 1/2 0/0 1"},
      {kData / "txt/valid/triangle_listed_once.txt", "1 2/0 2/1 0"},
      {kData / "txt/valid/node_without_edges.txt", "1 4/0 2/1 3/2 4/0 3/"},
      {kData / "obj/valid/square_with_texture_indices.obj", "1 3/0 2/1 3/2 0"},
      {kData / "obj/valid/negative_indices.obj", "1 2 3/0 2/1 0 3/2 0"},
      {kData / "obj/valid/two_faces_sharing_an_edge.obj", "1 2 3/0 2/1 0 3/2 0"},
  };
  for (const auto& [file, expected] : samples) EXPECT_EQ(arrays(load(file).graph), expected) << file;
  EXPECT_EQ(load(kData / "obj/valid/square_with_texture_indices.obj").graph.coordinates.at(2),
            (Point3{1, 1, 0}));
  EXPECT_EQ(load(kData / "obj/valid/number_formats.obj").graph.coordinates.at(0),
            (Point3{0.001, -250.0, 3.0}));

  Loaded k4 = load(kData / "txt/valid/k4.txt");
  EXPECT_EQ(k4.graph.edgesToRemove, 2);
  ASSERT_TRUE(writeAdjacencyText(k4.graph, scratch("k4.txt").string()).ok);
  EXPECT_EQ(readFile(scratch("k4.txt")), readFile(kData / "txt/valid/k4.txt"));
  k4.graph.cut(0, 1);  // swaps 3 into the first places of 0 and 1; the pruning cuts 2-3
  ASSERT_TRUE(writeAdjacencyText(k4.graph, scratch("cut.txt").string()).ok);
  EXPECT_EQ(readFile(scratch("cut.txt")), "0 3 2\n1 3 2\n2 0 1\n3 0 1\n");
}

// Node 0 lists node 2 first, so the cycle walks 0, 2, 1.
TEST_F(GraphFilesTest, WritersReplaceFilesWithTheirExactText) {
  Graph g = makeGraph(3, {{0, 2}, {0, 1}, {1, 2}});
  g.coordinates = {{0, 0, 0}, {1.5, 0, -2}, {0.1234567, 1e-7, 1234567.0}};
  g.outputFileName = scratch("default.txt").string();
  writeFile(g.outputFileName, "old content that is longer than the new one\n");
  ASSERT_TRUE(writeAdjacencyText(g).ok);
  EXPECT_EQ(readFile(g.outputFileName), "0 2 1\n1 0 2\n2 0 1\n");
  struct stat info {};
  ASSERT_EQ(stat(g.outputFileName.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0644u);
  ASSERT_TRUE(writeHamiltonianCycleObj(g, scratch("tri-HC.obj").string()).ok);
  EXPECT_EQ(readFile(scratch("tri-HC.obj")),
            "v 0 0 0\nv 1.5 0 -2\nv 0.123457 1e-07 1.23457e+06\n# Hamiltonian Cycle:\nl 1 3 2 1\n");
  EXPECT_EQ(filesInScratch(), 2u) << "no temporary file is left behind";
}

}  // namespace
}  // namespace hc
