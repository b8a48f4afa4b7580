#include "solve/path_treap.h"

#include <utility>

namespace hc {

PathTreap::PathTreap(int32_t nodeCount, uint64_t seed) : salt_(seed * 0x2545F4914F6CDD1Dull) {
  const size_t n = static_cast<size_t>(nodeCount);
  cells_.resize(n);
  scratch_.resize(n);
  for (size_t v = 0; v < n; ++v) {
    cells_[v].child[0] = cells_[v].child[1] = cells_[v].parent = -1;
    cells_[v].size = 1;
    cells_[v].flip = 0;
    cells_[v].inPath = 0;
  }
}

void PathTreap::clear() {
  if (root_ == -1) return;
  size_t top = 0;
  scratch_[top++] = root_;
  while (top > 0) {
    Cell& c = cell(scratch_[--top]);
    for (int32_t child : c.child)
      if (child != -1) scratch_[top++] = child;
    c.inPath = 0;
  }
  root_ = -1;
}

void PathTreap::makeSingle(int32_t v) {
  Cell& c = cell(v);
  c.child[0] = c.child[1] = c.parent = -1;
  c.size = 1;
  c.flip = 0;
  c.inPath = 1;
}

void PathTreap::pushBack(int32_t v) {
  makeSingle(v);
  root_ = merge(root_, v);
  cell(root_).parent = -1;
}

void PathTreap::pushFront(int32_t v) {
  makeSingle(v);
  root_ = merge(v, root_);
  cell(root_).parent = -1;
}

void PathTreap::pushDown(int32_t t) {
  Cell& c = cell(t);
  if (c.flip == 0) return;
  std::swap(c.child[0], c.child[1]);
  for (int32_t child : c.child)
    if (child != -1) cell(child).flip ^= 1;
  c.flip = 0;
}

void PathTreap::update(int32_t t) {
  Cell& c = cell(t);
  c.size = static_cast<uint32_t>(1 + sizeOf(c.child[0]) + sizeOf(c.child[1]));
  for (int32_t child : c.child)
    if (child != -1) cell(child).parent = t;
}

void PathTreap::split(int32_t t, int32_t k, int32_t& left, int32_t& right) {
  if (t == -1) {
    left = right = -1;
    return;
  }
  pushDown(t);
  Cell& c = cell(t);
  if (sizeOf(c.child[0]) >= k) {
    split(c.child[0], k, left, c.child[0]);
    right = t;
  } else {
    split(c.child[1], k - sizeOf(c.child[0]) - 1, c.child[1], right);
    left = t;
  }
  update(t);
  c.parent = -1;  // the caller links it again if it has a parent
}

int32_t PathTreap::merge(int32_t a, int32_t b) {
  if (a == -1) return b;
  if (b == -1) return a;
  if (priority(a) > priority(b)) {
    pushDown(a);
    cell(a).child[1] = merge(cell(a).child[1], b);
    update(a);
    return a;
  }
  pushDown(b);
  cell(b).child[0] = merge(a, cell(b).child[0]);
  update(b);
  return b;
}

int32_t PathTreap::indexOf(int32_t v) {
  // One read-only climb. Whether a subtree is reversed depends on the flags of all its
  // ancestors up to the root, known only at the top, so the position is summed for both
  // parities of the whole climb and the right one is picked at the end.
  int32_t index[2] = {sizeOf(cell(v).child[0]), sizeOf(cell(v).child[1])};
  uint8_t below = cell(v).flip;  // parity of the flags from v up to t
  for (int32_t t = v, p = cell(v).parent; p != -1; t = p, p = cell(p).parent) {
    const Cell& c = cell(p);
    for (int total = 0; total < 2; ++total) {
      const int r = total ^ below;  // p's subtree reversed, if the whole parity is `total`
      if (c.child[1 - r] == t) index[total] += sizeOf(c.child[r]) + 1;
    }
    below ^= c.flip;
  }
  lastReversed_ = below;  // now the parity of every flag from v to the root
  return index[below];
}

int32_t PathTreap::neighbourAfterIndexOf(int32_t v, bool forward) {
  const int side = forward ? 1 : 0;
  int reversed = lastReversed_;  // of v's subtree
  if (int32_t t = cell(v).child[side ^ reversed]; t != -1) {
    // The nearest node of that subtree: down the other side.
    for (reversed ^= cell(t).flip;; reversed ^= cell(t).flip) {
      const int32_t next = cell(t).child[(1 - side) ^ reversed];
      if (next == -1) return t;
      t = next;
    }
  }
  // Up until we arrive from the other side.
  for (int32_t t = v, p = cell(v).parent; p != -1; t = p, p = cell(p).parent) {
    reversed ^= cell(t).flip;  // now p's
    if (cell(p).child[(1 - side) ^ reversed] == t) return p;
  }
  return -1;
}

int32_t PathTreap::at(int32_t i) {
  int32_t t = root_;
  for (;;) {
    pushDown(t);
    const int32_t leftSize = sizeOf(cell(t).child[0]);
    if (i < leftSize) {
      t = cell(t).child[0];
    } else if (i == leftSize) {
      return t;
    } else {
      i -= leftSize + 1;
      t = cell(t).child[1];
    }
  }
}

void PathTreap::appendInOrder(std::vector<int32_t>& out) {
  // Down the left spine pushing the flags down, then each node, then its right subtree.
  size_t top = 0;
  for (int32_t t = root_;;) {
    for (; t != -1; t = cell(t).child[0]) {
      pushDown(t);
      scratch_[top++] = t;
    }
    if (top == 0) return;
    const int32_t v = scratch_[--top];
    out.push_back(v);
    t = cell(v).child[1];
  }
}

void PathTreap::reverseSide(int32_t i, bool suffix) {
  int32_t a = -1;
  int32_t b = -1;
  split(root_, i, a, b);
  if (int32_t flipped = suffix ? b : a; flipped != -1) cell(flipped).flip ^= 1;
  root_ = merge(a, b);
  if (root_ != -1) cell(root_).parent = -1;
}

void PathTreap::splice(int32_t i, int32_t j, int32_t v, bool atBack) {
  int32_t head = -1;
  int32_t rest = -1;
  int32_t middle = -1;
  int32_t tail = -1;
  split(root_, i, head, rest);
  split(rest, j - i, middle, tail);
  makeSingle(v);
  root_ = atBack ? merge(merge(merge(head, v), tail), middle) : merge(merge(merge(middle, head), v), tail);
  cell(root_).parent = -1;
}

void PathTreap::reverseSuffix(int32_t i) {
  reverseSide(i, true);
}
void PathTreap::reversePrefix(int32_t i) {
  reverseSide(i, false);
}

}  // namespace hc
