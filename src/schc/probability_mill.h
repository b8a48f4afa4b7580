// One Probability Mill iteration per call, in each algorithm version: random edges of the
// graph (in practice a fresh copy made by the driver) are deleted one at a time, with all
// automatic pruning after each, until the graph closes into a Hamiltonian cycle
// (isHamiltonian 1) or shows a contradiction (0). The versions differ in what look-ahead
// runs around each deletion. The outcome is read from the graph's counters.
//
//  0 legacy degree-two model, not stopping at obstructions   7 Full LAS after every deletion
//  1 legacy, stopping at obstructions                         8 Single Disjunction Lookahead
//  2 as 1 with Full LAS after every deletion                  9 Variable Disjunction Lookahead
//  3 plain                                                   10 cut-sequence learning
//  4 Single LAS                                              11 legacy-model Variable LAS
//  5 Variable LAS                                            12 Single LAS + biconnectivity
//  6 Threshold LAS                                           13 Variable LAS + biconnectivity
#pragma once

#include <cstdint>
#include <memory>

#include "core/graph.h"
#include "core/stop_token.h"
#include "schc/cut_sequence.h"

namespace hc {

// The versions a user may choose (the Stone Carver page offers these).
inline constexpr int32_t kOfferedVersions[] = {3, 4, 5, 6, 7, 12, 13};
bool isOfferedVersion(int32_t version);

// Picks the next deletion: a chain end when chains exist (chain draw, then end draw),
// otherwise a random node; then a random unforced neighbour. w is -1 when the node has no
// unforced neighbour.
void chooseMillEdge(Graph& graph, int32_t& v, int32_t& w);

// Threshold LAS switches to Full LAS after every deletion once forced edges per node exceed
// 0.95 strictly (0.98 on graphs of graph type 50 with 100,000 nodes or more).
bool thresholdReached(const Graph& graph);

// Each iteration asks `stop` (may be null: never stopped) before every step and hands it to
// the look-ahead inside a step, so a time limit or Stop ends a long iteration at once; the
// iteration then ends undecided part-way.
void probabilityMillLegacy(Graph& graph, const StopToken* stop = nullptr);  // version 0
// Versions 1 (withLookAhead 0) and 2 (1).
void probabilityMillStopOnErrors(Graph& graph, int16_t withLookAhead, const StopToken* stop = nullptr);
void probabilityMillPlain(Graph& graph, const StopToken* stop = nullptr);  // version 3
// Versions 4 and 12 (withBiconnectivity 0, 1).
void probabilityMillSingleLas(Graph& graph, int16_t withBiconnectivity, const StopToken* stop = nullptr);
// Versions 5 and 13 (withBiconnectivity 0, 1).
void probabilityMillVariableLas(Graph& graph, int16_t withBiconnectivity, const StopToken* stop = nullptr);
void probabilityMillThresholdLas(Graph& graph, const StopToken* stop = nullptr);         // version 6
void probabilityMillFullLas(Graph& graph, const StopToken* stop = nullptr);              // version 7
void probabilityMillSingleDisjunction(Graph& graph, const StopToken* stop = nullptr);    // version 8
void probabilityMillVariableDisjunction(Graph& graph, const StopToken* stop = nullptr);  // version 9
std::unique_ptr<CutSequence> probabilityMillCutSequence(Graph& graph, const StopToken* stop = nullptr);  // 10
void probabilityMillLegacyVariableLas(Graph& graph, const StopToken* stop = nullptr);  // version 11

// Runs the iteration of `version` on the graph. Version 10's sequence is stored in
// *sequence when given (discarded otherwise). A code outside 0..13 writes
// "This should never happen." and leaves the graph as it was.
void runMillVersion(Graph& graph, int32_t version, std::unique_ptr<CutSequence>* sequence = nullptr,
                    const StopToken* stop = nullptr);

}  // namespace hc
