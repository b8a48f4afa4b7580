// The forward DRUP checker: the top level is propagated after every change, and a step is
// checked by assigning the negation of its literals above it, propagating and undoing.
#include "certcheck/drup_checker.h"

#include <algorithm>
#include <cstdlib>

namespace hc::certcheck {

namespace {

uint32_t code(int32_t literal) {
  return literal > 0 ? 2u * static_cast<uint32_t>(literal) : 2u * static_cast<uint32_t>(-literal) + 1u;
}

uint64_t keyOf(const std::vector<int32_t>& sorted) {
  uint64_t h = 1469598103934665603ull;
  for (int32_t l : sorted) h = (h ^ static_cast<uint32_t>(l)) * 1099511628211ull;
  return h;
}

}  // namespace

DrupChecker::DrupChecker(int32_t variables)
    : variables_(variables),
      values_(static_cast<size_t>(variables) + 1, 0),
      watches_(2 * static_cast<size_t>(variables) + 2) {}

int8_t DrupChecker::value(int32_t literal) const {
  const int8_t v = values_[static_cast<size_t>(std::abs(literal))];
  return literal > 0 ? v : static_cast<int8_t>(-v);
}

void DrupChecker::assign(int32_t literal) {
  values_[static_cast<size_t>(std::abs(literal))] = literal > 0 ? 1 : -1;
  trail_.push_back(literal);
}

bool DrupChecker::propagate() {
  while (head_ < trail_.size()) {
    const int32_t falsified = -trail_[head_++];
    std::vector<uint32_t>& watching = watches_[code(falsified)];
    size_t keep = 0;
    for (size_t i = 0; i < watching.size(); ++i) {
      const uint32_t id = watching[i];
      Clause& c = clauses_[id];
      if (c.erased) continue;  // dropped from the list here, lazily
      int32_t* l = &literals_[c.start];
      if (l[0] == falsified) std::swap(l[0], l[1]);
      if (value(l[0]) == 1) {
        watching[keep++] = id;
        continue;
      }
      bool moved = false;
      for (uint32_t k = 2; k < c.size && !moved; ++k)
        if (value(l[k]) != -1) {
          std::swap(l[1], l[k]);
          watches_[code(l[1])].push_back(id);  // another list: `watching` stays valid
          moved = true;
        }
      if (moved) continue;
      watching[keep++] = id;
      if (value(l[0]) == -1) {
        while (++i < watching.size()) watching[keep++] = watching[i];
        watching.resize(keep);
        return true;
      }
      assign(l[0]);
    }
    watching.resize(keep);
  }
  return false;
}

bool DrupChecker::normalise(std::span<const int32_t> in) {
  sorted_.assign(in.begin(), in.end());
  std::sort(sorted_.begin(), sorted_.end());
  sorted_.erase(std::unique(sorted_.begin(), sorted_.end()), sorted_.end());
  for (size_t i = 0; i + 1 < sorted_.size(); ++i)
    if (std::binary_search(sorted_.begin() + static_cast<std::ptrdiff_t>(i) + 1, sorted_.end(), -sorted_[i]))
      return false;
  return true;
}

int64_t DrupChecker::find(bool inputOnly) const {
  auto [first, last] = byKey_.equal_range(keyOf(sorted_));
  std::vector<int32_t> copy;
  for (auto it = first; it != last; ++it) {
    const Clause& c = clauses_[it->second];
    if (inputOnly ? !c.input : c.erased) continue;
    if (c.size != sorted_.size()) continue;
    copy.assign(literals_.begin() + c.start, literals_.begin() + c.start + c.size);
    std::sort(copy.begin(), copy.end());
    if (copy == sorted_) return it->second;
  }
  return -1;
}

void DrupChecker::insert(bool input) {
  const uint32_t id = static_cast<uint32_t>(clauses_.size());
  byKey_.emplace(keyOf(sorted_), id);
  // Open and true literals first, so that the two watched ones are the best available.
  std::vector<int32_t> order = sorted_;
  std::stable_partition(order.begin(), order.end(), [this](int32_t l) { return value(l) != -1; });
  clauses_.push_back(
      Clause{static_cast<uint32_t>(literals_.size()), static_cast<uint32_t>(order.size()), false, input});
  literals_.insert(literals_.end(), order.begin(), order.end());
  if (order.empty() || value(order[0]) == -1) {
    refuted_ = true;
    return;
  }
  if (order.size() >= 2) {
    watches_[code(order[0])].push_back(id);
    watches_[code(order[1])].push_back(id);
  }
  if (value(order[0]) == 0 && (order.size() == 1 || value(order[1]) == -1)) {
    assign(order[0]);
    if (propagate()) refuted_ = true;
  }
}

bool DrupChecker::implied(const std::vector<int32_t>& clause) {
  const size_t mark = trail_.size();
  bool conflict = false;
  for (int32_t l : clause) {
    if (value(l) == 1) {
      conflict = true;
      break;
    }
    if (value(l) == 0) assign(-l);
  }
  if (!conflict) conflict = propagate();
  while (trail_.size() > mark) {
    values_[static_cast<size_t>(std::abs(trail_.back()))] = 0;
    trail_.pop_back();
  }
  head_ = mark;
  return conflict;
}

void DrupChecker::addInput(std::span<const int32_t> clause) {
  if (refuted_ || !normalise(clause)) return;
  insert(true);
}

bool DrupChecker::addLemma(std::span<const int32_t> clause) {
  if (refuted_ || !normalise(clause)) return true;
  if (!implied(sorted_) && find(true) < 0) return false;
  insert(false);
  return true;
}

void DrupChecker::erase(std::span<const int32_t> clause) {
  if (refuted_ || !normalise(clause)) return;
  if (int64_t id = find(false); id >= 0) clauses_[static_cast<size_t>(id)].erased = true;
}

}  // namespace hc::certcheck
