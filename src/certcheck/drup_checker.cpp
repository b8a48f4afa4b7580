// The forward DRUP checker: the top level is propagated after every change, and a step is
// checked by assigning the negation of its literals above it, propagating and undoing.
// Watch entries leave a list by swapping with its last one, so neither a conflict nor a
// dropped entry moves the rest of the list.
#include "certcheck/drup_checker.h"

#include <algorithm>
#include <bit>
#include <cstdlib>

namespace hc::certcheck {

namespace {

constexpr uint32_t kGone = UINT32_MAX;

uint32_t code(int32_t literal) {
  return literal > 0 ? 2u * static_cast<uint32_t>(literal) : 2u * static_cast<uint32_t>(-literal) + 1u;
}

// Summed per literal, so that a clause hashes alike in any order of its literals.
uint64_t mix(int32_t literal) {
  uint64_t x = static_cast<uint64_t>(static_cast<int64_t>(literal)) + 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
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
    for (size_t i = 0; i < watching.size();) {
      ++work_;
      const uint32_t id = watching[i];
      Clause& c = clauses_[id];
      if (c.count == 0 && !c.input) {  // erased: dropped from the list here, lazily
        watching[i] = watching.back();
        watching.pop_back();
        continue;
      }
      int32_t* l = &literals_[c.start];
      if (l[0] == falsified) std::swap(l[0], l[1]);
      if (value(l[0]) == 1) {
        ++i;
        continue;
      }
      uint32_t k = 2;
      while (k < c.size && value(l[k]) == -1) ++k;
      work_ += k - 2;
      if (k < c.size) {
        std::swap(l[1], l[k]);
        watches_[code(l[1])].push_back(id);  // another list: `watching` stays valid
        watching[i] = watching.back();
        watching.pop_back();
        continue;
      }
      if (value(l[0]) == -1) return true;
      assign(l[0]);
      ++i;
    }
  }
  return false;
}

bool DrupChecker::normalise(std::span<const int32_t> in) {
  sorted_.assign(in.begin(), in.end());
  std::sort(sorted_.begin(), sorted_.end());
  sorted_.erase(std::unique(sorted_.begin(), sorted_.end()), sorted_.end());
  work_ += static_cast<int64_t>(in.size());
  for (size_t i = 0; i + 1 < sorted_.size(); ++i)
    if (std::binary_search(sorted_.begin() + static_cast<std::ptrdiff_t>(i) + 1, sorted_.end(), -sorted_[i]))
      return false;
  return true;
}

uint64_t DrupChecker::hashOf(uint32_t id) const {
  const Clause& c = clauses_[id];
  uint64_t h = c.size;
  for (uint32_t k = 0; k < c.size; ++k) h += mix(literals_[c.start + k]);
  return h;
}

void DrupChecker::indexAdd(uint32_t id) {
  if (2 * (tableUsed_ + 1) > table_.size()) {
    std::vector<uint32_t> old;
    old.swap(table_);
    size_t live = 0;
    for (uint32_t slot : old) live += slot != 0 && slot != kGone;
    table_.assign(std::max<size_t>(64, std::bit_ceil(4 * (live + 1))), 0);
    tableUsed_ = 0;
    for (uint32_t slot : old)
      if (slot != 0 && slot != kGone) {
        clauses_[slot - 1].indexed = 0;
        indexAdd(slot - 1);
      }
  }
  const size_t mask = table_.size() - 1;
  size_t at = hashOf(id) & mask;
  while (table_[at] != 0 && table_[at] != kGone) at = (at + 1) & mask;
  tableUsed_ += table_[at] == 0;
  table_[at] = id + 1;
  clauses_[id].indexed = 1;
}

void DrupChecker::indexRemove(uint32_t id) {
  if (!clauses_[id].indexed) return;
  const size_t mask = table_.size() - 1;
  size_t at = hashOf(id) & mask;
  while (table_[at] != id + 1) at = (at + 1) & mask;
  table_[at] = kGone;
  clauses_[id].indexed = 0;
}

int64_t DrupChecker::find() {
  // Clauses join the index only once something is looked up: a formula that is never
  // deleted from costs no index.
  for (; indexed_ < clauses_.size(); ++indexed_)
    if (clauses_[indexed_].count > 0 || clauses_[indexed_].input) indexAdd(indexed_);
  if (table_.empty()) return -1;
  if (seen_.empty()) seen_.assign(2 * static_cast<size_t>(variables_) + 2, 0);
  if (++stamp_ == 0) {
    std::fill(seen_.begin(), seen_.end(), 0);
    stamp_ = 1;
  }
  uint64_t h = sorted_.size();
  for (int32_t l : sorted_) {
    h += mix(l);
    seen_[code(l)] = stamp_;
  }
  const size_t mask = table_.size() - 1;
  for (size_t at = h & mask; table_[at] != 0; at = (at + 1) & mask) {
    ++work_;
    if (table_[at] == kGone) continue;
    const uint32_t id = table_[at] - 1;
    const Clause& c = clauses_[id];
    if (c.size != sorted_.size()) continue;
    bool equal = true;
    for (uint32_t k = 0; k < c.size && equal; ++k) equal = seen_[code(literals_[c.start + k])] == stamp_;
    work_ += c.size;
    if (equal) return id;
  }
  return -1;
}

void DrupChecker::insert(bool input) {
  const uint32_t id = static_cast<uint32_t>(clauses_.size());
  // Open and true literals first, so that the two watched ones are the best available.
  order_.clear();
  for (int pass = 0; pass < 2; ++pass)
    for (int32_t l : sorted_)
      if ((value(l) == -1) == (pass == 1)) order_.push_back(l);
  Clause c;
  c.start = static_cast<uint32_t>(literals_.size());
  c.size = static_cast<uint32_t>(order_.size()) & 0x3FFFFFFFu;
  c.input = input ? 1 : 0;
  c.count = input ? 0 : 1;
  clauses_.push_back(c);
  literals_.insert(literals_.end(), order_.begin(), order_.end());
  if (order_.empty() || value(order_[0]) == -1) {
    refuted_ = true;
    return;
  }
  if (order_.size() >= 2) {
    watches_[code(order_[0])].push_back(id);
    watches_[code(order_[1])].push_back(id);
  }
  if (value(order_[0]) == 0 && (order_.size() == 1 || value(order_[1]) == -1)) {
    assign(order_[0]);
    if (propagate()) refuted_ = true;
  }
}

bool DrupChecker::implied() {
  const size_t mark = trail_.size();
  bool conflict = false;
  for (int32_t l : sorted_) {
    if (value(l) == 1) {
      conflict = true;
      break;
    }
    if (value(l) == 0) assign(-l);
  }
  if (!conflict) conflict = propagate();
  backtrack(mark);
  return conflict;
}

void DrupChecker::backtrack(size_t mark) {
  while (trail_.size() > mark) {
    values_[static_cast<size_t>(std::abs(trail_.back()))] = 0;
    trail_.pop_back();
  }
  head_ = mark;
}

void DrupChecker::addInput(std::span<const int32_t> clause) {
  if (refuted_ || !normalise(clause)) return;
  // A fresh formula skips the index; a clause held already is held as an input from now on.
  if (const int64_t held = indexed_ > 0 ? find() : -1; held >= 0)
    clauses_[static_cast<size_t>(held)].input = 1;
  else
    insert(true);
}

bool DrupChecker::addLemma(std::span<const int32_t> clause) {
  if (refuted_ || !normalise(clause)) return true;
  if (const int64_t held = find(); held >= 0) {
    ++clauses_[static_cast<size_t>(held)].count;
    return true;
  }
  if (!implied()) return false;
  insert(false);
  return true;
}

void DrupChecker::erase(std::span<const int32_t> clause) {
  if (refuted_ || !normalise(clause)) return;
  const int64_t held = find();
  if (held < 0) return;
  Clause& c = clauses_[static_cast<size_t>(held)];
  if (c.count > 0 && --c.count == 0 && !c.input) indexRemove(static_cast<uint32_t>(held));
}

void DrupChecker::freeze() {
  liveFrom_ = static_cast<uint32_t>(clauses_.size());
  baseTrail_ = trail_.size();
  baseRefuted_ = refuted_;
}

void DrupChecker::restore() {
  // The base holds input clauses only, which nothing erases. Clauses added since are dropped
  // for good (their ids are not reused: stale watch entries are dropped when met).
  for (uint32_t id = liveFrom_; id < clauses_.size(); ++id) {
    indexRemove(id);
    clauses_[id].count = 0;
    clauses_[id].input = 0;
  }
  work_ += static_cast<int64_t>(clauses_.size() - liveFrom_ + trail_.size() - baseTrail_);
  liveFrom_ = static_cast<uint32_t>(clauses_.size());
  backtrack(baseTrail_);
  refuted_ = baseRefuted_;
}

}  // namespace hc::certcheck
