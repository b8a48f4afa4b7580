// Forcing at degree-two nodes, the two chain models (the scan-model builder and the legacy
// degree-two chains) and the scans that read them (lightning, HeadHunter, and their legacy
// forms): known answers with their exact verbose lines, what the builders leave on every chain
// member, what each scan cuts and forces and what it leaves alone, silence at verbose 0.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <tuple>

#include "check_graphs.h"
#include "checks/chain_building.h"
#include "checks/legacy_chains.h"
#include "checks/scans.h"
#include "core/graph_invariants.h"
#include "core/random.h"

namespace hc {
namespace {

using namespace hc::testing;

constexpr const char* kSet =
    "About to set uncuttabilities.\nIsHamiltonian still = 2 after setting uncuttabilities.\n"
    "About to build chains.\n";
constexpr const char* kNone = "IsHamiltonian still = 2 after building 0 chains.\n";
// Two K4 blocks joined by two paths 0-8-4 and 1-9-10-5 (no heads adjacent), and a 5-cycle plus
// the chord 0-2.
const EdgeList kBlocks =
    joined(joined(completeEdges(0, 4), completeEdges(4, 4)), {{0, 8}, {8, 4}, {1, 9}, {9, 10}, {10, 5}});
const EdgeList kChord = joined(cycleEdges(0, 5), {{0, 2}});

TEST(ChainBuilding, KnownAnswersOfBothModelsAndTheirLines) {
  struct Case {
    const char* name;
    int32_t n;
    EdgeList edges;
    HamiltonicityState start;
    const char* chains;
    HamiltonicityState verdict;
    int32_t forced;
    int32_t hubs;
    std::string text;
    const char* legacy;                // the legacy chains, which leave a verdict to their caller unless
    HamiltonicityState legacyVerdict;  // one chain runs through every node
    bool forcing = true;               // false: chains built without setting uncuttabilities first
  };
  const EdgeList path{{0, 1}, {1, 2}, {2, 3}, {3, 4}};
  const EdgeList hub{{0, 1}, {0, 2}, {0, 3}, {1, 4}, {2, 4}, {3, 5}, {4, 5}};
  const std::string hubLines =
      "About to set uncuttabilities.\nSetting uncuttabilities showed the graph to be non-Hamiltonian.\n"
      "About to build chains.\n";
  const Case cases[] = {
      {"5-cycle", 5, cycleEdges(0, 5), kUndecided, "0-0:5", kHamiltonian, 5, 0,
       std::string(kSet) + "Building chains found a HC.\n", "0-0:5", kHamiltonian},
      {"path", 5, path, kUndecided, "0-4:5", kNotHamiltonian, 4, 0,
       std::string(kSet) + "Building chains found a disjoint chain.\n", "0-4:5", kNotHamiltonian},
      // The scan model records only the first ring, the legacy one every ring.
      {"two triangles", 6, joined(cycleEdges(0, 3), cycleEdges(3, 3)), kUndecided, "0-0:3R 3-3:3",
       kNotHamiltonian, 6, 0, std::string(kSet) + "Building chains found the graph to be non-Hamiltonian.\n",
       "0-0:3R 3-3:3R", kUndecided},
      {"hub", 6, hub, kUndecided, "", kNotHamiltonian, 6, 1, hubLines + kNone, "0-4:1 0-4:1 0-4:4",
       kUndecided},
      {"blocks", 11, kBlocks, kUndecided, "0-4:3 1-5:4", kUndecided, 5, 0,
       std::string(kSet) + "IsHamiltonian still = 2 after building 2 chains.\n", "0-4:3 1-5:4", kUndecided},
      {"K4", 4, completeEdges(0, 4), kUndecided, "", kUndecided, 0, 0, std::string(kSet) + kNone, "",
       kUndecided},
      {"no edges", 3, {}, kUndecided, "", kUndecided, 0, 0, std::string(kSet) + kNone, "", kUndecided},
      {"no nodes", 0, {}, kUndecided, "", kUndecided, 0, 0, std::string(kSet) + kNone, "", kUndecided},
      {"decided", 5, cycleEdges(0, 5), kNotHamiltonian, "", kNotHamiltonian, 0, 0, std::string(kSet) + kNone,
       nullptr, kUndecided},
      // Unforced K(2,4): four chains on six nodes, more than the three slots a pruned graph
      // needs. The two hubs keep the index of the last chain built through them.
      {"K(2,4) unforced", 6, completeBipartiteEdges(2, 4), kUndecided, "0-1:1 0-1:1 0-1:1 0-1:3", kUndecided,
       0, 0, "About to build chains.\nIsHamiltonian still = 2 after building 4 chains.\n", nullptr,
       kUndecided, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Graph g = makeGraph(c.n, c.edges);
    g.isHamiltonian = c.start;
    ActionList list;
    CapturedDiagnostics out;
    if (c.forcing) setUncuttabilities(g, 1);
    buildChains(g, 1, &list);
    EXPECT_EQ(std::tuple(chainList(g), g.isHamiltonian, g.howManyUncuttable, g.howManyHubs, out.text()),
              std::tuple(c.chains, c.verdict, c.forced, c.hubs, c.text));
    // Only the first ring is recorded, in the list it was given.
    EXPECT_TRUE(g.maxChains >= g.howManyChains && list.count() == g.howManyRings &&
                (list.count() != 1 || (list.at(0).kind == kActionRing && list.at(0).args[0] == 0)))
        << list.count();
    list.clear();
    if (c.verdict == kUndecided && c.forcing) {
      // Every member is tagged, and building again changes nothing.
      EXPECT_EQ(checkInvariants(g, InvariantOptions{false}), "");
      const std::string once = snapshot(g);
      buildChains(g, 0, nullptr);
      EXPECT_EQ(snapshot(g), once);
    }
    if (c.legacy == nullptr) continue;
    Graph legacy = makeGraph(c.n, c.edges);
    clearChains(legacy);
    buildDegreeTwoChains(legacy);
    EXPECT_EQ(std::tuple(chainList(legacy), legacy.isHamiltonian, legacy.howManyRings),
              std::tuple(c.legacy, c.legacyVerdict, std::count(c.legacy, c.legacy + strlen(c.legacy), 'R')));
    clearChains(legacy);
    legacy.isHamiltonian = kUndecided;
    EXPECT_EQ(snapshot(legacy), snapshot(makeGraph(c.n, c.edges)));
  }
}

TEST(LegacyChains, OldCutAndScans) {
  // The chord 0-2 between two legacy heads: one new forced edge at each end.
  Graph chord = makeGraph(5, kChord);
  clearChains(chord);
  buildDegreeTwoChains(chord);
  // Cutting 2-3 in K4 leaves two ends of degree 2 that are no heads: two new forced edges at each.
  Graph k4 = makeGraph(4, completeEdges(0, 4));
  const std::string notAdjacent =
      "Error.  Attempt to do a probabilityMillOldCut on two nodes which are not adjacent.\n";
  for (auto [g, a, b, forced, lines] : {std::tuple{k4, 2, 3, 4, std::string()},
                                        {chord, 0, 2, 2, std::string()},
                                        {makeGraph(5, cycleEdges(0, 5)), 0, 2, 0, notAdjacent}}) {
    const std::string before = snapshot(g);
    const int32_t edges = g.howManyEdges;
    CapturedDiagnostics out;
    probabilityMillOldCut(g, a, b);
    EXPECT_EQ(
        std::tuple(out.text(), g.howManyUncuttable, g.howManyHubs, g.howManyEdges, currentEdges(g).size(),
                   g.node(a).howManyUncuttable + g.node(b).howManyUncuttable, g.isAdjacent(a, b)),
        std::tuple(lines, forced, 0, edges - (forced == 0 ? 0 : 1),
                   static_cast<size_t>(edges - (forced == 0 ? 0 : 1)), forced == 0 ? 0 : 4, false));
    EXPECT_TRUE(forced != 0 || snapshot(g) == before);  // cutting nothing lowers no count either
  }

  seedRandom(3);
  // The legacy chains of kChord have adjacent heads 0 and 2.
  Graph g = makeGraph(5, kChord);
  clearChains(g);
  lightningOld(g);
  buildDegreeTwoChains(g);
  headHunterOld(g);
  EXPECT_EQ(std::tuple(g.isAdjacent(0, 2), g.howManyEdges, g.isHamiltonian),
            std::tuple(false, 5, kHamiltonian));

  // lightningOld cuts a degree-4 node with two forced edges down to them.
  Graph h = makeGraph(6, {{0, 1}, {0, 2}, {0, 3}, {0, 4}, {1, 2}, {3, 4}, {3, 5}, {4, 5}, {1, 5}, {2, 5}});
  for (int32_t w : {1, 2}) Node::setUncut(h.node(0), h.node(w));
  lightningOld(h);
  // 3 and 4 drop to degree 2, which forces two edges at 5, which loses its other two.
  EXPECT_EQ(std::tuple(h.node(0).degree, h.node(5).degree, h.howManyEdges, currentEdges(h).size()),
            std::tuple(2, 2, 6, size_t{6}));
}

Graph withChains(Graph g) {
  setUncuttabilities(g, 0);
  buildChains(g, 0, nullptr);
  return g;
}

TEST(Scans, KnownAnswersWithTheirLines) {
  // Heads 0 and 1 of the chain 0-2-1 are adjacent.
  const Graph headHunter = withChains(
      makeGraph(6, {{0, 2}, {2, 1}, {0, 1}, {0, 3}, {0, 4}, {1, 3}, {1, 5}, {3, 4}, {4, 5}, {3, 5}}));
  Graph forcedPartner = headHunter;
  Node::setUncut(forcedPartner.node(0), forcedPartner.node(1));  // as a 2-edge-cut forcing would
  // Node 0 (degree 3) is forced to 1 and 2; cutting 0-3 leaves node 3 with degree 1 and too
  // few edges: edges 5 < nodes 6 after the cut.
  Graph pendant = makeGraph(6, {{0, 1}, {0, 2}, {0, 3}, {1, 2}, {3, 4}, {4, 5}});
  for (int32_t w : {1, 2}) Node::setUncut(pendant.node(0), pendant.node(w));
  // Node 0 of degree 4 whose edges to 1 and 2 are forced; 3 has degree 3.
  Graph twoForced = makeGraph(8, {{0, 1},
                                  {0, 2},
                                  {0, 3},
                                  {0, 4},
                                  {1, 5},
                                  {1, 7},
                                  {2, 6},
                                  {2, 7},
                                  {3, 5},
                                  {3, 6},
                                  {4, 5},
                                  {4, 6},
                                  {4, 7},
                                  {5, 6},
                                  {6, 7}});
  for (int32_t w : {1, 2}) Node::setUncut(twoForced.node(0), twoForced.node(w));
  twoForced.howManyUncuttable = 2;
  Graph decided(twoForced);
  decided.isHamiltonian = kNotHamiltonian;
  const std::string runL = "About to run lightning.\n", runH = "About to run HeadHunter.\n";
  const std::string stillL = runL + "IsHamiltonian still = 2 after running lightning.\n";
  const char* kLightningRejects = "Lightning caused the graph to become non-Hamiltonian the graph.\n";
  const char* kHeadHunterSolves = "HeadHunter found a HC.\n";
  const std::string stillH = runH + "IsHamiltonian still = 2 after running HeadHunter.\n";
  // Name, graph, scan, verdict, edges removed (not checked on a rejection), forced edge ends, lines.
  std::tuple<const char*, Graph, void (*)(Graph&, int16_t), HamiltonicityState, EdgeSet, int32_t, std::string>
      cases[] = {
          // Node 0 loses its unforced edges; node 3 is left with degree 2, both edges forced.
          {"lightning", twoForced, &lightning, kUndecided, {{0, 3}, {0, 4}}, 4, stillL},
          {"adjacent heads", headHunter, &HeadHunter, kUndecided, {{0, 1}}, 2, stillH},
          // In particular no complaint about cutting a forced edge.
          {"forced partner edge", forcedPartner, &HeadHunter, kUndecided, {}, 2, stillH},
          {"heads apart", withChains(makeGraph(11, kBlocks)), &HeadHunter, kUndecided, {}, 5, stillH},
          {"pendant", pendant, &lightning, kNotHamiltonian, {}, 0, runL + kLightningRejects},
          // A 5-cycle plus the chord 0-2; the chain 2-3-4-0 has adjacent heads 0 and 2 and so does
          // the chain 0-1-2. Cutting the chord leaves the cycle.
          {"chord",
           withChains(makeGraph(5, kChord)),
           &HeadHunter,
           kHamiltonian,
           {{0, 2}},
           5,
           runH + kHeadHunterSolves},
          {"decided", decided, &lightning, kNotHamiltonian, {}, 2, runL},
          {"decided", decided, &HeadHunter, kNotHamiltonian, {}, 2, runH},
      };
  for (auto& [name, g, scan, verdict, expectedRemoved, forced, lines] : cases) {
    SCOPED_TRACE(name);
    Graph quiet(g);
    const std::string before = snapshot(g);
    const HamiltonicityState start = g.isHamiltonian;
    CapturedDiagnostics out;
    seedRandom(7);
    scan(g, 1);
    EXPECT_EQ(std::tuple(g.isHamiltonian, out.text()), std::tuple(verdict, lines));
    EdgeSet removed;
    std::ranges::set_difference(currentEdges(quiet), currentEdges(g), std::inserter(removed, removed.end()));
    EXPECT_TRUE((verdict == kNotHamiltonian && start != kNotHamiltonian) ||
                (removed == expectedRemoved && g.howManyUncuttable == forced))
        << g.howManyUncuttable;
    EXPECT_TRUE(verdict != start || !removed.empty() || snapshot(g) == before);
    out.clear();
    seedRandom(7);
    scan(quiet, 0);
    EXPECT_EQ(std::tuple(out.text(), snapshot(quiet)), std::tuple("", snapshot(g)));
  }
}

}  // namespace
}  // namespace hc
