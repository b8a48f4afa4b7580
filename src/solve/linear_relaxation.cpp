// The linear relaxation (see linear_relaxation.h): an elastic linear program solved by CLP,
// subtour inequalities separated on the support of each solution, and an integer proof
// rounded from the row prices and checked exactly.
#include "solve/linear_relaxation.h"

#include <ClpEventHandler.hpp>
#include <ClpSimplex.hpp>
#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <set>
#include <tuple>

namespace hc {

namespace {

// Below this a primal value counts as 0 (the support), above 1 - it as 1 (shrunk).
constexpr double kZero = 1e-7;
// An optimum of the elastic program above this is infeasibility; a cut below 2 - this is violated.
constexpr double kViolation = 1e-6;
// Rounds of merging before the minimum cuts of what is left are searched.
constexpr int32_t kShrinkPasses = 40;

// Ends a solve (status "stopped by event") once the run's stop says so.
class StopHandler : public ClpEventHandler {
 public:
  explicit StopHandler(const StopToken& stop) : stop_(&stop) {}
  int event(Event which) override { return which == endOfIteration && stop_->poll() ? 0 : -1; }
  // CLP keeps a clone of its handler and owns it.
  ClpEventHandler* clone() const override { return new StopHandler(*this); }

 private:
  const StopToken* stop_;
};

struct UnionFind {
  std::vector<int32_t> parent;
  explicit UnionFind(int32_t n) : parent(static_cast<size_t>(n)) {
    std::iota(parent.begin(), parent.end(), 0);
  }
  int32_t find(int32_t v) {
    while (parent[static_cast<size_t>(v)] != v)
      v = parent[static_cast<size_t>(v)] = parent[static_cast<size_t>(parent[static_cast<size_t>(v)])];
    return v;
  }
  void unite(int32_t a, int32_t b) { parent[static_cast<size_t>(find(a))] = find(b); }
};

// Maximum flow on an undirected graph with real capacities, from a growing set of source
// nodes to one sink, up to a cap (2 here), by blocking flows (Dinic): one breadth-first
// search per phase (ending at the sink's level), then every shortest path of that phase by
// depth-first search with a current arc per node.
class FlowNetwork {
 public:
  explicit FlowNetwork(int32_t n)
      : head_(static_cast<size_t>(n), -1), level_(static_cast<size_t>(n)), current_(static_cast<size_t>(n)) {}
  void addEdge(int32_t a, int32_t b, double capacity) {
    arcs_.push_back({b, head_[static_cast<size_t>(a)], capacity, capacity});
    head_[static_cast<size_t>(a)] = static_cast<int32_t>(arcs_.size() - 1);
    arcs_.push_back({a, head_[static_cast<size_t>(b)], capacity, capacity});
    head_[static_cast<size_t>(b)] = static_cast<int32_t>(arcs_.size() - 1);
  }
  // The flow from the sources (addSource) to t, or `cap` and more; below the cap
  // onSourceSide() then marks the side of a minimum cut that the sources are on.
  double maxFlow(int32_t t, double cap) {
    for (Arc& a : arcs_) a.residual = a.capacity;
    double flow = 0.0;
    for (int32_t phases = 0; flow < cap - kZero && levels(t); ++phases) {
      if (phases == kMaxPhases) return cap;  // rounding noise: give no cut rather than loop
      current_ = head_;
      for (int32_t s : sources_)
        for (double pushed = 1.0; pushed > 0.0 && flow < cap - kZero;)
          flow += pushed = augment(s, t, cap - flow);
    }
    return flow;
  }
  void addSource(int32_t v) { sources_.push_back(v); }
  // The nodes in breadth-first order from v, then those it does not reach.
  std::vector<int32_t> order(int32_t v) {
    std::fill(level_.begin(), level_.end(), -1);
    level_[static_cast<size_t>(v)] = 0;
    queue_.assign(1, v);
    for (size_t k = 0; k < queue_.size(); ++k)
      for (int32_t a = head_[static_cast<size_t>(queue_[k])]; a >= 0; a = arcs_[static_cast<size_t>(a)].next)
        if (const int32_t to = arcs_[static_cast<size_t>(a)].to; level_[static_cast<size_t>(to)] < 0) {
          level_[static_cast<size_t>(to)] = 0;
          queue_.push_back(to);
        }
    for (int32_t u = 0; u < static_cast<int32_t>(level_.size()); ++u)
      if (level_[static_cast<size_t>(u)] < 0) queue_.push_back(u);  // unreachable: their flow is 0
    return queue_;
  }
  bool onSourceSide(int32_t v) const { return level_[static_cast<size_t>(v)] >= 0; }

