// First-in first-out queue of pruning work scheduled by the chain operations: Lightning
// items (Type 0: the node has two forced edges and degree >= 3) and HeadHunter items
// (Type 1: the node heads a chain whose heads may be adjacent). A node is queued at most
// once per Type (the node flags guard it), so a ring of 2 * nodes + 1 slots never overflows
// and the queue never allocates after construction.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace hc {

struct PruningItem {
  int32_t id = -1;
  int16_t Type = 0;  // 0 Lightning, 1 HeadHunter
};

class PruningQueue {
 public:
  static constexpr int16_t kLightning = 0;
  static constexpr int16_t kHeadHunter = 1;

  PruningQueue() = default;
  explicit PruningQueue(int32_t howManyNodes) { resize(howManyNodes); }

  void resize(int32_t howManyNodes) {
    slots_.assign(2 * static_cast<size_t>(howManyNodes > 0 ? howManyNodes : 0) + 1, PruningItem{});
    head_ = tail_ = count_ = 0;
  }
  int32_t count() const { return count_; }
  bool empty() const { return count_ == 0; }

  void push(int32_t id, int16_t type) {
    if (count_ == static_cast<int32_t>(slots_.size())) grow();
    slots_[static_cast<size_t>(tail_)] = PruningItem{id, type};
    tail_ = next(tail_);
    ++count_;
  }
  PruningItem pop() {
    PruningItem item = slots_[static_cast<size_t>(head_)];
    head_ = next(head_);
    --count_;
    return item;
  }

 private:
  int32_t next(int32_t index) const {
    return index + 1 == static_cast<int32_t>(slots_.size()) ? 0 : index + 1;
  }
  // Only reached if the one-item-per-node-and-type guard is bypassed; keeps order intact.
  void grow() {
    std::vector<PruningItem> bigger;
    bigger.reserve(slots_.size() * 2 + 1);
    for (int32_t i = 0, at = head_; i < count_; ++i, at = next(at))
      bigger.push_back(slots_[static_cast<size_t>(at)]);
    bigger.resize(slots_.size() * 2 + 1);
    slots_.swap(bigger);
    head_ = 0;
    tail_ = count_;
  }

  std::vector<PruningItem> slots_;
  int32_t head_ = 0;
  int32_t tail_ = 0;
  int32_t count_ = 0;
};

}  // namespace hc
