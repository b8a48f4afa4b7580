#include "decompose/triconnected_components.h"

#include <algorithm>
#include <numeric>

#include "core/diagnostics.h"

namespace hc {

namespace {

constexpr uint8_t kUnseen = 0;
constexpr uint8_t kTree = 1;   // parent to child
constexpr uint8_t kFrond = 2;  // descendant to ancestor
constexpr uint8_t kGone = 3;   // moved into a split component

// A candidate separation pair {a, b} whose piece holds the nodes numbered a+1..h apart from
// b; a == -1 marks the end of the candidates of one path.
struct Triple {
  int32_t h;
  int32_t a;
  int32_t b;
};
constexpr Triple kEndOfPath{-1, -1, -1};

class Splitter {
 public:
  Splitter(const PartGraph& graph, const StopToken& stop) : graph_(graph), stop_(stop), n_(graph.nodeCount) {}

  SpqrStatus run(SpqrTree& tree) {
    if (!firstSearch()) return stop_.stopRequested() ? SpqrStatus::kStopped : SpqrStatus::kNotBiconnected;
    if (!orderAndNumber() || !pathSearch())
      return stop_.stopRequested() ? SpqrStatus::kStopped : SpqrStatus::kFailed;
    // Whatever is left on the edge stack is the last split component.
    const int32_t last = newComponent();
    for (int32_t e : estack_) moveInto(last, e);
    estack_.clear();
    for (size_t e = 0; e < kind_.size(); ++e)
      if (kind_[e] != kGone) {
        fail("an edge was left outside every component");
        return SpqrStatus::kFailed;
      }
    return assemble(tree) ? SpqrStatus::kBuilt : SpqrStatus::kFailed;
  }

 private:
  bool fail(const char* why) {
    if (!stop_.stopRequested()) diagnostic("decompose: the triconnected split gave up (", why, ").\n");
    return false;
  }

  // --- the first depth-first search: preorder numbers, lowpoints, orientation ---
  bool firstSearch() {
    const size_t m = graph_.edges.size();
    const Incidence inc = buildIncidence(n_, graph_.edges);
    src_.resize(m);
    tgt_.resize(m);
    kind_.assign(m, kUnseen);
    pre_.assign(static_cast<size_t>(n_), -1);
    parent_.assign(static_cast<size_t>(n_), -1);
    parentEdge_.assign(static_cast<size_t>(n_), -1);
    nd_.assign(static_cast<size_t>(n_), 1);
    low1_.assign(static_cast<size_t>(n_), 0);
    low2_.assign(static_cast<size_t>(n_), 0);
    vertexOfPre_.assign(static_cast<size_t>(n_), -1);
    std::vector<int32_t> next(inc.start.begin(), inc.start.end() - 1);
    std::vector<int32_t> stack{0};
    int32_t counter = 0;
    pre_[0] = counter++;
    vertexOfPre_[0] = 0;
    low1_[0] = low2_[0] = 0;
    while (!stack.empty()) {
      if (stop_.poll()) return false;
      const int32_t v = stack.back();
      const size_t sv = static_cast<size_t>(v);
      if (next[sv] == inc.start[sv + 1]) {
        stack.pop_back();
        const int32_t p = parent_[sv];
        if (p >= 0) {
          const size_t sp = static_cast<size_t>(p);
          nd_[sp] += nd_[sv];
          // The child's lowpoints into the parent's.
          if (low1_[sv] < low1_[sp]) {
            low2_[sp] = std::min(low1_[sp], low2_[sv]);
            low1_[sp] = low1_[sv];
          } else if (low1_[sv] == low1_[sp]) {
            low2_[sp] = std::min(low2_[sp], low2_[sv]);
          } else {
            low2_[sp] = std::min(low2_[sp], low1_[sv]);
          }
        }
        continue;
      }
      const int32_t e = inc.edge[static_cast<size_t>(next[sv]++)];
      const size_t se = static_cast<size_t>(e);
      if (kind_[se] != kUnseen) continue;
      const int32_t w = graph_.edges[se].a == v ? graph_.edges[se].b : graph_.edges[se].a;
      const size_t sw = static_cast<size_t>(w);
      src_[se] = v;
      tgt_[se] = w;
      if (pre_[sw] < 0) {
        kind_[se] = kTree;
        pre_[sw] = counter;
        vertexOfPre_[static_cast<size_t>(counter)] = w;
        ++counter;
        parent_[sw] = v;
        parentEdge_[sw] = e;
        low1_[sw] = low2_[sw] = pre_[sw];
        stack.push_back(w);
      } else {
        kind_[se] = kFrond;  // w is an ancestor: a descendant would have taken the edge first
        const int32_t x = pre_[sw];
        if (x < low1_[sv]) {
          low2_[sv] = low1_[sv];
          low1_[sv] = x;
        } else if (x > low1_[sv]) {
          low2_[sv] = std::min(low2_[sv], x);
        }
      }
    }
    if (counter != n_) return false;  // not connected
    // No cut node: the root has one child, and below every other node some frond climbs
    // above it from each child's subtree.
    for (int32_t v = 1; v < n_; ++v) {
      const int32_t p = parent_[static_cast<size_t>(v)];
      if (p == 0 ? nd_[static_cast<size_t>(v)] != n_ - 1
                 : low1_[static_cast<size_t>(v)] >= pre_[static_cast<size_t>(p)])
        return false;
    }
    return true;
  }