 private:
  static constexpr int32_t kMaxPhases = 64;
  // Room below this is rounding noise (a path through it would carry next to nothing).
  static constexpr double kRoom = 1e-6;
  struct Arc {
    int32_t to;
    int32_t next;
    double capacity;
    double residual;
  };
  bool open(int32_t a) const { return arcs_[static_cast<size_t>(a)].residual > kRoom; }
  // Breadth-first levels from the sources over arcs with room, up to t's; true when t is
  // reached. When it is not, the nodes reached (level >= 0) are the source side of a
  // minimum cut.
  bool levels(int32_t t) {
    std::fill(level_.begin(), level_.end(), -1);
    queue_ = sources_;
    for (int32_t s : sources_) level_[static_cast<size_t>(s)] = 0;
    for (size_t k = 0; k < queue_.size() && level_[static_cast<size_t>(t)] < 0; ++k)
      for (int32_t a = head_[static_cast<size_t>(queue_[k])]; a >= 0; a = arcs_[static_cast<size_t>(a)].next)
        if (const int32_t to = arcs_[static_cast<size_t>(a)].to;
            open(a) && level_[static_cast<size_t>(to)] < 0) {
          level_[static_cast<size_t>(to)] = level_[static_cast<size_t>(queue_[k])] + 1;
          queue_.push_back(to);
        }
    return level_[static_cast<size_t>(t)] >= 0;
  }
  // Pushes up to `limit` along one path of the level graph; 0 when none is left. A node
  // found to lead nowhere leaves the level graph.
  double augment(int32_t s, int32_t t, double limit) {
    path_.clear();
    for (int32_t v = s; v != t;) {
      int32_t& a = current_[static_cast<size_t>(v)];
      while (a >= 0 && (!open(a) || level_[static_cast<size_t>(arcs_[static_cast<size_t>(a)].to)] !=
                                        level_[static_cast<size_t>(v)] + 1))
        a = arcs_[static_cast<size_t>(a)].next;
      if (a >= 0) {
        path_.push_back(a);
        v = arcs_[static_cast<size_t>(a)].to;
        continue;
      }
      if (v == s) return 0.0;
      level_[static_cast<size_t>(v)] = -2;  // a dead end
      v = arcs_[static_cast<size_t>(path_.back() ^ 1)].to;
      path_.pop_back();
    }
    double pushed = limit;
    for (int32_t a : path_) pushed = std::min(pushed, arcs_[static_cast<size_t>(a)].residual);
    for (int32_t a : path_) {
      arcs_[static_cast<size_t>(a)].residual -= pushed;
      arcs_[static_cast<size_t>(a ^ 1)].residual += pushed;
    }
    return pushed;
  }
  std::vector<int32_t> head_, level_, current_, queue_, path_, sources_;
  std::vector<Arc> arcs_;
};

// The separation: node sets S (the smaller side, sorted) with x(delta(S)) < 2.
class Separator {
 public:
  Separator(int32_t n, std::span<const PartEdge> edges, int32_t minimumCutNodes, const StopToken& stop)
      : n_(n),
        edges_(edges),
        minimumCutNodes_(minimumCutNodes),
        stop_(stop),
        first_(static_cast<size_t>(n) + 1, 0),
        incident_(2 * edges.size()),
        mark_(static_cast<size_t>(n), 0) {
    for (const PartEdge& e : edges) {
      ++first_[static_cast<size_t>(e.a) + 1];
      ++first_[static_cast<size_t>(e.b) + 1];
    }
    std::partial_sum(first_.begin(), first_.end(), first_.begin());
    std::vector<int64_t> fill(first_.begin(), first_.end() - 1);
    for (size_t e = 0; e < edges.size(); ++e)
      for (int32_t end : {edges[e].a, edges[e].b})
        incident_[static_cast<size_t>(fill[static_cast<size_t>(end)]++)] = static_cast<int32_t>(e);
  }

