// The proof tree: decisions at the root, the report-to-parent forcing with its restart,
// the cycle hand-up, the depth limit, aborts, deep trees, and known answers.
#include "cohc/search_tree.h"

#include <gtest/gtest.h>
#include <pthread.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>

#include "cohc/search_tree_node.h"
#include "core/diagnostics.h"
#include "core/random.h"
#include "io/adjacency_text_format.h"
#include "support/test_graphs.h"

namespace hc {
namespace {

using namespace hc::testing;

Graph generalizedPetersen(int32_t n, int32_t k) {
  return makeGraph(2 * n, generalizedPetersenEdges(n, k));
}
// A square with a pendant node.
Graph squareWithPendant() {
  return makeGraph(5, {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {0, 4}});
}
// Two K4 blocks sharing node 3: connected, no degree-2 node, but 3 is a cut vertex.
Graph twoK4SharingANode() {
  return makeGraph(7, joined(completeEdges(0, 4), completeEdges(3, 4)));
}

bool sanitized() {
  const char* value = std::getenv("HC_SANITIZED");
  return value != nullptr && std::string(value) == "1";
}

// Fixed seeds make the forcing probes (and so the minimal-children trees) replayable.
class SearchTreeTest : public ::testing::Test {
 protected:
  void SetUp() override { enableFixedSeed(12345); }
  void TearDown() override { disableFixedSeed(); }
};

CohcOptions options(int32_t level, bool minimal, int32_t depth = 999999999) {
  return {.maxSearchDepth = depth,
          .pruningLevel = level,
          .buildMinimalChildren = minimal,
          .writeCycleFile = false};
}

// ---------------------------------------------------------------------------------------
// Decisions at the root and the depth limit

TEST_F(SearchTreeTest, RootDecisionsAndTheDepthLimit) {
  // Only the root is built; it is recorded as solved exactly when it is decided. Name, graph,
  // level, minimal children, depth limit, verdict.
  std::tuple<const char*, Graph, int32_t, bool, int32_t, HamiltonicityState> cases[] = {
      {"depth 0", petersenGraph(), 0, false, 0, kUndecided},
      {"negative depth", petersenGraph(), 1, true, -5, kUndecided},
      {"pendant", squareWithPendant(), 5, false, 9, kNotHamiltonian},
      {"pendant, minimal", squareWithPendant(), 5, true, 9, kNotHamiltonian},
      {"cut vertex at level 3", twoK4SharingANode(), 3, false, 9, kNotHamiltonian},
      {"cut vertex at level 2", twoK4SharingANode(), 2, false, 0, kUndecided},
      {"no nodes", makeGraph(0, {}), 0, false, 9, kUndecided},
  };
  for (auto& [name, graph, level, minimal, depth, verdict] : cases) {
    CohcResult r = runCoHC(graph, options(level, minimal, depth));
    const SearchTreeStatistics& s = *r.statistics;
    EXPECT_EQ(std::tuple(r.verdict, graph.isHamiltonian, r.treeNodes, r.deepestDepth, r.aborted),
              std::tuple(verdict, verdict, int64_t{1}, 0, false))
        << name;
    EXPECT_EQ(std::vector<double>({s.started[0], s.solved[0], s.started[1], s.totalStarted()}),
              std::vector<double>({1, verdict == kUndecided ? 0.0 : 1.0, 0, 1}))
        << name;
  }
}

// ---------------------------------------------------------------------------------------
// Candidates

TEST_F(SearchTreeTest, CandidatesAreTheUnforcedEdgesInNodeAndNeighbourOrder) {
  // A square 0-1-2-3 with chords 0-2 and 1-3: nothing forced.
  Graph g = makeGraph(4, {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {0, 2}, {1, 3}});
  SearchTreeNode root(g, 5, SearchTreeRun{0, false, nullptr, {}});
  root.computeCandidates();
  EdgeList listed;
  for (int32_t i = 0; i < root.candidateCount(); ++i) {
    listed.emplace_back(root.candidateU(i), root.candidateV(i));
    EXPECT_TRUE(root.candidateOpen(i));
  }
  EXPECT_EQ(listed, (EdgeList{{0, 1}, {0, 3}, {0, 2}, {1, 2}, {1, 3}, {2, 3}}));
  // Forcing 0-1 removes it from the next listing.
  g.force(0, 1);
  root.computeCandidates();
  EXPECT_EQ(root.candidateCount(), 5);

  // An undecided graph without unforced edges (all forced on the node level only, so the
  // verdict stays 2) has no candidates, minimal or not.
  Graph c6 = cycleGraph(6);
  for (int32_t i = 0; i < 6; ++i) Node::setUncut(c6.node(i), c6.node((i + 1) % 6));
  ASSERT_EQ(c6.isHamiltonian, kUndecided);
  CapturedDiagnostics out;  // the probe says it found no cuttable neighbour
  for (bool minimal : {false, true}) {
    SearchTreeNode forced(c6, 5, SearchTreeRun{0, minimal, nullptr, {}});
    forced.computeCandidates();
    EXPECT_EQ(std::pair(forced.candidateCount(), forced.nextChild()), std::pair(0, -1))
        << "minimal " << minimal;
  }
  Graph copy(c6);
  EXPECT_EQ(randomForcingProbe(copy).count, 0) << "the probe ends at once instead of drawing forever";
}

TEST_F(SearchTreeTest, MinimalCandidatesAreAForcingSequenceThatDecidesACopy) {
  Graph g = makeGraph(36, knightEdges(6, 6));
  rootInitialPruning(g);
  CutSequence best = findMinimalForcingSequence(g);
  ASSERT_EQ(best.count, static_cast<int32_t>(best.pairs.size()));
  // Replaying the pairs on a copy forces only existing, unforced edges and decides it.
  Graph copy(g);
  for (const CutPair& p : best.pairs) {
    ASSERT_TRUE(copy.isAdjacent(p.first, p.second) && !copy.isUncuttableEdge(p.first, p.second));
    copy.force(p.first, p.second);
  }
  EXPECT_EQ(std::pair(copy.isHamiltonian != kUndecided, g.isHamiltonian), std::pair(true, kUndecided));
  // The sequence kept is the shortest of the probes (not all equal): replay them from the
  // same seed on the graph the probes saw.
  enableFixedSeed(12345);
  std::vector<int32_t> counts;
  for (int32_t probe = 0; probe < kForcingProbes; ++probe) {
    Graph probed(g);
    counts.push_back(randomForcingProbe(probed).count);
  }
  EXPECT_EQ(best.count, *std::min_element(counts.begin(), counts.end()));
  EXPECT_GT(best.count, 0);
  EXPECT_LT(best.count, *std::max_element(counts.begin(), counts.end()));
}

// ---------------------------------------------------------------------------------------
// The walk, step by step: forcing after a non-Hamiltonian child, the restart, and the
// rule that a closed candidate is never tried.

// The same depth-first walk as runSearchTree, with checks at every step; counts the restarts
// of a scan at an earlier candidate.
HamiltonicityState checkedWalk(Graph& graph, int32_t depth, const SearchTreeRun& run, int64_t& restarts) {
  // Each resident node with the index of the parent's candidate it was built for.
  std::vector<std::pair<std::unique_ptr<SearchTreeNode>, int32_t>> path;
  path.emplace_back(std::make_unique<SearchTreeNode>(graph, depth, run), -1);
  path.back().first->start();
  for (;;) {
    SearchTreeNode& top = *path.back().first;
    int32_t i = top.nextChild();
    if (i >= 0) {
      // The candidate is open and its edge exists, unforced, in the parent.
      const int32_t u = top.candidateU(i);
      const int32_t v = top.candidateV(i);
      EXPECT_TRUE(top.candidateOpen(i) && top.graph().isAdjacent(u, v) && !top.graph().isUncuttableEdge(u, v))
          << u << "-" << v;
      path.emplace_back(std::make_unique<SearchTreeNode>(top, u, v), i);
      path.back().first->start();
      continue;
    }
    if (path.size() == 1) break;
    top.finish(false);
    auto [done, index] = std::move(path.back());
    path.pop_back();
    SearchTreeNode& parent = *path.back().first;
    HamiltonicityState childVerdict = done->verdict();
    parent.acceptChild(index, *done);
    if (childVerdict == kNotHamiltonian) {
      // The parent forces the child's edge, closes its candidate and restarts the scan at
      // the first open candidate.
      EXPECT_FALSE(parent.candidateOpen(index));
      EXPECT_TRUE(parent.verdict() == kNotHamiltonian ||
                  parent.graph().isUncuttableEdge(done->designatedU(), done->designatedV()));
      int32_t firstOpen = 0;
      while (firstOpen < parent.candidateCount() && !parent.candidateOpen(firstOpen)) ++firstOpen;
      if (parent.verdict() == kUndecided && firstOpen < parent.candidateCount()) {
        if (firstOpen < index) ++restarts;
        EXPECT_EQ(parent.nextChild(), firstOpen);
      }
    } else if (childVerdict == kHamiltonian) {
      EXPECT_EQ(parent.verdict(), kHamiltonian);
    }
  }
  path.front().first->finish(false);
  return path.front().first->verdict();
}

TEST_F(SearchTreeTest, NonHamiltonianChildMakesTheParentForceAndRestart) {
  // With a depth limit some children stay undecided, so a later forcing sends the scan
  // back to an earlier open candidate.
  // Minimal children (level 3 only) keep the same rules.
  int64_t restarts = 0;
  for (int32_t level : {0, 1, 3, 4}) {
    for (int32_t depth : {1, 3, 1000}) {
      for (bool minimal : {false, true}) {
        if (minimal && (level != 3 || depth != 1000)) continue;
        Graph g = generalizedPetersen(11, 2);
        int64_t walkRestarts = 0;
        HamiltonicityState verdict = checkedWalk(g, depth, {level, minimal, nullptr, {}}, walkRestarts);
        EXPECT_NE(verdict, kHamiltonian);
        EXPECT_TRUE(depth != 1000 || verdict == kNotHamiltonian) << "level " << level;
        if (!minimal) restarts += walkRestarts;
      }
    }
  }
  EXPECT_GT(restarts, 0) << "the scenario above did happen";
}

// ---------------------------------------------------------------------------------------
// Cycles and known answers

TEST_F(SearchTreeTest, ChildCycleEndsTheSearchAndIsWrittenByTheRoot) {
  // The root's first child (0-1 deleted) is solved with a cycle, and no sibling follows.
  // With a clock ticking 1 s per reading: the root starts at 1, the child at 2 and is solved
  // at 3, the root is solved at 4.
  auto stats = std::make_shared<SearchTreeStatistics>();
  double tick = 0.0;
  stats->clock = [&tick] { return tick += 1.0; };
  Graph g = completeGraph(4);
  auto path = std::filesystem::temp_directory_path() / "cohc_k4-HC.txt";
  std::filesystem::remove(path);
  g.outputFileName = path.string();
  CohcOptions o = options(0, false);
  o.writeCycleFile = true;
  o.writeGraph = adjacencyTextFileWriter;
  CohcResult r = runCoHC(g, o, nullptr, nullptr, stats);
  EXPECT_EQ(std::tuple(r.verdict, r.treeNodes, r.cycle.front()), std::tuple(kHamiltonian, int64_t{2}, 0));
  // Per depth: started, solved, longest and average time (whole ticks: exact), forced edges.
  const SearchTreeStatistics& s = *stats;
  auto row = [&s](size_t d) {
    return std::vector<double>{s.started[d], s.solved[d], s.longestTime[d], s.averageTime[d],
                               s.forcedEdges[d]};
  };
  EXPECT_EQ(row(0), (std::vector<double>{1, 1, 3, 3, 4}));
  EXPECT_EQ(row(1), (std::vector<double>{1, 1, 1, 1, 4}));
  EXPECT_EQ(std::tuple(s.deepestStartedDepth, s.deepestSolvedDepth, s.mostSolved), std::tuple(1, 1, 1));
  EXPECT_EQ(std::pair(s.longestTimeOverall, s.largestAverageTime), std::pair(3.0, 3.0));
  // The root holds the child's graph, and writes it: one cycle of degree-2 nodes.
  std::ifstream in(path);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4);
  std::filesystem::remove(path);
  for (int32_t i = 0; i < 4; ++i) EXPECT_EQ(g.node(i).degree, 2);