  // --- adjacency ordered by the lowpoints, then the numbering of the path search ---
  bool orderAndNumber() {
    const size_t m = src_.size();
    // Children with the lowest lowpoint first (and, among equal ones, those whose second
    // lowpoint lies above the parent first); fronds by their target.
    std::vector<int32_t> phi(m);
    for (size_t e = 0; e < m; ++e) {
      const int32_t v = src_[e];
      const int32_t w = tgt_[e];
      if (kind_[e] == kTree) {
        const size_t sw = static_cast<size_t>(w);
        phi[e] = 3 * low1_[sw] + (low2_[sw] < pre_[static_cast<size_t>(v)] ? 0 : 2);
      } else {
        phi[e] = 3 * pre_[static_cast<size_t>(w)] + 1;
      }
    }
    std::vector<int32_t> bucket(static_cast<size_t>(3 * n_ + 3), 0);
    for (size_t e = 0; e < m; ++e) ++bucket[static_cast<size_t>(phi[e]) + 1];
    std::partial_sum(bucket.begin(), bucket.end(), bucket.begin());
    std::vector<int32_t> sorted(m);
    for (size_t e = 0; e < m; ++e)
      sorted[static_cast<size_t>(bucket[static_cast<size_t>(phi[e])]++)] = static_cast<int32_t>(e);
    // Outgoing arcs per node (in input ids), in that order.
    std::vector<int32_t> outStart(static_cast<size_t>(n_) + 1, 0);
    for (size_t e = 0; e < m; ++e) ++outStart[static_cast<size_t>(src_[e]) + 1];
    std::partial_sum(outStart.begin(), outStart.end(), outStart.begin());
    std::vector<int32_t> out(m);
    {
      std::vector<int32_t> fill(outStart.begin(), outStart.end() - 1);
      for (int32_t e : sorted)
        out[static_cast<size_t>(fill[static_cast<size_t>(src_[static_cast<size_t>(e)])]++)] = e;
    }
    // The numbering: a node's subtree is numbered from the node up, its first child's
    // subtree last (highest), so the nodes a path passes get increasing numbers. Also which
    // arcs start a new path: all but the first arc of a node, and the root's first.
    std::vector<int32_t> number(static_cast<size_t>(n_), -1);
    std::vector<uint8_t> startsPath(m, 0);
    {
      int32_t highest = n_ - 1;
      bool pathEnded = true;
      std::vector<std::pair<int32_t, int32_t>> stack{{0, outStart[0]}};
      number[0] = highest - nd_[0] + 1;
      while (!stack.empty()) {
        if (stop_.poll()) return false;
        auto& [v, at] = stack.back();
        if (at == outStart[static_cast<size_t>(v) + 1]) {
          --highest;
          stack.pop_back();
          continue;
        }
        const int32_t e = out[static_cast<size_t>(at++)];
        const size_t se = static_cast<size_t>(e);
        if (pathEnded) startsPath[se] = 1;
        pathEnded = false;
        if (kind_[se] == kTree) {
          const int32_t w = tgt_[se];
          number[static_cast<size_t>(w)] = highest - nd_[static_cast<size_t>(w)] + 1;
          stack.emplace_back(w, outStart[static_cast<size_t>(w)]);
        } else {
          pathEnded = true;
        }
      }
    }
    // Everything from here on in the new numbers.
    auto renumber = [&](std::vector<int32_t>& byInput) {
      std::vector<int32_t> byNumber(static_cast<size_t>(n_));
      for (int32_t v = 0; v < n_; ++v)
        byNumber[static_cast<size_t>(number[static_cast<size_t>(v)])] = byInput[static_cast<size_t>(v)];
      byInput.swap(byNumber);
    };
    inputOf_.resize(static_cast<size_t>(n_));
    for (int32_t v = 0; v < n_; ++v) inputOf_[static_cast<size_t>(number[static_cast<size_t>(v)])] = v;
    auto lowToNumber = [&](int32_t p) {
      return number[static_cast<size_t>(vertexOfPre_[static_cast<size_t>(p)])];
    };
    for (int32_t v = 0; v < n_; ++v) {
      const size_t sv = static_cast<size_t>(v);
      low1_[sv] = lowToNumber(low1_[sv]);
      low2_[sv] = lowToNumber(low2_[sv]);
      parent_[sv] = parent_[sv] < 0 ? -1 : number[static_cast<size_t>(parent_[sv])];
    }
    renumber(low1_);
    renumber(low2_);
    renumber(parent_);
    renumber(nd_);
    for (size_t e = 0; e < m; ++e) {
      src_[e] = number[static_cast<size_t>(src_[e])];
      tgt_[e] = number[static_cast<size_t>(tgt_[e])];
    }
    deg_.assign(static_cast<size_t>(n_), 0);
    for (size_t e = 0; e < m; ++e) {
      ++deg_[static_cast<size_t>(src_[e])];
      ++deg_[static_cast<size_t>(tgt_[e])];
    }
    slotStart_.assign(static_cast<size_t>(n_) + 1, 0);
    for (int32_t v = 0; v < n_; ++v)
      slotStart_[static_cast<size_t>(number[static_cast<size_t>(v)]) + 1] =
          outStart[static_cast<size_t>(v) + 1] - outStart[static_cast<size_t>(v)];
    std::partial_sum(slotStart_.begin(), slotStart_.end(), slotStart_.begin());
    slots_.resize(m);
    slotStartsPath_.resize(m);
    treeArcSlot_.assign(static_cast<size_t>(n_), -1);
    lastTreeArcSlot_.assign(static_cast<size_t>(n_), -1);
    firstAlive_.assign(slotStart_.begin(), slotStart_.end() - 1);
    addedFrondsIn_.assign(static_cast<size_t>(n_), {});
    for (int32_t v = 0; v < n_; ++v) {
      const int32_t nv = number[static_cast<size_t>(v)];
      int32_t at = slotStart_[static_cast<size_t>(nv)];
      for (int32_t k = outStart[static_cast<size_t>(v)]; k < outStart[static_cast<size_t>(v) + 1];
           ++k, ++at) {
        const int32_t e = out[static_cast<size_t>(k)];
        slots_[static_cast<size_t>(at)] = e;
        slotStartsPath_[static_cast<size_t>(at)] = startsPath[static_cast<size_t>(e)];
        if (kind_[static_cast<size_t>(e)] == kTree) {
          treeArcSlot_[static_cast<size_t>(tgt_[static_cast<size_t>(e)])] = at;
          lastTreeArcSlot_[static_cast<size_t>(nv)] = at;
        }
      }
    }
    // The fronds into each node, highest source first.
    frondStart_.assign(static_cast<size_t>(n_) + 1, 0);
    for (size_t e = 0; e < m; ++e)
      if (kind_[e] == kFrond) ++frondStart_[static_cast<size_t>(tgt_[e]) + 1];
    std::partial_sum(frondStart_.begin(), frondStart_.end(), frondStart_.begin());
    frondList_.resize(static_cast<size_t>(frondStart_.back()));
    {
      std::vector<int32_t> fill(frondStart_.begin(), frondStart_.end() - 1);
      for (size_t e = 0; e < m; ++e)
        if (kind_[e] == kFrond)
          frondList_[static_cast<size_t>(fill[static_cast<size_t>(tgt_[e])]++)] = static_cast<int32_t>(e);
    }
    for (int32_t v = 0; v < n_; ++v)
      std::sort(frondList_.begin() + frondStart_[static_cast<size_t>(v)],
                frondList_.begin() + frondStart_[static_cast<size_t>(v) + 1], [this](int32_t x, int32_t y) {
                  return src_[static_cast<size_t>(x)] > src_[static_cast<size_t>(y)];
                });
    frondAt_.assign(frondStart_.begin(), frondStart_.end() - 1);
    return true;
  }