  std::vector<std::vector<int32_t>> violated(const double* x) {
    std::vector<std::vector<int32_t>> found;
    // The pieces of the support and of its heavier edges, at a few thresholds: cheap, and
    // often many violated cuts at once.
    std::vector<int32_t> group(static_cast<size_t>(n_));
    for (const double threshold : {kZero, 0.3, 0.5, 0.7, 0.9}) {
      UnionFind heavy(n_);
      for (size_t e = 0; e < edges_.size(); ++e)
        if (x[e] > threshold) heavy.unite(edges_[e].a, edges_[e].b);
      for (int32_t v = 0; v < n_; ++v) group[static_cast<size_t>(v)] = heavy.find(v);
      for (std::vector<int32_t>& side : sides(group)) keep(std::move(side), x, found);
    }
    // Shrinking, by luck and then by the rule, before flows on what is left.
    UnionFind luck(n_), shrink(n_);
    shrinkSupport(luck, x, false, found);
    int32_t k = shrinkSupport(shrink, x, true, found);
    if (k <= 2) return found;
    std::vector<int32_t> id(static_cast<size_t>(n_), -1);
    if (!found.empty() || k > minimumCutNodes_) return found;  // the flows only when nothing else helps
    k = 0;
    for (int32_t v = 0; v < n_; ++v) {
      int32_t& r = id[static_cast<size_t>(shrink.find(v))];
      if (r < 0) r = k++;
    }
    std::vector<std::tuple<int32_t, int32_t, double>> joins;  // between groups, summed
    for (size_t e = 0; e < edges_.size(); ++e) {
      const int32_t a = id[static_cast<size_t>(shrink.find(edges_[e].a))];
      const int32_t b = id[static_cast<size_t>(shrink.find(edges_[e].b))];
      if (a != b && x[e] > kZero) joins.emplace_back(std::min(a, b), std::max(a, b), x[e]);
    }
    std::sort(joins.begin(), joins.end());
    FlowNetwork network(k);
    for (size_t i = 0; i < joins.size();) {
      const auto [a, b, first] = joins[i];
      double w = 0.0;
      for (; i < joins.size() && std::get<0>(joins[i]) == a && std::get<1>(joins[i]) == b; ++i)
        w += std::get<2>(joins[i]);
      network.addEdge(a, b, w);
    }
    // A cut below 2 has group 0 on one side and some group t on the other; taking the groups
    // in breadth-first order, the first such t meets a flow below 2 from the groups before
    // it, as long as only groups whose own flow reached 2 join the source (those lie on the
    // source's side of every cut below 2). So flows capped at 2 find one whenever there is
    // one, each from a source next to its sink. A group already on the far side of a cut
    // found here would only find that cut again.
    std::vector<uint8_t> beyond(static_cast<size_t>(k), 0);
    const std::vector<int32_t> order = network.order(0);
    network.addSource(0);
    for (size_t i = 1; i < order.size() && !stop_.stopRequested(); ++i) {
      const int32_t t = order[i];
      if (beyond[static_cast<size_t>(t)]) continue;
      if (network.maxFlow(t, 2.0) >= 2.0 - kViolation) {
        network.addSource(t);
        continue;
      }
      std::vector<int32_t> inside(static_cast<size_t>(n_));
      for (int32_t v = 0; v < n_; ++v)
        inside[static_cast<size_t>(v)] = network.onSourceSide(id[static_cast<size_t>(shrink.find(v))]);
      for (int32_t g = 0; g < k; ++g) beyond[static_cast<size_t>(g)] |= !network.onSourceSide(g);
      keep(std::move(sides(inside)[0]), x, found);
    }
    return found;
  }

