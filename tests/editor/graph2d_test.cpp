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

// Samples a box around an edge and compares the hit test with the distance to the
// segment: well inside the band hits, well outside does not.
void expectHitsAlongBand(const Graph2DEdge& edge) {
  const double x1 = edge.node1->x, y1 = edge.node1->y, x2 = edge.node2->x, y2 = edge.node2->y;
  const double length = std::hypot(x2 - x1, y2 - y1);
  const double ux = (x2 - x1) / length, uy = (y2 - y1) / length;
  for (double t = -0.3; t <= length + 0.3; t += length / 17.0) {
    for (double d = -0.4; d <= 0.4; d += 0.05) {
      const double px = x1 + ux * t - uy * d, py = y1 + uy * t + ux * d;
      const bool clearlyInside = t > 0.01 && t < length - 0.01 && std::abs(d) < 0.19;
      const bool clearlyOutside = t < -0.01 || t > length + 0.01 || std::abs(d) > 0.21;
      if (clearlyInside) {
        EXPECT_TRUE(edge.hitTest(px, py)) << "t=" << t << " d=" << d;
      }
      if (clearlyOutside) {
        EXPECT_FALSE(edge.hitTest(px, py)) << "t=" << t << " d=" << d;
      }
    }
  }
}

TEST(Graph2DEdge, HitRectangleFollowsTheEdgeInEveryDirection) {
  const double ends[][4] = {{0, 0, 3, 0},  {3, 0, 0, 0}, {0, 0, 2, 2}, {2, 2, 0, 0},    {0, 0, 2, -3},
                            {2, -3, 0, 0}, {0, 0, 0, 4}, {0, 4, 0, 0}, {-1, 5, 4, 4.5}, {1, 1, 1.2, 5}};
  for (const auto& e : ends) {
    Graph2DNode a(0, e[0], e[1]), b(1, e[2], e[3]);
    Graph2DEdge edge(&a, &b);
    SCOPED_TRACE(testing::Message() << "(" << e[0] << "," << e[1] << ")-(" << e[2] << "," << e[3] << ")");
    expectHitsAlongBand(edge);
  }
}

// Upward vertical edges have an infinite slope; points exactly on a side do not hit.
TEST(Graph2DEdge, VerticalSlopeAndOpenSides) {
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
