// The eight generated graph families, built straight into a solver Graph that is still in
// its construction phase (nodes 0..howManyNodes-1 exist with empty adjacency lists).
//
// Join order is part of each family's definition: it fixes the order of every neighbour
// array once construction ends, and so every later random choice of the solvers. Each
// family adds its edges with Graph::addEdge (join + one more howManyEdges) and touches
// nothing else but, for the regular family, regularDegree. At printLevel >= 1 every family
// except the complete graph first writes its "Graph type: ..." line.
//
// Every family ticks its `ticker` (generation_control.h; may be null) at each outer step
// and returns early, with a partial graph the caller must discard, when it says stop; the
// graphs and draws are exactly as described whatever the ticker.
//
// The families trust their arguments: the generation factory (graph_generation.h) refuses
// requests that cannot be built before it calls them.
#pragma once

#include <cstdint>

#include "core/graph.h"
#include "generators/generation_control.h"

namespace hc {

// Pairs (i, j), i < j, in ascending order, one draw each; joined when the draw is below
// trunc(p * 32767). Needs 0 <= p <= 1.
void generateEdgeProbabilityGraph(Graph& graph, double p, GenerationTicker* ticker = nullptr);

// Random d-regular graph by passes: each node takes its missing partners among higher ids;
// a pass that leaves a node short rebuilds the whole graph. Sets regularDegree = d.
// Needs 0 <= d < howManyNodes and howManyNodes * d even, or it never ends. Dense requests
// restart very often (100 nodes of degree 50 take thousands of passes), so a caller may
// bound the work: with maxDraws > 0 a pass that ends short after that many wide draws in
// all is the last, and the graph is left without edges. Returns the number of passes
// made, 0 when it gave up.
int64_t generateRegularGraph(Graph& graph, int32_t d, int64_t maxDraws = 0,
                             GenerationTicker* ticker = nullptr);

// m distinct random edges by rejection. Endpoints come from one 15-bit draw each while
// howManyNodes <= 32768 and from the wide draw beyond (so every node can be reached).
// Needs m <= howManyNodes * (howManyNodes - 1) / 2, or it never ends.
void generateRandomEdgesGraph(Graph& graph, int32_t m, GenerationTicker* ticker = nullptr);

// R x C torus, nodes numbered row by row; each node joined right, then down (wrapping).
// Needs R, C >= 3 for a simple graph.
void generateToroidalGrid(Graph& graph, int32_t rows, int32_t columns, GenerationTicker* ticker = nullptr);

// Knight moves on an R x C board, each joined from the square in the earlier row.
// Exact for C >= 4.
void generateKnightsTourGraph(Graph& graph, int32_t rows, int32_t columns,
                              GenerationTicker* ticker = nullptr);

// The N-cube, grown dimension by dimension from the 4-cycle 0-1-2-3. Needs N >= 2.
void generateNCube(Graph& graph, int32_t dimension, GenerationTicker* ticker = nullptr);

// k InterConnected CutSet components of 14 nodes in a ring; Hamiltonian, 44k edges.
void generateICCSGraph(Graph& graph, int32_t components, GenerationTicker* ticker = nullptr);

// Every pair (i, j), i < j, in ascending order.
void generateCompleteGraph(Graph& graph, GenerationTicker* ticker = nullptr);

// The wide draw: nextRandom() * 65536 + nextRandom(), high half first; 0 .. 2^31 - 1.
int32_t nextWideRandom();

}  // namespace hc