  Graph c5 = cycleGraph(5);  // no output name: nothing is written
  CohcResult closed = runCoHC(c5, o);
  EXPECT_EQ(closed.treeNodes, 1);  // the initial pruning closes C5
  EXPECT_EQ(closed.cycle, (std::vector<int32_t>{0, 1, 2, 3, 4}));
}

TEST_F(SearchTreeTest, KnownAnswersAtEveryLevel) {
  // Name, graph, highest level tried (the GP(n, 2) only from level 3).
  std::vector<std::tuple<std::string, Graph, int32_t>> cases = {
      {"K4", completeGraph(4), 5},
      {"C5", cycleGraph(5), 5},
      {"knight 6x6", makeGraph(36, knightEdges(6, 6)), sanitized() ? 4 : 5},
      {"Petersen", petersenGraph(), 6}};
  // GP(n, 2) is non-Hamiltonian exactly when n = 5 mod 6.
  for (int32_t n : {6, 7, 8, 9, 11})
    cases.emplace_back("GP(" + std::to_string(n) + ",2)", generalizedPetersen(n, 2), 3);
  for (const auto& [name, graph, maxLevel] : cases) {
    const bool hamiltonian = name != "Petersen" && name != "GP(11,2)";
    for (int32_t level = maxLevel == 3 ? 3 : 0; level <= maxLevel; ++level) {
      for (bool minimal : {false, true}) {
        Graph g(graph);
        CohcResult r = runCoHC(g, options(level, minimal));
        EXPECT_EQ(r.verdict, hamiltonian ? kHamiltonian : kNotHamiltonian)
            << name << " level " << level << " minimal " << minimal;
        EXPECT_TRUE(!hamiltonian || isHamiltonianCycleOf(r.cycle, g.howManyNodes, currentEdges(graph)))
            << name;
        EXPECT_EQ(std::pair(r.statistics->solved[0], r.statistics->totalStarted()),
                  std::pair(1.0, static_cast<double>(r.treeNodes)));
      }
    }
  }
}

// ---------------------------------------------------------------------------------------
// Aborts

// A listener that owns the run's token, counts starts and those after the stop, and stops
// the token at the `clearAt`-th start.
struct FlagWatcher : SearchTreeListener {
  StopToken flag;
  int clearAt = -1, started = 0, startedAfterStop = 0;
  void nodeStarted(const SearchTreeStatistics&, int32_t, bool) override {
    if (flag.stopRequested()) ++startedAfterStop;
    if (++started == clearAt) flag.requestStop();
  }
};

TEST_F(SearchTreeTest, AStopEndsTheRunBeforeTheNextChild) {
  // Stopped while the third tree node is being recorded: that node returns without
  // children and no further node is created.
  FlagWatcher watcher;
  watcher.clearAt = 3;
  Graph g = generalizedPetersen(17, 2);
  CohcResult r = runCoHC(g, options(1, false), &watcher.flag, &watcher);
  EXPECT_EQ(std::tuple(r.aborted, r.timedOut, r.verdict, r.treeNodes, watcher.startedAfterStop),
            std::tuple(true, false, kUndecided, 3, 0));
  // Stopped before the run: the root is pruned and its start recorded, nothing more, so even
  // a root that its initial pruning decided is not recorded as solved.
  StopToken cleared;
  cleared.requestStop();
  Graph h = generalizedPetersen(17, 2);
  CohcResult r2 = runCoHC(h, options(5, true), &cleared);
  EXPECT_EQ(std::pair(r2.aborted, r2.treeNodes), std::pair(true, int64_t{1}));
  Graph pendant = squareWithPendant();
  CohcResult r3 = runCoHC(pendant, options(0, false), &cleared);
  EXPECT_EQ(std::tuple(r3.verdict, r3.statistics->started[0], r3.statistics->solved[0]),
            std::tuple(kNotHamiltonian, 1.0, 0.0));
}

TEST_F(SearchTreeTest, AStopFromAnotherThreadOrATimeLimitEndsALongRun) {
  // GP(59, 2) at level 1 takes far longer than the wait below (about a minute).
  FlagWatcher watcher;
  Graph g = generalizedPetersen(59, 2);
  std::thread stopper([&watcher] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    watcher.flag.requestStop();
  });
  CohcResult r = runCoHC(g, options(1, false), &watcher.flag, &watcher);
  stopper.join();
  EXPECT_EQ(std::pair(r.aborted, r.verdict), std::pair(true, kUndecided));
  EXPECT_LE(watcher.startedAfterStop, 1) << "at most the node under construction records its start";
  Graph h = generalizedPetersen(59, 2);
  CohcOptions o = options(1, false);
  o.timeLimitSeconds = 0.05;
  CohcResult timed = runCoHC(h, o);
  EXPECT_EQ(std::tuple(timed.aborted, timed.timedOut, timed.verdict), std::tuple(true, true, kUndecided));
}

