// The frontier leaf (see witness_leaves.h). A node takes a free slot when it joins the
// frontier and frees it when it leaves; a state holds 5 bits per slot in 128 bits: 0 no
// chosen edge, 1 two chosen edges, 2 + j one chosen edge with the other end of its path in
// slot j. A path may close into a cycle only when that cycle is Hamiltonian, and then the
// leaf fails. Equal states merge through an open-addressing table rebuilt per step.
#include <algorithm>
#include <bit>
#include <vector>

#include "certcheck/witness_leaves.h"

namespace hc::certcheck {

namespace {

static_assert(kMaxFrontierWidth <= 24, "24 slots of 5 bits fill 128 bits");

using State = unsigned __int128;
unsigned get(State s, size_t slot) {
  return static_cast<unsigned>(s >> (5 * slot)) & 31u;
}
void set(State& s, size_t slot, unsigned value) {
  s = (s & ~(State{31} << (5 * slot))) | (State{value} << (5 * slot));
}

// The states of one step, each once.
class StateSet {
 public:
  void reset(size_t expected) {
    items.clear();
    items.reserve(std::min(expected, kMaxFrontierStates + 1));
    table_.assign(std::bit_ceil(std::max<size_t>(16, 2 * std::min(expected, kMaxFrontierStates + 1))), 0);
  }
  void insert(const State& s) {
    const size_t mask = table_.size() - 1;
    uint64_t h = static_cast<uint64_t>(s) * 0x9E3779B97F4A7C15ull ^
                 static_cast<uint64_t>(s >> 64) * 0xC2B2AE3D27D4EB4Full;
    h ^= h >> 29;
    size_t at = static_cast<size_t>(h * 0xBF58476D1CE4E5B9ull >> 32) & mask;
    for (; table_[at] != 0; at = (at + 1) & mask)
      if (items[table_[at] - 1] == s) return;
    items.push_back(s);
    table_[at] = static_cast<uint32_t>(items.size());
  }
  std::vector<State> items;