  // Blossoms violated by x: each handle a piece of the edges strictly between 0 and 1, with
  // the teeth that minimise x(delta(H) - T) + |T| - x(T) (the edges above one half, the
  // cheapest one changed when there is an even number of them); violated when that is below 1.
  std::vector<std::pair<std::vector<int32_t>, std::vector<int32_t>>> violatedBlossoms(const double* x) {
    std::vector<std::pair<std::vector<int32_t>, std::vector<int32_t>>> found;
    UnionFind fractional(n_);
    for (size_t e = 0; e < edges_.size(); ++e)
      if (x[e] > kZero && x[e] < 1.0 - kZero) fractional.unite(edges_[e].a, edges_[e].b);
    std::vector<int32_t> group(static_cast<size_t>(n_));
    for (int32_t v = 0; v < n_; ++v) group[static_cast<size_t>(v)] = fractional.find(v);
    for (std::vector<int32_t>& handle : sides(group)) {
      if (handle.size() < 3 || handle.size() + 3 > static_cast<size_t>(n_)) continue;
      std::vector<int32_t> teeth;
      double slack = 0.0;
      int32_t change = -1;  // the edge whose move between T and the rest costs least
      for (int32_t e : across(handle)) {
        const double v = x[e];
        if (v > 0.5) teeth.push_back(e);
        slack += std::min(v, 1.0 - v);
        if (change < 0 || std::abs(1.0 - 2.0 * v) < std::abs(1.0 - 2.0 * x[change])) change = e;
      }
      if (teeth.size() % 2 == 0) {
        if (change < 0) continue;
        slack += std::abs(1.0 - 2.0 * x[change]);
        if (const auto at = std::find(teeth.begin(), teeth.end(), change); at != teeth.end())
          teeth.erase(at);
        else
          teeth.push_back(change);
      }
      if (slack < 1.0 - kViolation && seenBlossoms_.insert(std::pair(handle, teeth)).second)
        found.emplace_back(std::move(handle), std::move(teeth));
    }
    return found;
  }

  // Shrinking (Padberg and Rinaldi): a group v joined to a group u by at least half of
  // v's boundary can move to u's side of any cut without raising it, so a cut below 2
  // survives when v is merged into u. Within one pass a group receives any number of
  // others but does not move itself, which keeps every merge so justified. Every group
  // whose own boundary is below 2 on the way is a violated cut. `exact` merges only as the
  // rule allows; otherwise every pair joined by at least 0.5 is merged too (more violated
  // groups, found by luck). Returns how many groups are left.
  int32_t shrinkSupport(UnionFind& shrink, const double* x, bool exact,
                        std::vector<std::vector<int32_t>>& found) {
    int32_t k = 0;
    for (int32_t pass = 0;; ++pass) {
      std::vector<std::tuple<int32_t, int32_t, double>> joins;  // by group roots, summed
      std::vector<double> boundary(static_cast<size_t>(n_), 0.0);
      for (size_t e = 0; e < edges_.size(); ++e) {
        const int32_t a = shrink.find(edges_[e].a), b = shrink.find(edges_[e].b);
        if (a == b || x[e] <= kZero) continue;
        joins.emplace_back(std::min(a, b), std::max(a, b), x[e]);
        boundary[static_cast<size_t>(a)] += x[e];
        boundary[static_cast<size_t>(b)] += x[e];
      }
      std::sort(joins.begin(), joins.end());
      k = 0;
      for (int32_t v = 0; v < n_; ++v) k += shrink.find(v) == v;
      if (k <= 2) return k;
      std::vector<int32_t> low(static_cast<size_t>(n_), -1);  // groups with a boundary below 2, numbered
      std::vector<std::vector<int32_t>> members;
      for (int32_t v = 0; v < n_; ++v)
        if (shrink.find(v) == v && boundary[static_cast<size_t>(v)] < 2.0 - kViolation) {
          low[static_cast<size_t>(v)] = static_cast<int32_t>(members.size());
          members.emplace_back();
        }
      if (!members.empty()) {
        for (int32_t v = 0; v < n_; ++v)
          if (const int32_t i = low[static_cast<size_t>(shrink.find(v))]; i >= 0)
            members[static_cast<size_t>(i)].push_back(v);
        for (std::vector<int32_t>& group : members) keep(std::move(group), x, found);
      }
      if (pass == kShrinkPasses) break;
      std::vector<uint8_t> role(static_cast<size_t>(n_), 0);  // 1 moves, 2 receives
      bool merged = false;
      for (size_t i = 0; i < joins.size();) {
        const auto [a, b, first] = joins[i];
        double w = 0.0;
        for (; i < joins.size() && std::get<0>(joins[i]) == a && std::get<1>(joins[i]) == b; ++i)
          w += std::get<2>(joins[i]);
        for (auto [mover, target] : {std::pair(a, b), std::pair(b, a)}) {
          if (role[static_cast<size_t>(mover)] != 0 || role[static_cast<size_t>(target)] == 1 ||
              (w < 0.5 * boundary[static_cast<size_t>(mover)] - kZero && (exact || w < 0.5)))
            continue;
          role[static_cast<size_t>(mover)] = 1;
          role[static_cast<size_t>(target)] = 2;
          shrink.parent[static_cast<size_t>(mover)] = target;
          merged = true;
          break;
        }
      }
      if (!merged) break;
    }
    return k;
  }