  // --- edges, components, the fronds into a node ---
  int32_t newVirtual(int32_t a, int32_t b, uint8_t kind) {
    src_.push_back(a);
    tgt_.push_back(b);
    kind_.push_back(kind);
    owners_.push_back({-1, -1});
    ++deg_[static_cast<size_t>(a)];
    ++deg_[static_cast<size_t>(b)];
    return static_cast<int32_t>(src_.size()) - 1;
  }
  int32_t newComponent() {
    components_.emplace_back();
    return static_cast<int32_t>(components_.size()) - 1;
  }
  void recordOwner(int32_t c, int32_t e) {
    components_[static_cast<size_t>(c)].push_back(e);
    if (static_cast<size_t>(e) >= graph_.edges.size()) {
      auto& owner = owners_[static_cast<size_t>(e) - graph_.edges.size()];
      (owner[0] < 0 ? owner[0] : owner[1]) = c;
    }
  }
  // The edge leaves the graph for component c.
  void moveInto(int32_t c, int32_t e) {
    const size_t se = static_cast<size_t>(e);
    if (kind_[se] != kGone) {
      kind_[se] = kGone;
      --deg_[static_cast<size_t>(src_[se])];
      --deg_[static_cast<size_t>(tgt_[se])];
    }
    recordOwner(c, e);
  }
  bool joins(int32_t e, int32_t x, int32_t y) const {
    const size_t se = static_cast<size_t>(e);
    return (src_[se] == x && tgt_[se] == y) || (src_[se] == y && tgt_[se] == x);
  }
  bool frondInto(int32_t e, int32_t v) const {
    return kind_[static_cast<size_t>(e)] == kFrond && tgt_[static_cast<size_t>(e)] == v;
  }
  // A virtual frond a split adds (the graph's own fronds are in frondList_).
  void pushFrondIn(int32_t e) {
    auto& heap = addedFrondsIn_[static_cast<size_t>(tgt_[static_cast<size_t>(e)])];
    heap.push_back(e);
    std::push_heap(heap.begin(), heap.end(), [this](int32_t x, int32_t y) {
      return src_[static_cast<size_t>(x)] < src_[static_cast<size_t>(y)];
    });
  }
  // The highest node with a frond still in the graph into v (-1: none).
  int32_t highFrondSource(int32_t v) {
    int32_t& at = frondAt_[static_cast<size_t>(v)];
    while (at < frondStart_[static_cast<size_t>(v) + 1] && !frondInto(frondList_[static_cast<size_t>(at)], v))
      ++at;
    const int32_t own = at < frondStart_[static_cast<size_t>(v) + 1]
                            ? src_[static_cast<size_t>(frondList_[static_cast<size_t>(at)])]
                            : -1;
    auto& heap = addedFrondsIn_[static_cast<size_t>(v)];
    auto less = [this](int32_t x, int32_t y) {
      return src_[static_cast<size_t>(x)] < src_[static_cast<size_t>(y)];
    };
    while (!heap.empty() && !frondInto(heap.front(), v)) {
      std::pop_heap(heap.begin(), heap.end(), less);
      heap.pop_back();
    }
    return std::max(own, heap.empty() ? -1 : src_[static_cast<size_t>(heap.front())]);
  }
  // When w's first arc still in the graph is a tree arc, its child; otherwise -1.
  int32_t firstChild(int32_t w) {
    int32_t& at = firstAlive_[static_cast<size_t>(w)];
    while (at < slotStart_[static_cast<size_t>(w) + 1] &&
           kind_[static_cast<size_t>(slots_[static_cast<size_t>(at)])] == kGone)
      ++at;
    if (at == slotStart_[static_cast<size_t>(w) + 1]) return -1;
    const int32_t e = slots_[static_cast<size_t>(at)];
    return kind_[static_cast<size_t>(e)] == kTree ? tgt_[static_cast<size_t>(e)] : -1;
  }
  // Replaces the tree arc into v (in its parent's adjacency) by the new edge e.
  void replaceTreeArc(int32_t v, int32_t e) {
    kind_[static_cast<size_t>(e)] = kTree;
    slots_[static_cast<size_t>(treeArcSlot_[static_cast<size_t>(v)])] = e;
  }
  // Makes a bond of edge e and the tree arc into v, and a new tree arc parent -> v in
  // their place (the bond's virtual edge).
  void bondWithTreeArc(int32_t e, int32_t parent, int32_t v) {
    const int32_t bond = newComponent();
    moveInto(bond, e);
    moveInto(bond, slots_[static_cast<size_t>(treeArcSlot_[static_cast<size_t>(v)])]);
    const int32_t arc = newVirtual(parent, v, kTree);
    recordOwner(bond, arc);
    replaceTreeArc(v, arc);
  }
  bool isEnd(const Triple& t) const { return t.a < 0; }
  // Drops the candidates of the current path whose lower node lies above `floor`, returning
  // the highest h among them and the b of the last one dropped.
  bool dropAbove(int32_t floor, int32_t& highest, int32_t& lastB) {
    bool dropped = false;
    while (!tstack_.empty() && !isEnd(tstack_.back()) && tstack_.back().a > floor) {
      highest = std::max(highest, tstack_.back().h);
      lastB = tstack_.back().b;
      tstack_.pop_back();
      dropped = true;
    }
    return dropped;
  }

