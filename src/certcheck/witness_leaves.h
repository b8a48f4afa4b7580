// The leaves of a certificate that name a witness, checked against the edges the branch has
// left (open or forced), each returning "" when the witness shows that the branch has no
// Hamiltonian cycle, else why not. Node sets come from parseNodeSet (distinct, in range,
// marked with `stamp`). All take time linear in the witness and its edges (the separator
// leaf: in the graph) but the frontier leaf, which takes the nodes in the given order and
// follows every choice of the edges seen so far (all forced ones, no deleted one), keeping
// only what matters for the rest: each frontier node's number of chosen edges and, at the
// ends of a chosen path, the other end; choices that agree there merge. Every Hamiltonian
// cycle of the branch is such a choice, so there is none when no choice survives the last
// node. Its width is bounded before it runs, the states kept and handled while it runs.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "certcheck/branch_state.h"

namespace hc::certcheck {

// `degree V`: V has fewer than two edges left; `forced V` (forced): V has three forced edges.
std::string checkNodeLeaf(const BranchState& state, int32_t v, bool forced);

// `cut S...`: fewer than two edges leave S (a cycle through all nodes crosses twice).
std::string checkCutLeaf(BranchState& state, std::span<const int32_t> set, uint32_t stamp);
// `parity S...`: the edges leaving S are all forced, and odd in number.
std::string checkParityLeaf(BranchState& state, std::span<const int32_t> set, uint32_t stamp);
// `separator X...`: removing X (not empty) leaves more than |X| components.
std::string checkSeparatorLeaf(BranchState& state, std::span<const int32_t> set, uint32_t stamp);
// `independent I...`: no edge inside I, and I holds more than half the nodes.
std::string checkIndependentLeaf(BranchState& state, std::span<const int32_t> set, uint32_t stamp);
// `bipartite A...`: every edge joins A to the other nodes, and the two sides differ in size.
std::string checkBipartiteLeaf(BranchState& state, std::span<const int32_t> set, uint32_t stamp);

// `alternation S...`, a step and not a leaf: S is independent and holds exactly half the
// nodes, so every Hamiltonian cycle alternates between S and the rest (each node of S takes
// two of its n edges). Deletes every edge left with both ends outside S and propagates; a
// forced one among them makes the branch contradictory. Nothing changes when S fails.
std::string applyAlternationStep(BranchState& state, std::span<const int32_t> set, uint32_t stamp);

// `fragment S...`: exactly three edges leave S, with 2 <= |S| <= n - 2. On success `inner`
// holds their ends in S, ordered by position in the list and then by the outer end.
std::string checkFragmentCut(BranchState& state, std::span<const int32_t> set, uint32_t stamp,
                             std::array<int32_t, 3>& inner);
// The graph of a fragment's sub-proof: S's edges left in the branch (S's nodes numbered by
// their position in the list) and one more node, |S|, joined to the inner ends a and b.
// It has a Hamiltonian cycle exactly when S has a Hamiltonian path from a to b.
std::vector<Edge> fragmentGraph(const BranchState& state, std::span<const int32_t> set, int32_t a, int32_t b);

// Limits that keep a hostile certificate from exhausting the machine (a few seconds and a
// few hundred MB); the writers' orders stay well within them (at most 14 nodes at once).
inline constexpr size_t kMaxFrontierWidth = 24;
inline constexpr size_t kMaxFrontierStates = size_t{1} << 22;
inline constexpr int64_t kMaxFrontierWork = int64_t{1} << 26;  // states handled over all edges

// "" when no choice survives `order` (all nodes, each once), else why not; adds the states
// handled to `work`.
std::string checkFrontierLeaf(const BranchState& state, std::span<const int32_t> order, int64_t& work);

}  // namespace hc::certcheck
