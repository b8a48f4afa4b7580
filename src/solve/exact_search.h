// The complete search of `solve`: depth first over single edges, each tree node forcing
// its edge first and cutting it when that fails, with the engine's own propagation (the
// pruning queue: degree-2 forcing, Lightning, HeadHunter, hub and ring detection) after
// every step and the cheap whole-graph checks at the tree nodes. Backtracking is by the
// undo log only: one action list per open level, taken back with undoActions, so the
// search needs one graph and memory linear in its size however deep it goes.
//
// Branching: a chain end with the fewest unforced edges left (the path being built is
// extended where it is most constrained), and at it the neighbour of smallest degree;
// with no chain yet, a node of smallest degree. Exhausting the tree proves that the graph
// has no Hamiltonian cycle.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "core/graph.h"
#include "core/stop_token.h"

namespace hc {

// The bound on what a run records for its certificate (the search's proof log, the proof
// system's certificate text, a SAT proof read back). The log grows by megabytes a second
// of search, so this is about a minute of search: enough for every refutation a person
// waits for, and far below the memory of any machine the program runs on (the certificate
// text written from such a log takes a few times as much again).
inline constexpr int64_t kDefaultCertificateLimitBytes = int64_t{256} << 20;

struct ExactSearchOptions {
  // Look Ahead Sequencing on the root before the walk (skipped on graphs with more edges).
  int32_t rootLookAheadEdgeLimit = 20000;
  // Look Ahead Sequencing at every tree node of graphs with at most this many edges, and
  // at the tree nodes of the first few levels of graphs with at most levelLookAheadEdgeLimit.
  int32_t nodeLookAheadEdgeLimit = 0;
  int32_t lookAheadLevels = 3;
  int32_t levelLookAheadEdgeLimit = 3000;
  // The linear relaxation (linear_relaxation.h) at the tree nodes of the first
  // relaxationLevels levels of graphs with at most relaxationEdgeLimit edges, as long as its
  // calls stay within one per relaxationTreeNodes tree nodes walked: a branch whose
  // relaxation is infeasible is a dead end however deep its subtree.
  int32_t relaxationLevels = 0;
  int32_t relaxationEdgeLimit = 3000;
  int64_t relaxationTreeNodes = 200;
  // > 0: give up (verdict 2, graph back at its root) after this many tree nodes.
  int64_t treeNodeLimit = 0;
  // The cheap checks run at every k-th tree node, k = edges / this (at least 1), so a
  // linear pass costs about this many edge visits per tree node on any size of graph
  // (a few times what the propagation of one step costs).
  int32_t checkEdgesPerNode = 20;
  // Ties between equally good branching nodes, and between equally tight neighbours, go by
  // a rank drawn from this seed and the node, not by the node's number.
  uint32_t seed = 0;
  // When given, the walk is written here for a certificate (see kLogLeaf); nothing is
  // recorded otherwise. A log that would pass proofLogLimitBytes is dropped (emptied, its
  // memory freed, ExactSearchResult::proofLogDropped set) and the walk goes on unrecorded.
  std::vector<int32_t>* proofLog = nullptr;
  int64_t proofLogLimitBytes = kDefaultCertificateLimitBytes;
};

// The proof log: the tree in preorder, each tree node as the facts look-ahead established
// there (kLogForced a b: every cycle of the node uses a-b; kLogDeleted a b: none does),
// then either its branching edge a b (a >= 0; the subtree with a-b forced follows, then the
// one with it deleted) or kLogLeaf (a dead end). Facts are the look-ahead's changes in the
// order it made them, consequences of its propagation included.
inline constexpr int32_t kLogLeaf = -1;
inline constexpr int32_t kLogForced = -2;
inline constexpr int32_t kLogDeleted = -3;
// A dead end the linear relaxation closed (its proof is found again from the branch).
inline constexpr int32_t kLogRelaxed = -4;

struct ExactSearchResult {
  HamiltonicityState verdict = kUndecided;  // 2: stopped before a decision
  std::vector<int32_t> cycle;               // node ids from 0, only with verdict 1
  int64_t treeNodes = 0;
  int32_t deepestDepth = 0;
  int32_t relaxationCalls = 0;   // linear relaxations solved at tree nodes
  int32_t relaxationLeaves = 0;  // tree nodes they closed
  bool proofLogDropped = false;  // the proof log passed its bound: it holds nothing
};

// Live figures for a progress line; written by the search, read by anyone.
struct ExactSearchProgress {
  std::atomic<int64_t> treeNodes{0};
  std::atomic<int32_t> depth{0};
};

// Searches `graph`, which is left in its root state afterwards (with verdict 0 when the
// tree was exhausted; the cycle is in the result). Expects the incremental model's state, as pruneRoot leaves
// it, with no action list installed. `stop` is polled at every tree node and asked inside the look-ahead.
ExactSearchResult exactSearch(Graph& graph, const StopToken& stop, const ExactSearchOptions& options = {},
                              ExactSearchProgress* progress = nullptr);

}  // namespace hc