 private:
  // The node sets of equal `group` values, each sorted.
  std::vector<std::vector<int32_t>> sides(const std::vector<int32_t>& group) const {
    std::vector<int32_t> index(static_cast<size_t>(n_), -1);
    std::vector<std::vector<int32_t>> out;
    for (int32_t v = 0; v < n_; ++v) {
      int32_t& i = index[static_cast<size_t>(group[static_cast<size_t>(v)])];
      if (i < 0) {
        i = static_cast<int32_t>(out.size());
        out.emplace_back();
      }
      out[static_cast<size_t>(i)].push_back(v);
    }
    return out;
  }
  // Takes S (or its complement, whichever is smaller) when it is new, proper and violated by x.
  void keep(std::vector<int32_t> set, const double* x, std::vector<std::vector<int32_t>>& found) {
    if (set.empty() || static_cast<int32_t>(set.size()) >= n_) return;
    if (2 * set.size() > static_cast<size_t>(n_)) {
      std::vector<uint8_t> in(static_cast<size_t>(n_), 0);
      for (int32_t v : set) in[static_cast<size_t>(v)] = 1;
      set.clear();
      for (int32_t v = 0; v < n_; ++v)
        if (!in[static_cast<size_t>(v)]) set.push_back(v);
    }
    double sum = 0.0;
    for (int32_t e : across(set)) sum += x[e];
    if (sum < 2.0 - kViolation && seen_.insert(set).second) found.push_back(std::move(set));
  }

 public:
  // The edges with one end in `set`.
  std::vector<int32_t> across(const std::vector<int32_t>& set) {
    ++stamp_;
    for (int32_t v : set) mark_[static_cast<size_t>(v)] = stamp_;
    std::vector<int32_t> out;
    for (int32_t v : set)
      for (int64_t k = first_[static_cast<size_t>(v)]; k < first_[static_cast<size_t>(v) + 1]; ++k) {
        const int32_t e = incident_[static_cast<size_t>(k)];
        const PartEdge& edge = edges_[static_cast<size_t>(e)];
        if (mark_[static_cast<size_t>(edge.a == v ? edge.b : edge.a)] != stamp_) out.push_back(e);
      }
    return out;
  }