// ---------------------------------------------------------------------------------------
// Deep trees

TEST_F(SearchTreeTest, DeepTreeRunsWithoutTheThreadStack) {
  // At level 0 the first child of every node of K_n deletes the next edge at the lowest
  // node, so the walk dives about n^2 / 2 levels before it closes a cycle. Run on a thread
  // with a small stack: a walk that recursed per depth would overflow it.
  const int32_t n = sanitized() ? 30 : 60;
  Graph g = completeGraph(n);
  const auto all = currentEdges(g);
  CohcResult r;
  std::function<void()> work = [&g, &r] { r = runCoHC(g, options(0, false)); };
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  pthread_attr_setstacksize(&attr, 256 * 1024);
  pthread_t thread;
  auto call = [](void* f) -> void* {
    (*static_cast<std::function<void()>*>(f))();
    return nullptr;
  };
  ASSERT_EQ(pthread_create(&thread, &attr, call, &work), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attr);
  EXPECT_TRUE(r.verdict == kHamiltonian && isHamiltonianCycleOf(r.cycle, n, all));
  EXPECT_GE(r.deepestDepth, sanitized() ? 200 : 900);
  EXPECT_EQ(r.statistics->deepestStartedDepth, r.deepestDepth);
}

}  // namespace
}  // namespace hc
