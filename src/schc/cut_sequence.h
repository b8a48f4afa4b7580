// An ordered list of (node, node) pairs with the percentage of forced edges the graph
// reached when it was recorded. The cut-sequence learning mill records its random
// deletions in one; the Co-HC forcing probes record their forcings in one. Pairs are added
// at the back and taken out from the front.
#pragma once

#include <cstdint>
#include <deque>
#include <utility>

namespace hc {

struct CutPair {
  int32_t first = -1;
  int32_t second = -1;
};

struct CutSequence {
  int32_t count = 0;          // pairs held
  double percentage = -1.0;   // forced edges x 100 / nodes when the sequence ended; -1 when new
  std::deque<CutPair> pairs;  // in the order added

  void add(int32_t a, int32_t b) {
    pairs.push_back(CutPair{a, b});
    ++count;
  }
  bool empty() const { return pairs.empty(); }
  // Removes and returns the oldest pair. Precondition: not empty.
  CutPair takeFront() {
    CutPair front = pairs.front();
    pairs.pop_front();
    --count;
    return front;
  }
  void clear() {
    pairs.clear();
    count = 0;
  }
};

}  // namespace hc
