// The proof tree: decisions at the root, the report-to-parent forcing with its restart,
// the cycle hand-up, the depth limit, aborts, deep trees, and known answers.
#include "cohc/search_tree.h"

#include <gtest/gtest.h>
#include <pthread.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>

#include "cohc/search_tree_node.h"
#include "core/diagnostics.h"
#include "core/random.h"
#include "support/test_graphs.h"

namespace hc {
namespace {

using testing::completeEdges;
using testing::currentEdges;
using testing::cycleEdges;
using testing::isHamiltonianCycleOf;
using testing::makeGraph;

Graph generalizedPetersen(int32_t n, int32_t k) { return makeGraph(2 * n, testing::generalizedPetersenEdges(n, k)); }
Graph completeGraph(int32_t n) { return makeGraph(n, completeEdges(0, n)); }
Graph cycleGraph(int32_t n) { return makeGraph(n, cycleEdges(0, n)); }
Graph petersen() { return testing::petersenGraph(); }
// A square with a pendant node.
Graph squareWithPendant() { return makeGraph(5, {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {0, 4}}); }
// Two K4 blocks sharing node 0: connected, no degree-2 node, but 0 is a cut vertex.
Graph twoK4SharingANode() {
  return makeGraph(7, {{0, 1}, {0, 2}, {0, 3}, {1, 2}, {1, 3}, {2, 3}, {0, 4}, {0, 5}, {0, 6}, {4, 5}, {4, 6}, {5, 6}});
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
  CohcOptions o;
  o.pruningLevel = level;
  o.buildMinimalChildren = minimal;
  o.maxSearchDepth = depth;
  o.writeCycleFile = false;
  return o;
}

// ---------------------------------------------------------------------------------------
// Decisions at the root and the depth limit

TEST_F(SearchTreeTest, RootDecisionsAndTheDepthLimit) {
  struct Case {
    const char* name;
    Graph graph;
    int32_t level;
    bool minimal;
    int32_t depth;
    HamiltonicityState verdict;
    double rootSolved;
  };
  Case cases[] = {
      {"depth 0", petersen(), 0, false, 0, kUndecided, 0},
      {"negative depth", petersen(), 1, true, -5, kUndecided, 0},
      {"pendant", squareWithPendant(), 5, false, 9, kNotHamiltonian, 1},
      {"pendant, minimal", squareWithPendant(), 5, true, 9, kNotHamiltonian, 1},
      {"cut vertex at level 3", twoK4SharingANode(), 3, false, 9, kNotHamiltonian, 1},
      {"cut vertex at level 2", twoK4SharingANode(), 2, false, 0, kUndecided, 0},
      {"no nodes", makeGraph(0, {}), 0, false, 9, kUndecided, 0},
  };
  for (Case& c : cases) {
    CohcResult r = runCoHC(c.graph, options(c.level, c.minimal, c.depth));
    EXPECT_EQ(r.verdict, c.verdict) << c.name;
    EXPECT_EQ(c.graph.isHamiltonian, c.verdict) << c.name;
    EXPECT_EQ(r.treeNodes, 1) << c.name;
    EXPECT_EQ(r.deepestDepth, 0) << c.name;
    EXPECT_FALSE(r.aborted) << c.name;
    const SearchTreeStatistics& s = *r.statistics;
    EXPECT_EQ(std::vector<double>({s.started[0], s.solved[0], s.started[1], s.totalStarted()}),
              std::vector<double>({1, c.rootSolved, 0, 1})) << c.name;
  }
}

// ---------------------------------------------------------------------------------------
// Candidates

TEST_F(SearchTreeTest, CandidatesAreTheUnforcedEdgesInNodeAndNeighbourOrder) {
  // A square 0-1-2-3 with chords 0-2 and 1-3: nothing forced.
  Graph g = makeGraph(4, {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {0, 2}, {1, 3}});
  SearchTreeNode root(g, 5, SearchTreeRun{0, false, nullptr, {}});
  root.computeCandidates();
  ASSERT_EQ(root.candidateCount(), 6);
  std::vector<std::pair<int32_t, int32_t>> listed;
  for (int32_t i = 0; i < root.candidateCount(); ++i) {
    listed.emplace_back(root.candidateU(i), root.candidateV(i));
    EXPECT_TRUE(root.candidateOpen(i));
  }
  std::vector<std::pair<int32_t, int32_t>> expected = {{0, 1}, {0, 3}, {0, 2}, {1, 2}, {1, 3}, {2, 3}};
  EXPECT_EQ(listed, expected);
  // Forcing 0-1 removes it from the next listing.
  g.force(0, 1);
  root.computeCandidates();
  EXPECT_EQ(root.candidateCount(), 5);
}

TEST_F(SearchTreeTest, UndecidedGraphWithoutUnforcedEdgesHasNoCandidates) {
  // Every edge forced on the node level only, so the verdict stays 2.
  Graph g = cycleGraph(6);
  for (int32_t i = 0; i < 6; ++i) Node::setUncut(g.node(i), g.node((i + 1) % 6));
  ASSERT_EQ(g.isHamiltonian, kUndecided);
  std::ostringstream out;  // the probe says it found no cuttable neighbour
  ScopedDiagnosticStream capture(out);
  for (bool minimal : {false, true}) {
    SearchTreeNode root(g, 5, SearchTreeRun{0, minimal, nullptr, {}});
    root.computeCandidates();
    EXPECT_EQ(root.candidateCount(), 0) << "minimal " << minimal;
    EXPECT_EQ(root.nextChild(), -1);
  }
  Graph copy(g);
  EXPECT_EQ(randomForcingProbe(copy).count, 0) << "the probe ends at once instead of drawing forever";
}

TEST_F(SearchTreeTest, MinimalCandidatesAreAForcingSequenceThatDecidesACopy) {
  Graph g = makeGraph(36, testing::knightEdges(6, 6));
  rootInitialPruning(g);
  CutSequence best = findMinimalForcingSequence(g);
  ASSERT_GT(best.count, 0);
  EXPECT_EQ(best.count, static_cast<int32_t>(best.pairs.size()));
  // Replaying the pairs on a copy forces only existing, unforced edges and decides it.
  Graph copy(g);
  for (const CutPair& p : best.pairs) {
    ASSERT_TRUE(copy.isAdjacent(p.first, p.second));
    ASSERT_FALSE(copy.isUncuttableEdge(p.first, p.second));
    copy.force(p.first, p.second);
  }
  EXPECT_NE(copy.isHamiltonian, kUndecided);
  EXPECT_EQ(g.isHamiltonian, kUndecided);  // the probes ran on copies
  // The sequence kept is the shortest of the probes: replay them from the same seed.
  enableFixedSeed(12345);
  Graph h = makeGraph(36, testing::knightEdges(6, 6));
  rootInitialPruning(h);
  int32_t shortest = 1000000000;
  int32_t longest = 0;
  for (int32_t probe = 0; probe < kForcingProbes; ++probe) {
    Graph probed(h);
    const int32_t count = randomForcingProbe(probed).count;
    shortest = std::min(shortest, count);
    longest = std::max(longest, count);
  }
  EXPECT_EQ(best.count, shortest);
  EXPECT_LT(shortest, longest);
}

// ---------------------------------------------------------------------------------------
// The walk, step by step: forcing after a non-Hamiltonian child, the restart, and the
// rule that a closed candidate is never tried.

struct WalkLog {
  int64_t nodes = 0;
  int64_t restarts = 0;
};

// The same depth-first walk as runSearchTree, with checks at every step.
HamiltonicityState checkedWalk(Graph& graph, int32_t depth, const SearchTreeRun& run, WalkLog& log) {
  std::vector<std::unique_ptr<SearchTreeNode>> path;
  std::vector<int32_t> builtFor;
  path.push_back(std::make_unique<SearchTreeNode>(graph, depth, run));
  path.back()->start();
  log.nodes = 1;
  for (;;) {
    SearchTreeNode& top = *path.back();
    int32_t i = top.nextChild();
    if (i >= 0) {
      // The candidate is open and its edge exists, unforced, in the parent.
      EXPECT_TRUE(top.candidateOpen(i));
      EXPECT_TRUE(top.graph().isAdjacent(top.candidateU(i), top.candidateV(i)));
      EXPECT_FALSE(top.graph().isUncuttableEdge(top.candidateU(i), top.candidateV(i)));
      path.push_back(std::make_unique<SearchTreeNode>(top, top.candidateU(i), top.candidateV(i)));
      builtFor.push_back(i);
      path.back()->start();
      ++log.nodes;
      continue;
    }
    if (path.size() == 1) break;
    top.finish(false);
    std::unique_ptr<SearchTreeNode> done = std::move(path.back());
    path.pop_back();
    int32_t index = builtFor.back();
    builtFor.pop_back();
    SearchTreeNode& parent = *path.back();
    HamiltonicityState childVerdict = done->verdict();
    int32_t u = parent.candidateU(index);
    int32_t v = parent.candidateV(index);
    parent.acceptChild(index, *done);
    if (childVerdict == kNotHamiltonian) {
      EXPECT_FALSE(parent.candidateOpen(index));
      if (parent.verdict() != kNotHamiltonian) {
        EXPECT_TRUE(parent.graph().isUncuttableEdge(u, v));
      }
      if (parent.verdict() == kUndecided) {
        int32_t firstOpen = -1;
        for (int32_t k = 0; k < parent.candidateCount(); ++k) {
          if (parent.candidateOpen(k)) {
            // Every candidate still open is an existing unforced edge.
            EXPECT_TRUE(parent.graph().isAdjacent(parent.candidateU(k), parent.candidateV(k)));
            EXPECT_FALSE(parent.graph().isUncuttableEdge(parent.candidateU(k), parent.candidateV(k)));
            if (firstOpen < 0) firstOpen = k;
          }
        }
        // The scan restarts at the first open candidate.
        if (firstOpen >= 0 && firstOpen < index) ++log.restarts;
        if (firstOpen >= 0 && !run.abort.requested()) {
          SearchTreeNode& p = *path.back();
          EXPECT_EQ(p.nextChild(), firstOpen);
        }
      }
    } else if (childVerdict == kHamiltonian) {
      EXPECT_EQ(parent.verdict(), kHamiltonian);
    }
  }
  path.front()->finish(false);
  return path.front()->verdict();
}

TEST_F(SearchTreeTest, NonHamiltonianChildMakesTheParentForceAndRestart) {
  // With a depth limit some children stay undecided, so a later forcing sends the scan
  // back to an earlier open candidate.
  // Minimal children (level 3 only) keep the same rules.
  WalkLog total;
  for (int32_t level : {0, 1, 3, 4}) {
    for (int32_t depth : {1, 3, 1000}) {
      for (bool minimal : {false, true}) {
        if (minimal && (level != 3 || depth != 1000)) continue;
        Graph g = generalizedPetersen(11, 2);
        WalkLog log;
        SearchTreeRun run{level, minimal, nullptr, {}};
        HamiltonicityState verdict = checkedWalk(g, depth, run, log);
        if (depth == 1000) {
          EXPECT_EQ(verdict, kNotHamiltonian) << "level " << level;
          EXPECT_GT(log.nodes, 1);
        }
        EXPECT_NE(verdict, kHamiltonian);
        if (minimal) continue;
        total.restarts += log.restarts;
      }
    }
  }
  EXPECT_GT(total.restarts, 0) << "the scenario above did happen";
}

// ---------------------------------------------------------------------------------------
// Cycles and known answers

TEST_F(SearchTreeTest, ChildCycleEndsTheSearchAndIsWrittenByTheRoot) {
  Graph g = completeGraph(4);
  auto path = std::filesystem::temp_directory_path() / "cohc_k4-HC.txt";
  std::filesystem::remove(path);
  g.outputFileName = path.string();
  CohcOptions o = options(0, false);
  o.writeCycleFile = true;
  CohcResult r = runCoHC(g, o);
  EXPECT_EQ(r.verdict, kHamiltonian);
  EXPECT_EQ(r.treeNodes, 2);  // no sibling after the cycle
  EXPECT_EQ(r.cycle.front(), 0);
  // The root holds the child's graph, and writes it: one cycle of degree-2 nodes.
  std::ifstream in(path);
  std::string line;
  int lines = 0;
  while (std::getline(in, line)) ++lines;
  EXPECT_EQ(lines, 4);
  std::filesystem::remove(path);
  for (int32_t i = 0; i < 4; ++i) EXPECT_EQ(g.node(i).degree, 2);
  // The child was solved with its four cycle edges forced.
  EXPECT_EQ(r.statistics->forcedEdges[1], 4.0);
  EXPECT_EQ(r.statistics->totalSolved(), 2.0);

  Graph c5 = cycleGraph(5);  // no output name: nothing is written
  CohcResult closed = runCoHC(c5, o);
  EXPECT_EQ(closed.treeNodes, 1);  // the initial pruning closes C5
  EXPECT_EQ(closed.cycle, (std::vector<int32_t>{0, 1, 2, 3, 4}));
}

TEST_F(SearchTreeTest, KnownAnswersAtEveryLevel) {
  struct Case {
    std::string name;
    Graph graph;
    int32_t maxLevel;
  };
  std::vector<Case> cases;
  cases.push_back({"K4", completeGraph(4), 5});
  cases.push_back({"C5", cycleGraph(5), 5});
  cases.push_back({"knight 6x6", makeGraph(36, testing::knightEdges(6, 6)), sanitized() ? 4 : 5});
  cases.push_back({"Petersen", petersen(), 6});
  // GP(n, 2) is non-Hamiltonian exactly when n = 5 mod 6.
  for (int32_t n : {6, 7, 8, 9, 11}) cases.push_back({"GP(" + std::to_string(n) + ",2)", generalizedPetersen(n, 2), 3});
  for (Case& c : cases) {
    const bool hamiltonian = c.name != "Petersen" && c.name != "GP(11,2)";
    const auto edges = currentEdges(c.graph);
    for (int32_t level = c.maxLevel == 3 ? 3 : 0; level <= c.maxLevel; ++level) {
      for (bool minimal : {false, true}) {
        Graph g(c.graph);
        CohcResult r = runCoHC(g, options(level, minimal));
        EXPECT_EQ(r.verdict, hamiltonian ? kHamiltonian : kNotHamiltonian)
            << c.name << " level " << level << " minimal " << minimal;
        if (hamiltonian) {
          EXPECT_TRUE(isHamiltonianCycleOf(r.cycle, g.howManyNodes, edges)) << c.name << " " << level;
        }
        EXPECT_EQ(r.statistics->solved[0], 1.0);
        EXPECT_EQ(r.statistics->totalStarted(), static_cast<double>(r.treeNodes));
      }
    }
  }
}

// ---------------------------------------------------------------------------------------
// Statistics of a whole proof

TEST_F(SearchTreeTest, StatisticsOfThePetersenProofAtLevelFour) {
  // By hand: the root survives Look Ahead Sequencing; its first child (0-1 deleted) is
  // refuted; forcing 0-1 then refutes the root. With a clock ticking 1 s per reading: root
  // starts at 1, the child at 2 and is solved at 3, the root is solved at 4.
  auto stats = std::make_shared<SearchTreeStatistics>();
  double tick = 0.0;
  stats->clock = [&tick] { return tick += 1.0; };
  Graph g = petersen();
  CohcResult r = runCoHC(g, options(4, false), nullptr, nullptr, stats);
  ASSERT_EQ(r.verdict, kNotHamiltonian);
  EXPECT_EQ(r.treeNodes, 2);
  const SearchTreeStatistics& s = *stats;
  auto firstThree = [](const std::vector<double>& a) { return std::vector<double>(a.begin(), a.begin() + 3); };
  EXPECT_EQ(firstThree(s.started), (std::vector<double>{1, 1, 0}));
  EXPECT_EQ(firstThree(s.solved), (std::vector<double>{1, 1, 0}));
  EXPECT_EQ(firstThree(s.longestTime), (std::vector<double>{3, 1, 0}));  // whole ticks: exact
  EXPECT_EQ(firstThree(s.averageTime), (std::vector<double>{3, 1, 0}));
  EXPECT_EQ(std::tuple(s.deepestStartedDepth, s.deepestSolvedDepth, s.mostSolved), std::tuple(1, 1, 1));
  EXPECT_EQ(std::pair(s.longestTimeOverall, s.largestAverageTime), std::pair(3.0, 3.0));
  EXPECT_EQ(s.forcedEdges[0], g.howManyUncuttable);  // the root's graph as it ended
}

// ---------------------------------------------------------------------------------------
// Aborts

// A listener that counts starts, those after the flag went down, and may clear the flag.
struct FlagWatcher : SearchTreeListener {
  std::atomic<uint8_t>* flag = nullptr;
  int clearAt = -1;
  int started = 0;
  int startedAfterStop = 0;
  void nodeStarted(const SearchTreeStatistics&, int32_t, bool) override {
    if (flag->load() == 0) ++startedAfterStop;
    if (++started == clearAt) flag->store(0);
  }
};

TEST_F(SearchTreeTest, ClearingTheFlagStopsBeforeTheNextChild) {
  // Cleared while the third tree node is being recorded: that node returns without
  // children and no further node is created.
  std::atomic<uint8_t> keepRunning{1};
  FlagWatcher watcher;
  watcher.flag = &keepRunning;
  watcher.clearAt = 3;
  Graph g = generalizedPetersen(17, 2);
  CohcResult r = runCoHC(g, options(1, false), &keepRunning, &watcher);
  EXPECT_EQ(std::tuple(r.aborted, r.timedOut, r.verdict, r.treeNodes, watcher.startedAfterStop),
            std::tuple(true, false, kUndecided, 3, 0));
  // Cleared before the run: the root is pruned and its start recorded, nothing more, so even
  // a root that its initial pruning decided is not recorded as solved.
  std::atomic<uint8_t> cleared{0};
  Graph h = generalizedPetersen(17, 2);
  CohcResult r2 = runCoHC(h, options(5, true), &cleared);
  EXPECT_TRUE(r2.aborted);
  EXPECT_EQ(r2.treeNodes, 1);
  Graph pendant = squareWithPendant();
  CohcResult r3 = runCoHC(pendant, options(0, false), &cleared);
  EXPECT_EQ(r3.verdict, kNotHamiltonian);
  EXPECT_EQ(std::pair(r3.statistics->started[0], r3.statistics->solved[0]), std::pair(1.0, 0.0));
}

TEST_F(SearchTreeTest, FlagClearedFromAnotherThreadOrATimeLimitEndsALongRun) {
  // GP(59, 2) at level 1 takes far longer than the wait below (about a minute).
  std::atomic<uint8_t> keepRunning{1};
  FlagWatcher watcher;
  watcher.flag = &keepRunning;
  Graph g = generalizedPetersen(59, 2);
  std::thread stopper([&keepRunning] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    keepRunning.store(0);
  });
  CohcResult r = runCoHC(g, options(1, false), &keepRunning, &watcher);
  stopper.join();
  EXPECT_TRUE(r.aborted);
  EXPECT_EQ(r.verdict, kUndecided);
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
  auto all = currentEdges(g);
  CohcResult r;
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  pthread_attr_setstacksize(&attr, 256 * 1024);
  struct Job {
    Graph* g;
    CohcResult* r;
  } job{&g, &r};
  pthread_t thread;
  ASSERT_EQ(pthread_create(
                &thread, &attr,
                [](void* p) -> void* {
                  auto* j = static_cast<Job*>(p);
                  *j->r = runCoHC(*j->g, options(0, false));
                  return nullptr;
                },
                &job),
            0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attr);
  EXPECT_EQ(r.verdict, kHamiltonian);
  EXPECT_TRUE(isHamiltonianCycleOf(r.cycle, n, all));
  EXPECT_GE(r.deepestDepth, sanitized() ? 200 : 900);
  EXPECT_EQ(r.statistics->deepestStartedDepth, r.deepestDepth);
}

}  // namespace
}  // namespace hc