  // --- the path search ---
  struct Frame {
    int32_t v;
    int32_t slot;
    bool inChild;
  };

  bool pathSearch() {
    std::vector<Frame> frames{{0, slotStart_[0], false}};
    while (!frames.empty()) {
      if (stop_.poll()) return false;
      Frame& f = frames.back();
      const int32_t v = f.v;
      if (f.inChild) {
        f.inChild = false;
        const int32_t slot = f.slot++;
        if (!afterTreeArc(v, slot)) return false;
        continue;
      }
      if (f.slot == slotStart_[static_cast<size_t>(v) + 1]) {
        frames.pop_back();
        continue;
      }
      const int32_t i = f.slot;
      const int32_t e = slots_[static_cast<size_t>(i)];
      if (kind_[static_cast<size_t>(e)] == kTree) {
        const int32_t w = tgt_[static_cast<size_t>(e)];
        if (slotStartsPath_[static_cast<size_t>(i)]) {
          int32_t highest = -1;
          int32_t lastB = -1;
          const int32_t top = w + nd_[static_cast<size_t>(w)] - 1;
          const int32_t low = low1_[static_cast<size_t>(w)];
          if (dropAbove(low, highest, lastB))
            tstack_.push_back({std::max(highest, top), low, lastB});
          else
            tstack_.push_back({top, low, v});
          tstack_.push_back(kEndOfPath);
        }
        f.inChild = true;
        frames.push_back({w, slotStart_[static_cast<size_t>(w)], false});
      } else {
        if (kind_[static_cast<size_t>(e)] == kFrond) frond(v, i, e);
        ++f.slot;
      }
    }
    return true;
  }

