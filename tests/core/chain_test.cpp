// The incremental model: chains built, extended, merged and closed by setUncut; hub and
// ring detection; degree-two forcing after a cut; the queue order after setUncut; the
// scan-model cutAndForce; undo of a trial; messages.
// Head and member bookkeeping of undecided graphs is left to the invariant checker.
#include <gtest/gtest.h>

#include <optional>
#include <sstream>

#include "core_test_support.h"

namespace hc {
namespace {

using testing::snapshot;

// Chains, the uncuttable edges (smaller end first), then edges, forced edges, hubs, rings
// and the verdict: "0-3:4 | 0-1 1-2 2-3 | e15 f3 h0 r0 v2".
std::string summary(const Graph& g) {
  std::ostringstream out;
  out << testing::chainList(g) << " |";
  for (const Node& n : g.nodes)
    for (int32_t u : {n.uncuttable1, n.uncuttable2})
      if (n.id < u && g.isUncuttableEdge(n.id, u)) out << " " << n.id << "-" << u;
  out << " | e" << g.howManyEdges << " f" << g.howManyUncuttable << " h" << g.howManyHubs << " r"
      << g.howManyRings << " v" << g.isHamiltonian;
  return out.str();
}

// A script of steps "u" setUncut, "f" force, "c" cut, "s" cutAndForce (each "<step>a-b"),
// and "[" opening a trial that is undone, once the summary is checked, back to the snapshot
// taken when it opened. Every row also gives the exact diagnostic output, and some the
// pruning queue left by setUncut.
TEST(ChainTest, ScriptedChangesGiveTheirChainsCountersVerdictsAndMessages) {
  const testing::EdgeList cutGraph{{0, 1}, {0, 2}, {0, 3}, {1, 2}, {1, 3}, {2, 3}, {3, 4}, {1, 4}, {2, 4}};
  const testing::EdgeList star{{0, 1}, {0, 2}, {0, 3}, {1, 4}, {2, 5}, {3, 6}, {1, 5}, {2, 6}, {3, 4}};
  const testing::EdgeList chord = testing::joined(testing::cycleEdges(0, 5), {{0, 2}});
  const testing::EdgeList queueing{{0, 1}, {1, 2}, {2, 3}, {0, 3}, {0, 4}, {2, 4}, {2, 5}, {3, 5}, {4, 5}};
  struct Row {
    int32_t n;
    testing::EdgeList edges;  // empty: the complete graph
    const char* script;
    const char* expected;
    const char* messages = "";
    const char* queue = nullptr;
  };
  const Row rows[] = {
      {6, {}, "u0-1 u1-2 u2-3", "0-3:4 | 0-1 1-2 2-3 | e15 f3 h0 r0 v2"},
      {6, {}, "u2-3 u0-1", "2-3:2 0-1:2 | 0-1 2-3 | e15 f2 h0 r0 v2"},
      {6, {}, "u2-3 u0-1 u1-2", "0-3:4 | 0-1 1-2 2-3 | e15 f3 h0 r0 v2"},
      {6, {}, "u0-1 u1-2 u2-0", "2-2:3R | 0-1 0-2 1-2 | e15 f3 h0 r1 v0"},
      {4, {}, "u0-1 u1-2 u2-3 u3-0", "3-3:4 | 0-1 0-3 1-2 2-3 | e6 f4 h0 r0 v1"},
      // A third forced edge makes a hub and leaves the chains alone; each further one counts.
      {6, {}, "u0-1 u0-2 u0-3", "2-1:3 | 0-1 0-2 | e15 f3 h1 r0 v0"},
      {6, {}, "u0-1 u0-2 u0-3 u0-4", "2-1:3 | 0-1 0-2 | e15 f4 h2 r0 v0"},
      // Merging the first chain with the last and the middle one with the last, in both
      // argument orders: the survivor lands in the right slot, and undo restores all three.
      {8, {}, "u0-1 u2-3 u4-5 [ u1-4", "0-5:4 2-3:2 | 0-1 1-4 2-3 4-5 | e28 f4 h0 r0 v2"},
      {8, {}, "u0-1 u2-3 u4-5 [ u4-1", "0-5:4 2-3:2 | 0-1 1-4 2-3 4-5 | e28 f4 h0 r0 v2"},
      {8, {}, "u0-1 u2-3 u4-5 [ u3-0", "4-5:2 2-1:4 | 0-1 0-3 2-3 4-5 | e28 f4 h0 r0 v2"},
      {8, {}, "u0-1 u2-3 u4-5 [ u5-2", "0-1:2 4-3:4 | 0-1 2-3 2-5 4-5 | e28 f4 h0 r0 v2"},
      // Cutting 0-3 leaves 0 at degree 2: the chain 1-0-2 has adjacent heads, so 1-2 goes too.
      {5, cutGraph, "c0-3", "2-1:3 | 0-1 0-2 | e7 f2 h0 r0 v2"},
      {5, cutGraph, "s0-3", " | 0-1 0-2 | e8 f2 h0 r0 v2"},  // no chains, no pruning
      // A node of degree 3 whose three neighbours all drop to degree 2 becomes a hub.
      {7, star, "s1-5 s2-6 s3-4", " | 0-1 0-2 1-4 2-5 3-6 | e6 f6 h1 r0 v0"},
      // force runs the queue: Lightning takes node 1's other edges, HeadHunter cuts 0-2.
      {5, {}, "u0-1 f1-2", "0-2:3 | 0-1 1-2 | e7 f2 h0 r0 v2"},
      // Extending a chain queues Lightning for the new inner node (unless it has degree 2, as
      // node 1 here), then HeadHunter for both heads.
      {6, queueing, "u0-1 u1-2 u2-3", "0-3:4 | 0-1 1-2 2-3 | e9 f3 h0 r0 v2", "", "2L 0H 3H"},
      // Refused steps change nothing and record nothing.
      {5, chord, "[ c1-3", " | | e6 f0 h0 r0 v2",
       "Error: Attempt to cut an edge between non-adjacent nodes 1 and 3.\n"},
      {5, chord, "[ s1-3", " | | e6 f0 h0 r0 v2",
       "Error.  Attempt to do a graph level cut on two nodes which are not adjacent.\n"},
      {5, chord, "[ u1-3", " | | e6 f0 h0 r0 v2",
       "Error: Attempt to set uncut an edge between non-adjacent nodes 1 and 3.\n"},
      // Forcing a forced edge again is no ring of two.
      {5, chord, "f0-2 [ u2-0", "0-2:2 | 0-2 | e6 f1 h0 r0 v2",
       "Error: Attempt to set uncut an edge that is already uncuttable between nodes 2 and 0.\n"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.script);
    testing::CapturedDiagnostics out;
    Graph g = testing::makeGraph(row.n, row.edges.empty() ? testing::completeEdges(0, row.n) : row.edges);
    std::optional<ScopedActionList> trial;
    std::string before;
    std::istringstream steps(row.script);
    for (std::string step; steps >> step;) {
      if (step == "[") {
        before = snapshot(g);
        trial.emplace(g);
        continue;
      }
      const int32_t a = std::stoi(step.substr(1));
      const int32_t b = std::stoi(step.substr(step.find('-') + 1));
      switch (step[0]) {
        case 'u': g.setUncut(a, b); break;
        case 'f': g.force(a, b); break;
        case 'c': g.cut(a, b); break;
        default: g.cutAndForce(a, b); break;
      }
    }
    EXPECT_EQ(std::pair(summary(g), out.text()),
              std::pair(std::string(row.expected), std::string(row.messages)));
    const std::string queue = testing::drainQueue(g);  // undo leaves the queue alone
    EXPECT_EQ(queue, row.queue ? row.queue : queue);
    InvariantOptions options;
    options.incrementalChains = std::string(row.script).find('s') == std::string::npos;
    EXPECT_EQ(g.isHamiltonian == kUndecided ? checkInvariants(g, options) : "", "");
    if (!trial) continue;
    g.undoActions();
    EXPECT_EQ(snapshot(g), before) << "undoing the trial";
  }
}

}  // namespace
}  // namespace hc
