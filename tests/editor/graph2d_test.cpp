// The drawing's objects: node circle and overlap tests, the edge hit rectangle in every
// direction (vertical included), and removing an edge from a node's list.
#include "editor/graph2d.h"

#include <gtest/gtest.h>

#include <cmath>

#include "editor_test_util.h"

namespace hc {
namespace {

using editor_test::addUnselected;

TEST(Graph2DNode, CircleAndOverlapIncludeTheirBoundary) {
  Graph2DNode node(3, 1.0, 2.0);
  EXPECT_EQ(node.radius, 0.5);
  EXPECT_TRUE(node.hitTest(1.0, 2.0));
  EXPECT_TRUE(node.hitTest(1.5, 2.0));  // on the circle
  EXPECT_FALSE(node.hitTest(1.5001, 2.0));
  EXPECT_TRUE(node.overlapTest(2.0, 2.0));  // two radii away
  EXPECT_FALSE(node.overlapTest(2.0001, 2.0));
  EXPECT_TRUE(node.overlapTest(1.6, 2.7));
}

// Samples a box around each edge and compares the hit test with the distance to the
// segment: well inside the band hits, well outside does not. An upward vertical edge has an
// infinite slope; points exactly on a side do not hit.
TEST(Graph2DEdge, HitRectangleFollowsTheEdgeInEveryDirection) {
  const double ends[][4] = {{0, 0, 3, 0},  {3, 0, 0, 0}, {0, 0, 2, 2}, {2, 2, 0, 0},    {0, 0, 2, -3},
                            {2, -3, 0, 0}, {0, 0, 0, 4}, {0, 4, 0, 0}, {-1, 5, 4, 4.5}, {1, 1, 1.2, 5}};
  for (const auto& [x1, y1, x2, y2] : ends) {
    Graph2DNode a(0, x1, y1), b(1, x2, y2);
    const Graph2DEdge edge(&a, &b);
    const double length = std::hypot(x2 - x1, y2 - y1), ux = (x2 - x1) / length, uy = (y2 - y1) / length;
    for (double t = -0.3; t <= length + 0.3; t += length / 17.0) {
      for (double d = -0.4; d <= 0.4; d += 0.05) {
        const bool inside = t > 0.01 && t < length - 0.01 && std::abs(d) < 0.19;
        if (!inside && t >= -0.01 && t <= length + 0.01 && std::abs(d) <= 0.21) continue;  // the rim
        EXPECT_EQ(edge.hitTest(x1 + ux * t - uy * d, y1 + uy * t + ux * d), inside)
            << "(" << x1 << "," << y1 << ")-(" << x2 << "," << y2 << ") t=" << t << " d=" << d;
      }
    }
  }
  Graph2DNode a(0, 0, 0), b(1, 0, 4), c(2, 2, 0);
  const Graph2DEdge vertical(&a, &b), horizontal(&a, &c);
  EXPECT_TRUE(std::isinf(vertical.slope) && vertical.slope > 0);
  EXPECT_FALSE(horizontal.hitTest(1.0, 0.2));
  EXPECT_TRUE(horizontal.hitTest(1.0, 0.1999));
}

TEST(Graph2DNode, RemoveEdgeRotatesPastTheDroppedEdgeAndRefusesAStranger) {
  Graph2D drawing;
  Graph2DNode* hub = addUnselected(drawing, 0, 0);
  std::vector<Graph2DEdge*> spokes;
  for (int i = 0; i < 4; ++i)
    spokes.push_back(drawing.joinNodes(hub, addUnselected(drawing, 5.0 * (i + 1), 3)));
  ASSERT_TRUE(hub->removeEdge(spokes[1]));
  EXPECT_EQ(hub->edges, (std::vector<Graph2DEdge*>{spokes[2], spokes[3], spokes[0]}));
  Graph2DEdge stranger(hub, addUnselected(drawing, -9, -9));
  EXPECT_FALSE(hub->removeEdge(&stranger));
  EXPECT_EQ(hub->edges, (std::vector<Graph2DEdge*>{spokes[2], spokes[3], spokes[0]}));
}

}  // namespace
}  // namespace hc