  void frond(int32_t v, int32_t i, int32_t e) {
    const int32_t w = tgt_[static_cast<size_t>(e)];
    if (slotStartsPath_[static_cast<size_t>(i)]) {
      int32_t highest = -1;
      int32_t lastB = -1;
      if (dropAbove(w, highest, lastB))
        tstack_.push_back({highest, w, lastB});
      else
        tstack_.push_back({v, w, v});
    }
    if (w == parent_[static_cast<size_t>(v)]) {
      // A frond beside the tree arc: the two and a virtual edge make a bond.
      bondWithTreeArc(e, w, v);
    } else {
      estack_.push_back(e);
    }
  }

  bool afterTreeArc(int32_t v, int32_t i) {
    int32_t e = slots_[static_cast<size_t>(i)];
    int32_t w = tgt_[static_cast<size_t>(e)];
    estack_.push_back(e);

    // Separation pairs {v, b} with b below v on the path: split them off as long as any.
    while (v != 0) {
      const bool candidate = !tstack_.empty() && !isEnd(tstack_.back()) && tstack_.back().a == v;
      int32_t x = -1;
      const bool triangle = deg_[static_cast<size_t>(w)] == 2 && (x = firstChild(w)) > w;
      if (!candidate && !triangle) break;
      if (candidate && parent_[static_cast<size_t>(tstack_.back().b)] == v) {
        tstack_.pop_back();
        continue;
      }
      const int32_t c = newComponent();
      std::vector<int32_t> parallel;  // edges v-b already in the graph
      int32_t virt = -1;
      int32_t b = -1;
      if (triangle) {
        // w has one child x and nothing else: v-w-x becomes the virtual edge v-x.
        for (int32_t k = 0; k < 2; ++k) {
          if (estack_.empty()) return fail("the edge stack ran dry at a triangle");
          const int32_t top = estack_.back();
          if (!joins(top, k == 0 ? v : w, k == 0 ? w : x))
            return fail("the edge stack does not end with a triangle's edges");
          estack_.pop_back();
          moveInto(c, top);
        }
        b = x;
        virt = newVirtual(v, x, kUnseen);
        recordOwner(c, virt);
        if (!estack_.empty() && joins(estack_.back(), x, v)) {
          parallel.push_back(estack_.back());
          estack_.pop_back();
        }
      } else {
        const Triple t = tstack_.back();
        tstack_.pop_back();
        while (!estack_.empty()) {
          const int32_t top = estack_.back();
          const int32_t p = src_[static_cast<size_t>(top)];
          const int32_t q = tgt_[static_cast<size_t>(top)];
          if (!(t.a <= p && p <= t.h && t.a <= q && q <= t.h)) break;
          estack_.pop_back();
          if (joins(top, t.a, t.b))
            parallel.push_back(top);
          else
            moveInto(c, top);
        }
        b = t.b;
        virt = newVirtual(t.a, t.b, kUnseen);
        recordOwner(c, virt);
      }
      if (!parallel.empty()) {
        const int32_t bond = newComponent();
        for (int32_t p : parallel) moveInto(bond, p);
        moveInto(bond, virt);
        virt = newVirtual(v, b, kUnseen);
        recordOwner(bond, virt);
      }
      estack_.push_back(virt);
      kind_[static_cast<size_t>(virt)] = kTree;
      slots_[static_cast<size_t>(i)] = virt;
      parent_[static_cast<size_t>(b)] = v;
      treeArcSlot_[static_cast<size_t>(b)] = i;
      w = b;
    }

    // A separation pair {lowpoint of w, v} that cuts off w's subtree.
    const size_t sw = static_cast<size_t>(w);
    if (low2_[sw] >= v && low1_[sw] < v &&
        (parent_[static_cast<size_t>(v)] != 0 || i < lastTreeArcSlot_[static_cast<size_t>(v)])) {
      const int32_t c = newComponent();
      const int32_t from = w;
      const int32_t to = w + nd_[sw];
      while (!estack_.empty()) {
        const int32_t top = estack_.back();
        const int32_t p = src_[static_cast<size_t>(top)];
        const int32_t q = tgt_[static_cast<size_t>(top)];
        if (!((from <= p && p < to) || (from <= q && q < to))) break;
        estack_.pop_back();
        moveInto(c, top);
      }
      const int32_t low = low1_[sw];
      int32_t virt = newVirtual(v, low, kUnseen);
      recordOwner(c, virt);
      if (!estack_.empty() && joins(estack_.back(), v, low)) {
        const int32_t bond = newComponent();
        moveInto(bond, estack_.back());
        estack_.pop_back();
        moveInto(bond, virt);
        virt = newVirtual(v, low, kUnseen);
        recordOwner(bond, virt);
      }
      if (low != parent_[static_cast<size_t>(v)]) {
        kind_[static_cast<size_t>(virt)] = kFrond;
        estack_.push_back(virt);
        pushFrondIn(virt);
      } else {
        bondWithTreeArc(virt, low, v);
      }
    }

    if (slotStartsPath_[static_cast<size_t>(i)]) {
      while (!tstack_.empty() && !isEnd(tstack_.back())) tstack_.pop_back();
      if (!tstack_.empty()) tstack_.pop_back();
    }
    const int32_t high = highFrondSource(v);
    while (!tstack_.empty() && !isEnd(tstack_.back()) && tstack_.back().a != v && tstack_.back().b != v &&
           high > tstack_.back().h)
      tstack_.pop_back();
    return true;
  }