 private:
  int32_t n_;
  std::span<const PartEdge> edges_;
  int32_t minimumCutNodes_;
  const StopToken& stop_;
  std::set<std::vector<int32_t>> seen_;
  std::set<std::pair<std::vector<int32_t>, std::vector<int32_t>>> seenBlossoms_;
  std::vector<int64_t> first_;  // incident_ from first_[v] to first_[v + 1]: v's edges
  std::vector<int32_t> incident_;
  std::vector<uint32_t> mark_;
  uint32_t stamp_ = 0;
};

// A row added to the program: a cut (no teeth) or a blossom.
struct AddedRow {
  std::vector<int32_t> set;
  std::vector<int32_t> teeth;  // edge indices
};

// Integer multipliers from the row prices, scaled by `scale`.
RelaxationProof rounded(const double* prices, int32_t n, std::span<const PartEdge> edges,
                        const std::vector<AddedRow>& added, double scale) {
  RelaxationProof proof;
  for (int32_t v = 0; v < n; ++v)
    if (const auto y = static_cast<int64_t>(std::llround(prices[v] * scale)); y != 0)
      proof.nodes.emplace_back(v, y);
  for (size_t c = 0; c < added.size(); ++c) {
    const auto y = static_cast<int64_t>(std::llround(prices[static_cast<size_t>(n) + c] * scale));
    if (y <= 0) continue;
    if (added[c].teeth.empty()) {
      proof.cuts.emplace_back(y, added[c].set);
      continue;
    }
    RelaxationBlossom& b = proof.blossoms.emplace_back();
    b.multiplier = y;
    b.handle = added[c].set;
    for (int32_t e : added[c].teeth)
      b.teeth.emplace_back(edges[static_cast<size_t>(e)].a, edges[static_cast<size_t>(e)].b);
  }
  return proof;
}

}  // namespace

bool provesNoCycle(int32_t n, std::span<const PartEdge> edges, const RelaxationProof& proof) {
  using Wide = __int128;
  constexpr int64_t kLargest = int64_t{1} << 40;
  std::vector<Wide> y(static_cast<size_t>(n), 0);
  Wide bound = 0;
  for (const auto& [v, m] : proof.nodes) {
    if (v < 0 || v >= n || m < -kLargest || m > kLargest) return false;
    y[static_cast<size_t>(v)] += m;
    bound += 2 * static_cast<Wide>(m);
  }
  std::vector<Wide> a(edges.size(), 0);
  for (size_t e = 0; e < edges.size(); ++e)
    a[e] = y[static_cast<size_t>(edges[e].a)] + y[static_cast<size_t>(edges[e].b)];
  std::vector<uint32_t> mark(static_cast<size_t>(n), 0);
  uint32_t stamp = 0;
  for (const auto& [m, set] : proof.cuts) {
    if (m < 1 || m > kLargest || set.empty() || static_cast<int32_t>(set.size()) >= n) return false;
    ++stamp;
    for (int32_t v : set) {
      if (v < 0 || v >= n || mark[static_cast<size_t>(v)] == stamp) return false;
      mark[static_cast<size_t>(v)] = stamp;
    }
    for (size_t e = 0; e < edges.size(); ++e)
      if ((mark[static_cast<size_t>(edges[e].a)] == stamp) !=
          (mark[static_cast<size_t>(edges[e].b)] == stamp))
        a[e] += m;
    bound += 2 * static_cast<Wide>(m);
  }
  for (const RelaxationBlossom& b : proof.blossoms) {
    const int64_t m = b.multiplier;
    if (m < 1 || m > kLargest || b.handle.empty() || static_cast<int32_t>(b.handle.size()) >= n ||
        b.teeth.size() % 2 == 0)
      return false;
    ++stamp;
    for (int32_t v : b.handle) {
      if (v < 0 || v >= n || mark[static_cast<size_t>(v)] == stamp) return false;
      mark[static_cast<size_t>(v)] = stamp;
    }
    auto inside = [&](int32_t v) { return mark[static_cast<size_t>(v)] == stamp; };
    std::vector<int32_t> teeth;
    for (const auto& [u, v] : b.teeth) {
      const auto at = std::find_if(edges.begin(), edges.end(), [&](const PartEdge& e) {
        return (e.a == u && e.b == v) || (e.a == v && e.b == u);
      });
      if (u < 0 || v < 0 || u >= n || v >= n || at == edges.end() || inside(u) == inside(v)) return false;
      teeth.push_back(static_cast<int32_t>(at - edges.begin()));
    }
    std::sort(teeth.begin(), teeth.end());
    if (std::adjacent_find(teeth.begin(), teeth.end()) != teeth.end()) return false;
    for (size_t e = 0; e < edges.size(); ++e)
      if (inside(edges[e].a) != inside(edges[e].b)) a[e] += m;
    for (int32_t e : teeth) a[static_cast<size_t>(e)] -= 2 * static_cast<Wide>(m);
    bound += static_cast<Wide>(m) * (1 - static_cast<Wide>(teeth.size()));
  }
  Wide largest = 0;
  for (size_t e = 0; e < edges.size(); ++e)
    if (edges[e].forced || a[e] > 0) largest += a[e];
  return largest < bound;
}

LinearRelaxationResult solveLinearRelaxation(int32_t n, std::span<const PartEdge> edges,
                                             const StopToken& stop, const LinearRelaxationOptions& options) {
  LinearRelaxationResult result;
  if (n < 3) return result;
  // Columns: the edges, then a slack up and a slack down per node (cost 1 each).
  const auto m = static_cast<int32_t>(edges.size());
  const int32_t columns = m + 2 * n;
  std::vector<CoinBigIndex> starts{0};
  std::vector<int32_t> rows;
  std::vector<double> values, lower(static_cast<size_t>(columns), 0.0),
      upper(static_cast<size_t>(columns), 1.0), cost(static_cast<size_t>(columns), 0.0);
  for (int32_t e = 0; e < m; ++e) {
    rows.insert(rows.end(), {edges[static_cast<size_t>(e)].a, edges[static_cast<size_t>(e)].b});
    values.insert(values.end(), {1.0, 1.0});
    starts.push_back(static_cast<CoinBigIndex>(rows.size()));
    if (edges[static_cast<size_t>(e)].forced) lower[static_cast<size_t>(e)] = 1.0;
  }
  for (int32_t k = 0; k < 2 * n; ++k) {
    rows.push_back(k / 2);
    values.push_back(k % 2 ? -1.0 : 1.0);
    starts.push_back(static_cast<CoinBigIndex>(rows.size()));
    upper[static_cast<size_t>(m + k)] = std::numeric_limits<double>::max();
    cost[static_cast<size_t>(m + k)] = 1.0;
  }
  const std::vector<double> two(static_cast<size_t>(n), 2.0);
  ClpSimplex model;
  model.setLogLevel(0);
  model.loadProblem(columns, n, starts.data(), rows.data(), values.data(), lower.data(), upper.data(),
                    cost.data(), two.data(), two.data());
  const StopHandler handler(stop);
  model.passInEventHandler(&handler);

  Separator separator(n, edges, options.minimumCutNodes, stop);
  std::vector<AddedRow> added;
  while (result.rounds < options.maxRounds && !stop.stopRequested()) {
    // Not initialSolve(): it puts its own Ctrl-C handler in place of the process's while it
    // runs (and back after it, racing any other thread that does the same), so a Ctrl-C
    // would stop that one simplex call and never the run.
    if (result.rounds++ == 0)
      model.primal();
    else
      model.dual();
    if (!model.isProvenOptimal()) return result;
    if (model.objectiveValue() > kViolation) {
      // The row prices sum the rows to a contradiction; kept only when the rounded sum is one.
      for (const double scale : {1.0, 2.0, 6.0, 12.0, 60.0, 840.0, 1048576.0, 1073741824.0}) {
        RelaxationProof proof = rounded(model.dualRowSolution(), n, edges, added, scale);
        if (provesNoCycle(n, edges, proof)) {
          result.outcome = RelaxationOutcome::kNoCycle;
          result.proof = std::move(proof);
          return result;
        }
      }
      return result;
    }
    const double* x = model.primalColumnSolution();
    std::vector<AddedRow> found;
    for (std::vector<int32_t>& set : separator.violated(x)) found.push_back({std::move(set), {}});
    if (found.empty() && options.blossoms)
      for (auto& [handle, teeth] : separator.violatedBlossoms(x))
        found.push_back({std::move(handle), std::move(teeth)});
    if (found.empty()) {
      result.outcome = RelaxationOutcome::kFeasible;
      return result;
    }
    for (AddedRow& row : found) {
      // x(delta(S)) >= 2, or x(delta(H) - T) - x(T) >= 1 - |T|; each with its elastic slack.
      const std::vector<int32_t> across = separator.across(row.set);
      std::vector<double> signs(across.size(), 1.0);
      for (size_t k = 0; k < across.size(); ++k)
        if (std::find(row.teeth.begin(), row.teeth.end(), across[k]) != row.teeth.end()) signs[k] = -1.0;
      const double least = row.teeth.empty() ? 2.0 : 1.0 - static_cast<double>(row.teeth.size());
      model.addRow(static_cast<int>(across.size()), across.data(), signs.data(), least,
                   std::numeric_limits<double>::max());
      const int index = model.numberRows() - 1;
      const double one = 1.0;
      model.addColumn(1, &index, &one, 0.0, std::numeric_limits<double>::max(), 1.0);
      (row.teeth.empty() ? result.cuts : result.blossoms) += 1;
      added.push_back(std::move(row));
    }
  }
  return result;
}

LinearRelaxationResult solveLinearRelaxation(const Graph& graph, const StopToken& stop,
                                             const LinearRelaxationOptions& options) {
  std::vector<PartEdge> edges;
  edges.reserve(static_cast<size_t>(graph.howManyEdges));
  for (int32_t v = 0; v < graph.howManyNodes; ++v) {
    const Node& node = graph.node(v);
    for (int32_t k = 0; k < node.degree; ++k)
      if (const int32_t w = node.neighborArray[k]; w > v)
        edges.push_back(
            {v, w, node.howManyUncuttable <= 2 && (node.uncuttable1 == w || node.uncuttable2 == w)});
  }
  std::sort(edges.begin(), edges.end(),
            [](const PartEdge& x, const PartEdge& y) { return std::pair(x.a, x.b) < std::pair(y.a, y.b); });
  edges.erase(std::unique(edges.begin(), edges.end(),
                          [](const PartEdge& x, const PartEdge& y) { return x.a == y.a && x.b == y.b; }),
              edges.end());
  return solveLinearRelaxation(graph.howManyNodes, edges, stop, options);
}

}  // namespace hc
