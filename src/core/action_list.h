// The undo log. Every change of the incremental model appends one record (a kind 1..8 and
// eight arguments, -1 where unused); Graph::undoActions() takes them back, newest first.
//
//   1 cut          a, b, ia, ib   edge a-b removed; ia/ib its indices before the removal
//   2 setUncut     a, b           edge a-b forced
//   3 setUncut     x              howManyHubs raised because x is a hub
//   4 mergeChains  c              chain c became a ring
//   5 newChain     -              a chain was appended at index howManyChains - 1
//   6 extendChain  c, new, old    chain c grew by one node
//   7 mergeChains  c, old1, old2  chain c closed into a cycle
//   8 mergeChains  ca, h1, h2, m, cb, h1, h2, m   chain cb joined onto ca and removed
//
// Records live in one vector whose capacity is kept when the list empties, so a list that
// is reused (Graph keeps spare lists for nested trials) records without allocating.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace hc {

enum ActionKind : int32_t {
  kActionCut = 1,
  kActionSetUncut = 2,
  kActionHub = 3,
  kActionRing = 4,
  kActionNewChain = 5,
  kActionExtendChain = 6,
  kActionCloseChain = 7,
  kActionMergeChains = 8,
};

struct Action {
  int32_t kind = 0;
  int32_t args[8] = {-1, -1, -1, -1, -1, -1, -1, -1};
};

class ActionList {
 public:
  ActionList() = default;
  ActionList(const ActionList&) = delete;
  ActionList& operator=(const ActionList&) = delete;
  // A list destroyed with records still in it says so on the diagnostic stream.
  ~ActionList();

  int32_t count() const { return static_cast<int32_t>(records_.size()); }
  bool empty() const { return records_.empty(); }

  void append(int32_t kind, int32_t a1 = -1, int32_t a2 = -1, int32_t a3 = -1, int32_t a4 = -1,
              int32_t a5 = -1, int32_t a6 = -1, int32_t a7 = -1, int32_t a8 = -1) {
    records_.push_back(Action{kind, {a1, a2, a3, a4, a5, a6, a7, a8}});
  }
  // Removes and returns the newest record. Precondition: not empty.
  Action popLast() {
    Action last = records_.back();
    records_.pop_back();
    return last;
  }
  const Action& at(int32_t index) const { return records_[static_cast<size_t>(index)]; }
  const Action& last() const { return records_.back(); }
  // Forgets every record without undoing it.
  void clear() { records_.clear(); }
  void reserve(int32_t capacity) { records_.reserve(static_cast<size_t>(capacity)); }

 private:
  std::vector<Action> records_;
};

}  // namespace hc