  // --- kinds, merging, the tree ---
  bool assemble(SpqrTree& tree) {
    const size_t realCount = graph_.edges.size();
    const size_t count = components_.size();
    std::vector<SkeletonKind> kind(count, SkeletonKind::kRigid);
    std::vector<int32_t> stamp(static_cast<size_t>(n_), -1);
    std::vector<int32_t> degreeIn(static_cast<size_t>(n_), 0);
    for (size_t c = 0; c < count; ++c) {
      const auto& edges = components_[c];
      if (edges.size() < 3) return fail("a split component has fewer than three edges");
      int32_t nodes = 0;
      for (int32_t e : edges)
        for (int32_t x : {src_[static_cast<size_t>(e)], tgt_[static_cast<size_t>(e)]}) {
          if (stamp[static_cast<size_t>(x)] != static_cast<int32_t>(c)) {
            stamp[static_cast<size_t>(x)] = static_cast<int32_t>(c);
            degreeIn[static_cast<size_t>(x)] = 0;
            ++nodes;
          }
          ++degreeIn[static_cast<size_t>(x)];
        }
      if (nodes == 2) {
        kind[c] = SkeletonKind::kBond;
      } else if (static_cast<size_t>(nodes) == edges.size()) {
        bool allTwo = true;
        for (int32_t e : edges)
          allTwo = allTwo && degreeIn[static_cast<size_t>(src_[static_cast<size_t>(e)])] == 2 &&
                   degreeIn[static_cast<size_t>(tgt_[static_cast<size_t>(e)])] == 2;
        if (allTwo) kind[c] = SkeletonKind::kPolygon;
      }
    }
    // Bonds with bonds and polygons with polygons.
    std::vector<int32_t> leader(count);
    std::iota(leader.begin(), leader.end(), 0);
    auto find = [&](int32_t c) {
      while (leader[static_cast<size_t>(c)] != c)
        c = leader[static_cast<size_t>(c)] = leader[static_cast<size_t>(leader[static_cast<size_t>(c)])];
      return c;
    };
    for (const auto& owner : owners_) {
      if (owner[0] < 0 || owner[1] < 0) return fail("a virtual edge is not held by two components");
      if (kind[static_cast<size_t>(owner[0])] == kind[static_cast<size_t>(owner[1])] &&
          kind[static_cast<size_t>(owner[0])] != SkeletonKind::kRigid)
        leader[static_cast<size_t>(find(owner[0]))] = find(owner[1]);
    }
    std::vector<int32_t> nodeOf(count, -1);
    tree = SpqrTree{};
    tree.realEdgeCount = static_cast<int32_t>(realCount);
    for (size_t c = 0; c < count; ++c) {
      const int32_t root = find(static_cast<int32_t>(c));
      if (nodeOf[static_cast<size_t>(root)] < 0) {
        nodeOf[static_cast<size_t>(root)] = static_cast<int32_t>(tree.nodes.size());
        tree.nodes.push_back({kind[static_cast<size_t>(root)], {}});
      }
      nodeOf[c] = nodeOf[static_cast<size_t>(root)];
    }
    for (size_t c = 0; c < count; ++c)
      for (int32_t e : components_[c]) {
        if (static_cast<size_t>(e) >= realCount) {
          const auto& owner = owners_[static_cast<size_t>(e) - realCount];
          if (nodeOf[static_cast<size_t>(owner[0])] == nodeOf[static_cast<size_t>(owner[1])])
            continue;  // merged away
        }
        tree.nodes[static_cast<size_t>(nodeOf[c])].edges.push_back(e);
      }
    // Renumber the surviving virtual edges after the real ones; ends back in input ids.
    std::vector<int32_t> newId(src_.size(), -1);
    for (size_t e = 0; e < realCount; ++e) newId[e] = static_cast<int32_t>(e);
    int32_t next = static_cast<int32_t>(realCount);
    tree.edgeA.resize(realCount);
    tree.edgeB.resize(realCount);
    for (size_t e = 0; e < realCount; ++e) {
      tree.edgeA[e] = graph_.edges[e].a;
      tree.edgeB[e] = graph_.edges[e].b;
    }
    for (size_t e = realCount; e < src_.size(); ++e) {
      const auto& owner = owners_[e - realCount];
      const int32_t p = nodeOf[static_cast<size_t>(owner[0])];
      const int32_t q = nodeOf[static_cast<size_t>(owner[1])];
      if (p == q) continue;
      newId[e] = next++;
      tree.edgeA.push_back(inputOf_[static_cast<size_t>(src_[e])]);
      tree.edgeB.push_back(inputOf_[static_cast<size_t>(tgt_[e])]);
      tree.twins.push_back({p, q});
    }
    for (auto& node : tree.nodes)
      for (int32_t& e : node.edges) e = newId[static_cast<size_t>(e)];
    const std::string problem = checkSpqrTree(n_, tree);
    if (!problem.empty()) {
      diagnostic("decompose: the triconnected split failed its check (", problem, "); it is not used.\n");
      return false;
    }
    return true;
  }

