// Loading a file: its row of the format table reads it, generation builds it. On every
// bundled example the graph loaded is exactly the one built from the row's plain graph
// (neighbour order included) with its format's graph type, a drawing loads as the editor
// converts it, and a stopped load gives up with its own line.
#include "run/graph_loading.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/plain_graph.h"
#include "editor/drawing_conversion.h"
#include "io/g_file.h"
#include "support/test_graphs.h"

namespace hc {
namespace {

TEST(GraphLoading, EveryExampleIsItsRowsGraphBuiltByGeneration) {
  StopToken stopped;
  stopped.requestStop();
  size_t examples = 0;
  for (const auto& entry : std::filesystem::directory_iterator(HC_EXAMPLES_DIR)) {
    if (!entry.is_regular_file()) continue;  // examples/library is a program
    const std::string path = entry.path().string();
    SCOPED_TRACE(path);
    const GraphFormatInfo* format = graphFormatOfPath(path);
    ASSERT_NE(format, nullptr);
    PlainGraph plain;
    ASSERT_TRUE(format->read(GraphRecord{path, 0, {}}, {}, plain));
    const LoadedGraph loaded = loadGraphFile(path);
    ASSERT_TRUE(loaded) << loaded.error;
    const bool drawing = format->format == GraphFormat::kDrawing;
    const int16_t type = format->format == GraphFormat::kObj ? 10 : drawing ? 0 : 9;
    EXPECT_EQ(
        std::tuple(loaded.graph->graphType, loaded.graph->coordinates, testing::snapshot(*loaded.graph)),
        std::tuple(type, plain.coordinates, testing::snapshot(*graphOfPlain(plain, type))));
    EXPECT_EQ(std::tuple(loaded.description.sourceType, graphDisplayName(loaded.description)),
              std::tuple(graphSourceOfPath(path), entry.path().filename().string()));
    if (drawing) {
      Graph2D read;
      ASSERT_TRUE(loadGFile(path, read));
      const Graph converted = convertDrawingToGraph(read, kUserDefinedGraphName);
      EXPECT_EQ(std::tuple(testing::snapshot(*loaded.graph), loaded.graph->outputFileName),
                std::tuple(testing::snapshot(converted), converted.outputFileName));
    }
    const LoadedGraph halted = loadGraphFile(path, FormatOptions{0, &stopped});
    EXPECT_EQ(std::tuple(halted.stopped, halted.graph == nullptr, halted.error),
              std::tuple(true, true, path + ": reading stopped"));
    ++examples;
  }
  EXPECT_GE(examples, 8u);
}

}  // namespace
}  // namespace hc
