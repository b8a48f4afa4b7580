// The forward DRUP checker: the top level is propagated after every change, and a step is
// checked by assigning the negation of its literals above it, propagating and undoing.
// Watch entries leave a list by swapping with its last one, so neither a conflict nor a
// dropped entry moves the rest of the list.
#include "certcheck/drup_checker.h"

#include <algorithm>
#include <cstdlib>

namespace hc::certcheck {

namespace {

uint32_t code(int32_t literal) {
  return literal > 0 ? 2u * static_cast<uint32_t>(literal) : 2u * static_cast<uint32_t>(-literal) + 1u;
}

// Summed per literal, so that a clause hashes alike in any order of its literals.
uint64_t hashOf(std::span<const int32_t> literals) {
  uint64_t h = literals.size();
  for (int32_t literal : literals) {
    uint64_t x = static_cast<uint64_t>(static_cast<int64_t>(literal)) + 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    h += x ^ (x >> 31);
  }
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

void DrupChecker::indexAdd(uint32_t id) {
  index_.emplace(hashOf(literalsOf(id)), id);
  clauses_[id].indexed = 1;
}

void DrupChecker::indexRemove(uint32_t id) {
  if (!clauses_[id].indexed) return;
  auto at = index_.equal_range(hashOf(literalsOf(id))).first;
  while (at->second != id) ++at;
  index_.erase(at);
  clauses_[id].indexed = 0;
}

int64_t DrupChecker::find() {
  // Clauses join the index only once something is looked up: a formula that is never
  // deleted from costs no index.
  for (; indexed_ < clauses_.size(); ++indexed_)
    if (clauses_[indexed_].count > 0 || clauses_[indexed_].input) indexAdd(indexed_);
  for (auto [at, end] = index_.equal_range(hashOf(sorted_)); at != end; ++at) {
    ++work_;
    const std::span<const int32_t> held = literalsOf(at->second);
    if (held.size() != sorted_.size()) continue;
    work_ += static_cast<int64_t>(held.size());
    if (std::ranges::all_of(held, [this](int32_t l) { return std::ranges::binary_search(sorted_, l); }))
      return at->second;
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
  for (size_t k = 0; k < sorted_.size() && !conflict; ++k) {
    conflict = value(sorted_[k]) == 1;
    if (value(sorted_[k]) == 0) assign(-sorted_[k]);
  }
  conflict = conflict || propagate();
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
  baseLiterals_ = literals_.size();
  baseTrail_ = trail_.size();
  baseRefuted_ = refuted_;
}

void DrupChecker::restore() {
  // The base holds input clauses only, which nothing erases. Clauses added since leave for
  // good, with their literals and their watch entries, so a formula that serves a thousand
  // branches holds one branch's lemmas at a time. A clause is watched in the lists of its
  // first two literals only (propagation keeps the watched pair there), so those lists are
  // all that need to be cleaned.
  touched_.clear();
  for (uint32_t id = liveFrom_; id < clauses_.size(); ++id) {
    indexRemove(id);
    if (clauses_[id].size < 2) continue;
    for (uint32_t k = 0; k < 2; ++k) touched_.push_back(code(literals_[clauses_[id].start + k]));
  }
  std::sort(touched_.begin(), touched_.end());
  touched_.erase(std::unique(touched_.begin(), touched_.end()), touched_.end());
  const uint32_t base = liveFrom_;
  for (uint32_t list : touched_) {
    std::vector<uint32_t>& watching = watches_[list];
    work_ += static_cast<int64_t>(watching.size());
    std::erase_if(watching, [base](uint32_t id) { return id >= base; });
  }
  work_ += static_cast<int64_t>(clauses_.size() - liveFrom_ + trail_.size() - baseTrail_);
  clauses_.resize(liveFrom_);
  literals_.resize(baseLiterals_);
  indexed_ = std::min(indexed_, liveFrom_);
  backtrack(baseTrail_);
  refuted_ = baseRefuted_;
}

}  // namespace hc::certcheck