  const PartGraph& graph_;
  const StopToken& stop_;
  const int32_t n_;
  // Edges (the input's first, then the virtual ones), oriented by the first search.
  std::vector<int32_t> src_, tgt_;
  std::vector<uint8_t> kind_;
  std::vector<std::array<int32_t, 2>> owners_;  // per virtual edge
  // Per node; in input ids during the first search, in path-search numbers afterwards.
  std::vector<int32_t> pre_, parent_, parentEdge_, nd_, low1_, low2_, vertexOfPre_, deg_, inputOf_;
  std::vector<int32_t> slotStart_, slots_, treeArcSlot_, lastTreeArcSlot_, firstAlive_;
  std::vector<uint8_t> slotStartsPath_;
  std::vector<int32_t> frondStart_, frondList_, frondAt_;
  std::vector<std::vector<int32_t>> addedFrondsIn_;
  std::vector<int32_t> estack_;
  std::vector<Triple> tstack_;
  std::vector<std::vector<int32_t>> components_;
};

}  // namespace

std::string checkSpqrTree(int32_t nodeCount, const SpqrTree& tree) {
  const size_t edgeCount = tree.edgeA.size();
  const size_t realCount = static_cast<size_t>(tree.realEdgeCount);
  if (tree.edgeB.size() != edgeCount || tree.twins.size() != edgeCount - realCount)
    return "edge tables differ in size";
  if (tree.nodes.empty()) return "no nodes";
  if (tree.twins.size() + 1 != tree.nodes.size()) return "virtual edges and nodes do not make a tree";
  std::vector<int32_t> holders(edgeCount, 0);
  std::vector<int32_t> nodesAt(static_cast<size_t>(nodeCount), 0);
  std::vector<int32_t> stamp(static_cast<size_t>(nodeCount), -1);
  std::vector<int32_t> degreeIn(static_cast<size_t>(nodeCount), 0);
  for (size_t t = 0; t < tree.nodes.size(); ++t) {
    const SpqrNode& node = tree.nodes[t];
    if (node.edges.size() < 3) return "a node with fewer than three edges";
    int32_t nodes = 0;
    for (int32_t e : node.edges) {
      if (e < 0 || static_cast<size_t>(e) >= edgeCount) return "an edge id out of range";
      ++holders[static_cast<size_t>(e)];
      if (static_cast<size_t>(e) >= realCount) {
        const auto& twin = tree.twins[static_cast<size_t>(e) - realCount];
        if (twin[0] != static_cast<int32_t>(t) && twin[1] != static_cast<int32_t>(t))
          return "a virtual edge in a node that is not its holder";
      }
      for (int32_t x : {tree.edgeA[static_cast<size_t>(e)], tree.edgeB[static_cast<size_t>(e)]}) {
        if (x < 0 || x >= nodeCount) return "an end out of range";
        if (stamp[static_cast<size_t>(x)] != static_cast<int32_t>(t)) {
          stamp[static_cast<size_t>(x)] = static_cast<int32_t>(t);
          degreeIn[static_cast<size_t>(x)] = 0;
          ++nodesAt[static_cast<size_t>(x)];
          ++nodes;
        }
        ++degreeIn[static_cast<size_t>(x)];
      }
    }
    switch (node.kind) {
      case SkeletonKind::kBond:
        if (nodes != 2) return "a bond with more than two ends";
        break;
      case SkeletonKind::kPolygon: {
        if (static_cast<size_t>(nodes) != node.edges.size()) return "a polygon that is not a cycle";
        for (int32_t e : node.edges)
          if (degreeIn[static_cast<size_t>(tree.edgeA[static_cast<size_t>(e)])] != 2 ||
              degreeIn[static_cast<size_t>(tree.edgeB[static_cast<size_t>(e)])] != 2)
            return "a polygon that is not a cycle";
        break;
      }
      case SkeletonKind::kRigid: {
        if (nodes < 4) return "a rigid node with fewer than four ends";
        for (int32_t e : node.edges)
          if (degreeIn[static_cast<size_t>(tree.edgeA[static_cast<size_t>(e)])] < 3 ||
              degreeIn[static_cast<size_t>(tree.edgeB[static_cast<size_t>(e)])] < 3)
            return "a rigid node with an end of degree below three";
        break;
      }
    }
  }
  for (size_t e = 0; e < edgeCount; ++e)
    if (holders[e] != (e < realCount ? 1 : 2)) return "an edge not held by the right number of nodes";
  // Each graph node's skeletons form a subtree: they are joined by the virtual edges that
  // end at the node, which must then be one fewer than the skeletons. This also makes two
  // skeletons joined by a virtual edge share its two ends and nothing else.
  std::vector<int32_t> links(static_cast<size_t>(nodeCount), 0);
  for (size_t e = realCount; e < edgeCount; ++e) {
    ++links[static_cast<size_t>(tree.edgeA[e])];
    ++links[static_cast<size_t>(tree.edgeB[e])];
  }
  for (int32_t x = 0; x < nodeCount; ++x)
    if (nodesAt[static_cast<size_t>(x)] == 0 ||
        links[static_cast<size_t>(x)] != nodesAt[static_cast<size_t>(x)] - 1)
      return "the skeletons of a graph node do not form a subtree";
  // Connected: a tree has no cycle among its nodes when every node is reached once.
  std::vector<std::vector<int32_t>> adjacent(tree.nodes.size());
  for (const auto& twin : tree.twins) {
    adjacent[static_cast<size_t>(twin[0])].push_back(twin[1]);
    adjacent[static_cast<size_t>(twin[1])].push_back(twin[0]);
  }
  std::vector<uint8_t> reached(tree.nodes.size(), 0);
  std::vector<int32_t> stack{0};
  reached[0] = 1;
  size_t count = 1;
  while (!stack.empty()) {
    const int32_t t = stack.back();
    stack.pop_back();
    for (int32_t u : adjacent[static_cast<size_t>(t)])
      if (!reached[static_cast<size_t>(u)]) {
        reached[static_cast<size_t>(u)] = 1;
        ++count;
        stack.push_back(u);
      }
  }
  if (count != tree.nodes.size()) return "the nodes are not connected";
  return {};
}

SpqrStatus buildSpqrTree(const PartGraph& graph, const StopToken& stop, SpqrTree& tree) {
  if (graph.nodeCount < 3 || graph.edges.size() < 3) return SpqrStatus::kNotBiconnected;
  Splitter splitter(graph, stop);
  return splitter.run(tree);
}

}  // namespace hc
