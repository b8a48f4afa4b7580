// Building a graph: joins are appended without searching, and a parallel entry is still
// reported (once per extra join, smaller id first) and kept when construction ends.
#include <gtest/gtest.h>

#include "core_test_support.h"

namespace hc {
namespace {

TEST(Construction, ParallelJoinsAreReportedWhenConstructionEnds) {
  testing::CapturedDiagnostics out;
  Graph g(3, 0);
  g.addEdge(2, 1);
  g.addEdge(0, 1);
  g.addEdge(1, 2);
  EXPECT_EQ(out.text(), "");
  g.finishConstruction();
  EXPECT_EQ(out.text(), "Error. Attempt to join nodes 1 and 2, which are already adjacent.\n");
  EXPECT_EQ(g.node(1).degree, 3);
  EXPECT_EQ(std::vector<int32_t>(g.node(1).neighborArray, g.node(1).neighborArray + 3),
            (std::vector<int32_t>{2, 0, 2}));
}

}  // namespace
}  // namespace hc
