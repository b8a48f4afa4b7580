// The witness search (see certificate_witness.h). The scratch arrays are the thread's own
// and keep their size between calls: a search can ask at many of its leaves.
#include "solve/certificate_witness.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace hc {

using certcheck::BranchState;
using certcheck::kDeleted;
using certcheck::kForced;
using certcheck::kOpen;

namespace {

struct Scratch {
  std::vector<int32_t> order, low, parentEdge, stack, component, list, crossing;
  std::vector<size_t> next;
  std::vector<int8_t> colour;
  void resize(size_t n) {
    for (std::vector<int32_t>* v : {&order, &low, &parentEdge, &component}) v->assign(n, -1);
    next.assign(n, 0);
    colour.assign(n, 0);
    stack.clear();
    list.clear();
  }
};

std::string leaf(const char* keyword, const std::vector<int32_t>& nodes) {
  std::string out = keyword;
  for (int32_t v : nodes) {
    out += ' ';
    out += std::to_string(v);
  }
  return out;
}

// The nodes reachable from `start` over edges that pass `usable`, marked in `component`
// with `id`.
template <class Usable>
std::vector<int32_t> reach(const BranchState& b, int32_t start, int32_t id, Scratch& s, Usable usable) {
  std::vector<int32_t> nodes{start};
  s.component[static_cast<size_t>(start)] = id;
  for (size_t k = 0; k < nodes.size(); ++k)
    for (const BranchState::Incidence& i : b.incident(nodes[k]))
      if (usable(i.edge) && s.component[static_cast<size_t>(i.node)] != id) {
        s.component[static_cast<size_t>(i.node)] = id;
        nodes.push_back(i.node);
      }
  return nodes;
}

// Components, a cut node and the bipartition of the edges left, by one depth-first pass.
std::string connectivityLeaf(const BranchState& b, Scratch& s) {
  const int32_t n = b.nodes();
  int32_t time = 0, rootChildren = 0, cutNode = -1;
  bool bipartite = true;
  int64_t sides[2] = {0, 0};
  auto visit = [&](int32_t w, int32_t edge, int8_t colour) {
    s.order[static_cast<size_t>(w)] = s.low[static_cast<size_t>(w)] = time++;
    s.parentEdge[static_cast<size_t>(w)] = edge;
    s.colour[static_cast<size_t>(w)] = colour;
    ++sides[colour];
    s.stack.push_back(w);
    s.list.push_back(w);
  };
  visit(0, -1, 0);
  while (!s.stack.empty()) {
    const int32_t v = s.stack.back();
    const auto incident = b.incident(v);
    size_t& k = s.next[static_cast<size_t>(v)];
    if (k < incident.size()) {
      const BranchState::Incidence i = incident[k++];
      if (b.status(i.edge) == kDeleted || i.edge == s.parentEdge[static_cast<size_t>(v)]) continue;
      const auto w = static_cast<size_t>(i.node);
      if (s.order[w] < 0) {
        rootChildren += v == 0;
        visit(i.node, i.edge, static_cast<int8_t>(1 - s.colour[static_cast<size_t>(v)]));
      } else {
        bipartite = bipartite && s.colour[w] != s.colour[static_cast<size_t>(v)];
        s.low[static_cast<size_t>(v)] = std::min(s.low[static_cast<size_t>(v)], s.order[w]);
      }
      continue;
    }
    s.stack.pop_back();
    if (s.stack.empty()) break;
    const int32_t p = s.stack.back();
    s.low[static_cast<size_t>(p)] = std::min(s.low[static_cast<size_t>(p)], s.low[static_cast<size_t>(v)]);
    if (p != 0 && cutNode < 0 && s.low[static_cast<size_t>(v)] >= s.order[static_cast<size_t>(p)])
      cutNode = p;
  }
  if (time < n) {
    // In pieces: the smaller of node 0's piece and the first other one, which no edge leaves.
    std::vector<int32_t> piece = s.list;
    if (2 * static_cast<int64_t>(piece.size()) > n) {
      int32_t other = 0;
      while (s.order[static_cast<size_t>(other)] >= 0) ++other;
      piece = reach(b, other, 1, s, [&b](int32_t e) { return b.status(e) != kDeleted; });
    }
    std::sort(piece.begin(), piece.end());
    return leaf("cut", piece);
  }
  if (rootChildren > 1) cutNode = 0;
  if (cutNode >= 0) return "separator " + std::to_string(cutNode);
  if (bipartite && sides[0] != sides[1]) {
    const int8_t smaller = sides[0] < sides[1] ? 0 : 1;
    std::vector<int32_t> side;
    for (int32_t v = 0; v < n; ++v)
      if (s.colour[static_cast<size_t>(v)] == smaller) side.push_back(v);
    return leaf("bipartite", side);
  }
  return {};
}

// A piece of the open edges with an odd number of forced edges leaving it (every edge that
// leaves it is forced or deleted, since an open one would join it to more).
std::string parityLeaf(const BranchState& b, Scratch& s) {
  const int32_t n = b.nodes();
  std::fill(s.component.begin(), s.component.end(), -1);
  int32_t pieces = 0;
  for (int32_t v = 0; v < n; ++v) {
    if (s.component[static_cast<size_t>(v)] >= 0) continue;
    reach(b, v, pieces++, s, [&b](int32_t e) { return b.status(e) == kOpen; });
  }
  if (pieces < 2) return {};
  s.crossing.assign(static_cast<size_t>(pieces), 0);
  for (size_t e = 0; e < b.edges().size(); ++e) {
    if (b.status(static_cast<int32_t>(e)) != kForced) continue;
    const int32_t cu = s.component[static_cast<size_t>(b.edges()[e].first)];
    const int32_t cv = s.component[static_cast<size_t>(b.edges()[e].second)];
    if (cu == cv) continue;
    ++s.crossing[static_cast<size_t>(cu)];
    ++s.crossing[static_cast<size_t>(cv)];
  }
  for (int32_t c = 0; c < pieces; ++c) {
    if (s.crossing[static_cast<size_t>(c)] % 2 == 0) continue;
    std::vector<int32_t> piece;
    for (int32_t v = 0; v < n; ++v)
      if (s.component[static_cast<size_t>(v)] == c) piece.push_back(v);
    return leaf("parity", piece);
  }
  return {};
}

}  // namespace

std::string findWitnessLeaf(BranchState& branch) {
  if (branch.nodes() < 3 || !branch.contradiction().empty()) return {};
  thread_local Scratch scratch;
  scratch.resize(static_cast<size_t>(branch.nodes()));
  if (std::string found = connectivityLeaf(branch, scratch); !found.empty()) return found;
  return parityLeaf(branch, scratch);
}

}  // namespace hc
