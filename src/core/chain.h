// A maximal path of forced edges with at least two nodes. Only its two ends know it (their
// isHead is 1 and whichChain is the chain's index); a chain closed into a cycle has both
// heads equal to the node whose forcing closed it.
#pragma once

#include <cstdint>

namespace hc {

struct Chain {
  int32_t head1 = -1;
  int32_t head2 = -1;
  int32_t members = 0;  // nodes on the path, ends included
  int16_t isRing = 0;   // closed into a cycle through fewer than all nodes

  void reset() { *this = Chain{}; }
};

}  // namespace hc
