// The path of the rotation finder: a sequence of distinct node ids kept in an implicit
// treap (a randomised balanced tree ordered by position) with a reversal flag per subtree
// and parent links. Appending at either end, the position of a node, its neighbours on the
// path and reversing a prefix or a suffix each take O(log n) expected time, so a rotation
// no longer costs a walk over the path. A tree node's fields share one cache line, and all
// storage is sized once for the node count; no operation allocates.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace hc {

class PathTreap {
 public:
  // Room for nodes 0..nodeCount-1; `seed` fixes the tree shapes.
  PathTreap(int32_t nodeCount, uint64_t seed);

  // Empties the path in O(length).
  void clear();
  int32_t length() const { return root_ == -1 ? 0 : static_cast<int32_t>(cell(root_).size); }
  bool contains(int32_t v) const { return cell(v).inPath != 0; }

  // Adds `v` (not on the path) at the back or at the front.
  void pushBack(int32_t v);
  void pushFront(int32_t v);

  // Position of `v` on the path (0 = front). `v` must be on the path.
  int32_t indexOf(int32_t v);
  // The node after (`forward`) or before `v` on the path, -1 past an end. `v` must be on
  // the path and indexOf(v) the last call made.
  int32_t neighbourAfterIndexOf(int32_t v, bool forward);
  // The node at position `i` (0 <= i < length).
  int32_t at(int32_t i);
  // Appends the whole path to `out`, front to back, in O(length).
  void appendInOrder(std::vector<int32_t>& out);
  // With `v` not on the path and 0 < i < j < length: the path cut into [0, i), [i, j) and
  // [j, length) becomes [0, i) v [j, length) [i, j) (`atBack`) or, with 0 < i < j <= length,
  // [i, j) [0, i) v [j, length).
  void splice(int32_t i, int32_t j, int32_t v, bool atBack);
  // Reverses positions i..length-1 (suffix) or 0..i-1 (prefix).
  void reverseSuffix(int32_t i);
  void reversePrefix(int32_t i);

 private:
  // Sixteen bytes, so that more of a large path's tree stays in the caches; the priority
  // is a hash of the node and the seed rather than a field.
  struct Cell {
    int32_t child[2];  // left, right
    int32_t parent;
    uint32_t size : 30;
    uint32_t flip : 1;
    uint32_t inPath : 1;
  };
  uint32_t priority(int32_t v) const {
    uint64_t z = (static_cast<uint64_t>(static_cast<uint32_t>(v)) + salt_) * 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    return static_cast<uint32_t>(z >> 32);
  }
  Cell& cell(int32_t v) { return cells_[static_cast<size_t>(v)]; }
  const Cell& cell(int32_t v) const { return cells_[static_cast<size_t>(v)]; }
  int32_t sizeOf(int32_t t) const { return t == -1 ? 0 : static_cast<int32_t>(cell(t).size); }
  void pushDown(int32_t t);
  void update(int32_t t);
  void makeSingle(int32_t v);
  // Splits `t` into its first `k` elements and the rest.
  void split(int32_t t, int32_t k, int32_t& left, int32_t& right);
  int32_t merge(int32_t a, int32_t b);
  void reverseSide(int32_t i, bool suffix);

  std::vector<Cell> cells_;
  std::vector<int32_t> scratch_;  // the stack in clear
  uint64_t salt_ = 0;             // the seed's part of the priorities
  uint8_t lastReversed_ = 0;      // whether the last indexOf's node has its subtree reversed
  int32_t root_ = -1;
};

}  // namespace hc