 private:
  std::vector<uint32_t> table_;  // index + 1 into items; 0 empty
};

}  // namespace

std::string checkFrontierLeaf(const BranchState& state, std::span<const int32_t> order, int64_t& work) {
  const int32_t n = state.nodes();
  if (static_cast<int64_t>(order.size()) != n)
    return "the order lists " + std::to_string(order.size()) + " nodes, not all " + std::to_string(n);
  // leaves[v]: the step after which v leaves the frontier (its last neighbour's, or its own).
  std::vector<int32_t> position(static_cast<size_t>(n)), leaves(static_cast<size_t>(n)),
      leaving(static_cast<size_t>(n) + 1, 0);
  for (int32_t i = 0; i < n; ++i) position[static_cast<size_t>(order[static_cast<size_t>(i)])] = i;
  int64_t forcedLeft = 0;
  for (int32_t v = 0; v < n; ++v) {
    int32_t last = position[static_cast<size_t>(v)];
    for (const BranchState::Incidence& i : state.incident(v))
      if (state.status(i.edge) != kDeleted) last = std::max(last, position[static_cast<size_t>(i.node)]);
    leaves[static_cast<size_t>(v)] = last;
    ++leaving[static_cast<size_t>(last)];
  }
  size_t width = 0;
  for (int32_t i = 0, active = 0; i < n; ++i) {
    width = std::max(width, static_cast<size_t>(++active));
    active -= leaving[static_cast<size_t>(i)];
  }
  work += n;
  if (width > kMaxFrontierWidth)
    return "the order's frontier grows to " + std::to_string(width) + " nodes; the checker takes at most " +
           std::to_string(kMaxFrontierWidth);
  for (size_t e = 0; e < state.edges().size(); ++e)
    forcedLeft += state.status(static_cast<int32_t>(e)) == kForced;

  std::vector<int32_t> slotOf(static_cast<size_t>(n), -1), active, freeSlots, slotNode(kMaxFrontierWidth);
  for (int32_t s = static_cast<int32_t>(kMaxFrontierWidth) - 1; s >= 0; --s) freeSlots.push_back(s);
  std::vector<State> states{State{0}};
  StateSet next;
  int64_t steps = 0;  // states handled over the edges (the budget counts these, as the writers do)
  std::vector<std::pair<int32_t, int32_t>> earlier;  // (position, edge) of the new node's edges back
  for (int32_t i = 0; i < n; ++i) {
    const int32_t v = order[static_cast<size_t>(i)];
    const auto sv = static_cast<size_t>(freeSlots.back());
    freeSlots.pop_back();
    slotOf[static_cast<size_t>(v)] = static_cast<int32_t>(sv);
    slotNode[sv] = v;
    active.push_back(static_cast<int32_t>(sv));

    earlier.clear();
    for (const BranchState::Incidence& inc : state.incident(v))
      if (state.status(inc.edge) != kDeleted && position[static_cast<size_t>(inc.node)] < i)
        earlier.emplace_back(position[static_cast<size_t>(inc.node)], inc.edge);
    std::sort(earlier.begin(), earlier.end());
    for (auto [where, edge] : earlier) {
      const bool forced = state.status(edge) == kForced;
      forcedLeft -= forced;
      const auto su = static_cast<size_t>(slotOf[static_cast<size_t>(order[static_cast<size_t>(where)])]);
      work += static_cast<int64_t>(states.size());
      if ((steps += static_cast<int64_t>(states.size())) > kMaxFrontierWork)
        return "the frontier search passes the checker's budget of " + std::to_string(kMaxFrontierWork) +
               " state steps";
      next.reset(2 * states.size());
      for (const State& s : states) {
        if (!forced) next.insert(s);
        const unsigned cu = get(s, su), cv = get(s, sv);
        if (cu == 1 || cv == 1) continue;
        if (cu >= 2 && cv >= 2 && cu - 2 == sv) {
          // Closing a path: a Hamiltonian cycle when every node is in and nothing is left.
          bool whole = i == n - 1 && forcedLeft == 0;
          for (size_t k = 0; k < active.size() && whole; ++k) {
            const auto slot = static_cast<size_t>(active[k]);
            whole = slot == su || slot == sv || get(s, slot) == 1;
          }
          if (whole) return "the frontier finds a Hamiltonian cycle of the branch";
          continue;
        }
        State t = s;
        const size_t a = cu == 0 ? su : cu - 2u, b = cv == 0 ? sv : cv - 2u;
        if (cu >= 2) set(t, su, 1);
        if (cv >= 2) set(t, sv, 1);
        set(t, a, static_cast<unsigned>(2 + b));
        set(t, b, static_cast<unsigned>(2 + a));
        next.insert(t);
        if (next.items.size() > kMaxFrontierStates)
          return "more than " + std::to_string(kMaxFrontierStates) + " frontier states";
      }
      states.swap(next.items);
    }

    // Nodes whose last edge has been seen leave the frontier, with two chosen edges (the
    // states kept differ elsewhere too, as they all hold 1 there).
    for (size_t k = active.size(); k-- > 0;) {
      const auto slot = static_cast<size_t>(active[k]);
      if (leaves[static_cast<size_t>(slotNode[slot])] != i) continue;
      work += static_cast<int64_t>(states.size());
      size_t kept = 0;
      for (State s : states)
        if (get(s, slot) == 1) {
          set(s, slot, 0);
          states[kept++] = s;
        }
      states.resize(kept);
      freeSlots.push_back(static_cast<int32_t>(slot));
      active.erase(active.begin() + static_cast<std::ptrdiff_t>(k));
    }
    if (states.empty()) return {};
  }
  return states.empty() ? "" : "a frontier state survives the last node";
}

}  // namespace hc::certcheck
