#include "schc/probability_mill.h"

#include <algorithm>
#include <vector>

#include "checks/chain_building.h"
#include "checks/legacy_chains.h"
#include "checks/necessary_conditions.h"
#include "checks/scans.h"
#include "core/diagnostics.h"
#include "core/random.h"
#include "lookahead/look_ahead_sequencing.h"
#include "lookahead/simulate_cut.h"
#include "schc/mill_hooks.h"

namespace hc {

bool isOfferedVersion(int32_t version) {
  return std::find(std::begin(kOfferedVersions), std::end(kOfferedVersions), version) !=
         std::end(kOfferedVersions);
}

void chooseMillEdge(Graph& graph, int32_t& v, int32_t& w) {
  if (graph.howManyChains > 0) {
    const int32_t c = nextRandom() % graph.howManyChains;
    const Chain& chain = graph.chains[static_cast<size_t>(c)];
    v = nextRandom() % 2 == 0 ? chain.head1 : chain.head2;
  } else {
    v = nextRandom() % graph.howManyNodes;
  }
  w = graph.node(v).findRandomCuttableNeighbor();
}

namespace {

// One step's choice for the versions that stop at a verdict. False when the iteration
// cannot go on: `stop` says so (a time limit, Stop, or another worker of the parallel mill
// found a cycle), or the chosen node has no unforced neighbour (impossible on a
// consistently pruned graph, but a step that can neither cut nor force would otherwise
// repeat for ever).
bool nextStep(Graph& graph, int32_t& v, int32_t& w, const StopToken* stop) {
  if (stopRequested(stop)) return false;
  chooseMillEdge(graph, v, w);
  return w != -1;
}

void cutCounted(Graph& graph, int32_t v, int32_t w) {
  graph.cut(v, w);
  ++graph.cutCount;
}

// The step's trial cut, shown to the observer with what the step will do.
HamiltonicityState trialStep(Graph& graph, int32_t v, int32_t w, int16_t withDC, int16_t withBiconnectivity) {
  const HamiltonicityState r = simulateCut(graph, v, w, withDC, withBiconnectivity);
  notifyMillStep(graph, v, w, r, r != kNotHamiltonian ? MillStepAction::kCut : MillStepAction::kForce);
  return r;
}

// Trial first; the edge is cut unless the trial found the graph non-Hamiltonian. False
// when the caller must deal with an edge that has to stay.
bool cutAfterTrial(Graph& graph, int32_t v, int32_t w, int16_t withDC, int16_t withBiconnectivity) {
  if (trialStep(graph, v, w, withDC, withBiconnectivity) == kNotHamiltonian) return false;
  cutCounted(graph, v, w);
  return true;
}

// A step without a trial: the chosen edge is cut.
void plainStep(Graph& graph, int32_t v, int32_t w) {
  notifyMillStep(graph, v, w, -1, MillStepAction::kCut);
  cutCounted(graph, v, w);
}

// The Variable LAS follow-up of a forced edge (versions 5, 13 and, for its trials, 11).
void fullLasAfterForce(Graph& graph, const StopToken* stop) {
  lookAheadSequencing(graph, 0, stop);
  if (graph.printLevel == 1) {
    diagnostic("Simulation forced an edge. Ran full sequencing. howManyUncuttable = ",
               graph.howManyUncuttable, "\n");
  }
  if (graph.isHamiltonian == kNotHamiltonian && graph.printLevel == 1) {
    diagnostic("Look Ahead Sequencing caused the graph to become non-Hamiltonian.\n");
  }
}

// A legacy-model step ends with this when an endpoint dropped to degree 2.
// The old versions' cut: when an end drops to degree 2, Lightning runs and the chains are
// built anew (true then).
bool oldCutAndRechain(Graph& graph, int32_t v, int32_t w) {
  probabilityMillOldCut(graph, v, w);
  ++graph.cutCount;
  if (graph.node(v).degree != 2 && graph.node(w).degree != 2) return false;
  lightningOld(graph);
  clearChains(graph);
  buildDegreeTwoChains(graph);
  return true;
}

}  // namespace

void probabilityMillLegacy(Graph& graph, const StopToken* stop) {
  std::vector<int32_t> candidates;
  candidates.reserve(static_cast<size_t>(graph.howManyNodes));
  while (graph.howManyEdges > graph.howManyUncuttable) {
    if (stopRequested(stop)) return;
    candidates.clear();
    int32_t least = graph.howManyNodes;
    auto consider = [&](int32_t id) {
      const int32_t degree = graph.node(id).degree;
      if (degree < least) {
        least = degree;
        candidates.clear();
      }
      if (degree == least) candidates.push_back(id);
    };
    if (graph.howManyChains > 0) {
      for (int32_t c = 0; c < graph.howManyChains; ++c) {
        const Chain& chain = graph.chains[static_cast<size_t>(c)];
        for (int32_t head : {chain.head1, chain.head2}) {
          if (head < 0) continue;
          const Node& n = graph.node(head);
          if (n.degree >= 3 && n.isHub == 0) consider(head);
        }
      }
    } else {
      for (int32_t id = 0; id < graph.howManyNodes; ++id) consider(id);
    }
    if (candidates.empty()) {
      graph.isHamiltonian = kNotHamiltonian;
      return;
    }
    const int32_t v = candidates[static_cast<size_t>(nextRandom() % static_cast<int32_t>(candidates.size()))];
    const int32_t w = graph.node(v).findRandomCuttableNeighbor();
    if (w == -1) return;  // nothing left to cut at v: the step could never make progress
    notifyMillStep(graph, v, w, -1, MillStepAction::kCut);
    if (oldCutAndRechain(graph, v, w)) {
      if (graph.howManyHubs < 1 && graph.howManyRings < 1) {
        headHunterOld(graph);
      } else {
        graph.isHamiltonian = kNotHamiltonian;
      }
    }
  }
}

void probabilityMillStopOnErrors(Graph& graph, int16_t withLookAhead, const StopToken* stop) {
  int32_t v = -1;
  int32_t w = -1;
  while (graph.isHamiltonian == kUndecided && nextStep(graph, v, w, stop)) {
    notifyMillStep(graph, v, w, -1, MillStepAction::kCut);
    graph.cutAndForce(v, w);
    ++graph.cutCount;
    if (graph.printLevel >= 2) {
      graph.printIndent();
      diagnostic("Just made cut # ", graph.cutCount,
                 " in old PM stop on errors. howManyUncuttable = ", graph.howManyUncuttable, "\n");
    }
    checkEnoughEdges(graph, 0);
    lightning(graph, 0);
    buildChains(graph, 0, nullptr);
    HeadHunter(graph, 0);
    if (withLookAhead == 1) initialPruningLookAheadSequencing(graph, 0, 2, stop);
  }
}

void probabilityMillPlain(Graph& graph, const StopToken* stop) {
  int32_t v = -1;
  int32_t w = -1;
  while (graph.isHamiltonian == kUndecided && nextStep(graph, v, w, stop)) plainStep(graph, v, w);
}

namespace {

// Single and Variable LAS: a fatal trial forces the edge; the variable kind then runs the
// full sequencing while the graph is still undecided.
void lasMill(Graph& graph, int16_t withBiconnectivity, bool sequenceAfterForce, const StopToken* stop) {
  int32_t v = -1;
  int32_t w = -1;
  while (graph.isHamiltonian == kUndecided && nextStep(graph, v, w, stop)) {
    if (cutAfterTrial(graph, v, w, 0, withBiconnectivity)) continue;
    ++graph.simulationForceCount;
    graph.force(v, w);
    if (sequenceAfterForce && graph.isHamiltonian == kUndecided) fullLasAfterForce(graph, stop);
  }
}

}  // namespace

void probabilityMillSingleLas(Graph& graph, int16_t withBiconnectivity, const StopToken* stop) {
  lasMill(graph, withBiconnectivity, false, stop);
}

void probabilityMillVariableLas(Graph& graph, int16_t withBiconnectivity, const StopToken* stop) {
  lasMill(graph, withBiconnectivity, true, stop);
}

bool thresholdReached(const Graph& graph) {
  const double ratio = static_cast<double>(graph.howManyUncuttable) / static_cast<double>(graph.howManyNodes);
  const double threshold = graph.graphType == 50 && graph.howManyNodes >= 100000 ? 0.98 : 0.95;
  return ratio > threshold;
}

void probabilityMillThresholdLas(Graph& graph, const StopToken* stop) {
  int stage = 6;
  int32_t v = -1;
  int32_t w = -1;
  while (graph.isHamiltonian == kUndecided && nextStep(graph, v, w, stop)) {
    plainStep(graph, v, w);
    if (stage == 6 && thresholdReached(graph)) {
      diagnostic("ThreshHold reached. howManyUncuttable = ", graph.howManyUncuttable, "\n");
      stage = 7;
    }
    if (graph.printLevel >= 2) {
      graph.printIndent();
      diagnostic("It # ", graph.iterationCount, " Cut # ", graph.cutCount,
                 " in new PM. howManyUncuttable = ", graph.howManyUncuttable, "\n");
    }
    if (stage != 7) continue;
    if (graph.isHamiltonian != kUndecided) break;
    if (graph.version == 6) graph.printLevel = 2;
    lookAheadSequencing(graph, 0, stop);
    if (graph.isHamiltonian == kNotHamiltonian) {
      diagnostic("LookAhead Sequencing caused the graph to become non-Hamiltonian.\n\n");
    }
  }
}

void probabilityMillFullLas(Graph& graph, const StopToken* stop) {
  int32_t v = -1;
  int32_t w = -1;
  while (graph.isHamiltonian == kUndecided && nextStep(graph, v, w, stop)) {
    plainStep(graph, v, w);
    graph.printIndent();
    diagnostic("It # ", graph.iterationCount + 1, " Cut # ", graph.cutCount,
               " in new PM. howManyUncuttable = ", graph.howManyUncuttable, "\n");
    if (graph.isHamiltonian != kUndecided) break;
    lookAheadSequencing(graph, 0, stop);
    if (graph.isHamiltonian == kNotHamiltonian) {
      graph.printIndent();
      diagnostic("LookAhead Sequencing caused the graph to become non-Hamiltonian.\n");
    }
  }
}

namespace {

void disjunctionCutLine(Graph& graph) {
  graph.printIndent();
  diagnostic("PM It # ", graph.iterationCount + 1, " Cut # ", graph.cutCount,
             " in new PM. howManyUncuttable = ", graph.howManyUncuttable, "\n");
}

// The disjunction walk: an edge whose trial fails is cut; any other is forced and
// `forced(v, w)` runs after it, whose false ends the walk.
template <class Forced>
void disjunctionWalk(Graph& graph, const StopToken* stop, Forced forced) {
  int32_t v = -1;
  int32_t w = -1;
  while (graph.isHamiltonian == kUndecided && nextStep(graph, v, w, stop)) {
    if (cutAfterTrial(graph, v, w, 1, 0)) {
      disjunctionCutLine(graph);
      continue;
    }
    if (!forced(v, w)) break;
  }
}

}  // namespace

void probabilityMillSingleDisjunction(Graph& graph, const StopToken* stop) {
  disjunctionWalk(graph, stop, [&graph](int32_t v, int32_t w) {
    ++graph.simulationForceCount;
    graph.force(v, w);
    graph.printIndent();
    diagnostic("Single Disjunction Lookahead forced an edge. howManyUncuttable = ", graph.howManyUncuttable,
               "\n");
    return true;
  });
}

void probabilityMillVariableDisjunction(Graph& graph, const StopToken* stop) {
  disjunctionWalk(graph, stop, [&graph, stop](int32_t v, int32_t w) {
    graph.force(v, w);
    if (graph.isHamiltonian != kUndecided) return false;
    lookAheadSequencing(graph, 1, stop);
    if (graph.printLevel >= 1) {
      diagnostic("Simulation forced an edge. Ran Full Disjunction Sequencing. howManyUncuttable = ",
                 graph.howManyUncuttable, "\n");
    }
    if (graph.isHamiltonian == kNotHamiltonian && graph.printLevel == 1) {
      diagnostic("Disjunction Look Ahead Sequencing caused the graph to become non-Hamiltonian.\n");
    }
    return true;
  });
}

std::unique_ptr<CutSequence> probabilityMillCutSequence(Graph& graph, const StopToken* stop) {
  auto sequence = std::make_unique<CutSequence>();
  int32_t v = -1;
  int32_t w = -1;
  while (graph.isHamiltonian == kUndecided && nextStep(graph, v, w, stop)) {
    sequence->add(v, w);
    if (cutAfterTrial(graph, v, w, 1, 0)) continue;
    graph.force(v, w);
    if (graph.isHamiltonian != kUndecided) break;
    lookAheadSequencing(graph, 0, stop);
    diagnostic("Simulation forced an edge. Ran full sequencing. howManyUncuttable = ",
               graph.howManyUncuttable, "\n");
    if (graph.isHamiltonian == kNotHamiltonian) {
      diagnostic("Look Ahead Sequencing caused the graph to become non-Hamiltonian.\n");
    }
  }
  sequence->percentage = graph.howManyNodes > 0 ? graph.howManyUncuttable * 100.0 / graph.howManyNodes : 0.0;
  diagnostic("The cut sequence has ", sequence->count, " edges.\n");
  return sequence;
}

namespace {

// The node draw of version 11: ids until one with fewer than two forced edges turns up.
// The draw cannot succeed when no drawable node qualifies (every node has two forced
// edges, or the only ones left lie beyond the generator's 0..32767), so after every
// howManyNodes failures the nodes are checked once; -1 when none qualifies. The draws
// themselves are those of the plain loop, so the random sequence is unchanged.
int32_t drawLegacyNode(const Graph& graph) {
  const int32_t n = graph.howManyNodes;
  const int32_t reachable = std::min(n, 32768);
  int32_t failures = 0;
  for (;;) {
    const int32_t v = nextRandom() % n;
    if (graph.node(v).howManyUncuttable < 2) return v;
    if (++failures < n) continue;
    failures = 0;
    bool any = false;
    for (int32_t id = 0; id < reachable && !any; ++id) any = graph.node(id).howManyUncuttable < 2;
    if (!any) return -1;
  }
}

// The legacy trial: a trial cut judged by hubs first, a ring counting as undecided.
HamiltonicityState legacyTrial(Graph& graph, int32_t v, int32_t w) {
  if (graph.isHamiltonian != kUndecided) {
    diagnostic("Error: At top of simulate cut but isHamiltonian = ", graph.isHamiltonian, "\n");
  }
  HamiltonicityState verdict;
  {
    ScopedActionList trial(graph);
    graph.cut(v, w);
    if (graph.howManyHubs > 0) {
      verdict = kNotHamiltonian;
    } else if (graph.howManyRings > 0) {
      verdict = kUndecided;
    } else {
      verdict = graph.isHamiltonian;
    }
    graph.undoActions();
    graph.isHamiltonian = kUndecided;
  }
  return verdict;
}

}  // namespace

void probabilityMillLegacyVariableLas(Graph& graph, const StopToken* stop) {
  if (graph.howManyNodes <= 0) return;
  while (graph.howManyEdges > graph.howManyUncuttable) {
    if (stopRequested(stop)) return;
    const int32_t v = drawLegacyNode(graph);
    if (v == -1) return;  // no node can be drawn any more: end the iteration
    const int32_t w = graph.node(v).findRandomCuttableNeighbor();
    if (w == -1) return;
    const HamiltonicityState r = legacyTrial(graph, v, w);
    notifyMillStep(graph, v, w, r, r == kNotHamiltonian ? MillStepAction::kForce : MillStepAction::kCut);
    if (r == kNotHamiltonian) {
      ++graph.simulationForceCount;
      graph.force(v, w);
      if (graph.isHamiltonian == kUndecided) fullLasAfterForce(graph, stop);
      continue;
    }
    if (oldCutAndRechain(graph, v, w)) {
      headHunterOld(graph);
      if (graph.howManyHubs > 0 || graph.howManyRings > 0) graph.isHamiltonian = kNotHamiltonian;
    }
  }
}

void runMillVersion(Graph& graph, int32_t version, std::unique_ptr<CutSequence>* sequence,
                    const StopToken* stop) {
  switch (version) {
    case 0: probabilityMillLegacy(graph, stop); break;
    case 1: probabilityMillStopOnErrors(graph, 0, stop); break;
    case 2: probabilityMillStopOnErrors(graph, 1, stop); break;
    case 3: probabilityMillPlain(graph, stop); break;
    case 4: probabilityMillSingleLas(graph, 0, stop); break;
    case 5: probabilityMillVariableLas(graph, 0, stop); break;
    case 6: probabilityMillThresholdLas(graph, stop); break;
    case 7: probabilityMillFullLas(graph, stop); break;
    case 8: probabilityMillSingleDisjunction(graph, stop); break;
    case 9: probabilityMillVariableDisjunction(graph, stop); break;
    case 10: {
      std::unique_ptr<CutSequence> made = probabilityMillCutSequence(graph, stop);
      if (sequence != nullptr) *sequence = std::move(made);
      break;
    }
    case 11: probabilityMillLegacyVariableLas(graph, stop); break;
    case 12: probabilityMillSingleLas(graph, 1, stop); break;
    case 13: probabilityMillVariableLas(graph, 1, stop); break;
    default: diagnostic("This should never happen.\n"); break;
  }
}

}  // namespace hc
