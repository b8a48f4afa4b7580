// A small forward checker of clausal proofs (DRUP: every added clause must follow from the
// clauses so far by unit propagation), with two watched literals per clause: it checks the
// text DRAT proofs a CDCL solver writes, as long as no step needs the RAT rule.
//
// Soundness needs only that every clause held follows from the input clauses, so the
// checker may keep more than the proof says: literals fixed at the top level stay fixed
// when the clause that fixed them is deleted, deleting a clause not held is ignored, and
// input clauses are never deleted (a solver may restore clauses it had set aside).
//
// Equal clauses are held once with a count, found by a hash of their literals, so repeating
// or deleting one clause again and again costs constant time per line. A base point
// (freeze) is returned to (restore) in time proportional to what was done since and the
// watch lists it touched, and with the memory of what was done since given back: a formula
// built once serves every branch that checks a proof against it.
#pragma once

#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

namespace hc::certcheck {

class DrupChecker {
 public:
  // Literals are +-1..+-variables.
  explicit DrupChecker(int32_t variables);

  int32_t variables() const { return variables_; }
  // A clause of the formula (taken on trust: the caller vouches for it).
  void addInput(std::span<const int32_t> clause);
  // A proof step: true (and the clause joins the database) when it follows by unit
  // propagation or is already held; false leaves everything as it was.
  bool addLemma(std::span<const int32_t> clause);
  // A proof's deletion step: one copy of a clause the proof added leaves the database.
  void erase(std::span<const int32_t> clause);
  // The database holds the empty clause (or unit propagation on it alone conflicts).
  bool refuted() const { return refuted_; }
  // Every variable is fixed at the top level (used by tests of encodings).
  bool allFixed() const { return trail_.size() == static_cast<size_t>(variables_); }

  // The clauses and fixed literals so far become the base that restore() returns to.
  void freeze();
  void restore();
  // Watch-list visits and other steps so far: the checker's own measure of its work.
  int64_t work() const { return work_; }

 private:
  struct Clause {
    uint32_t start = 0;
    uint32_t size : 30 = 0;
    uint32_t input : 1 = 0;
    uint32_t indexed : 1 = 0;
    uint32_t count = 0;  // copies the proof holds; 0 (and not input): gone
  };

  int8_t value(int32_t literal) const;
  void assign(int32_t literal);
  bool propagate();                             // true on a conflict
  bool implied();                               // sorted_ follows by unit propagation
  void backtrack(size_t mark);                  // unassigns the trail beyond mark
  bool normalise(std::span<const int32_t> in);  // into sorted_; false for a tautology
  int64_t find();                               // the held clause equal to sorted_, or -1
  void insert(bool input);                      // sorted_ joins the database
  std::span<const int32_t> literalsOf(uint32_t id) const {
    return std::span(literals_).subspan(clauses_[id].start, clauses_[id].size);
  }
  void indexAdd(uint32_t id);
  void indexRemove(uint32_t id);

  int32_t variables_;
  std::vector<int8_t> values_;  // per variable: 1 true, -1 false, 0 open
  std::vector<int32_t> trail_;
  size_t head_ = 0;
  std::vector<int32_t> literals_;
  std::vector<Clause> clauses_;
  std::vector<std::vector<uint32_t>> watches_;         // by literal code: clauses watching it
  std::unordered_multimap<uint64_t, uint32_t> index_;  // by an order-free hash of the literals
  uint32_t indexed_ = 0;                               // clauses below this id have been offered to the index
  std::vector<int32_t> sorted_, order_;
  std::vector<uint32_t> touched_;  // restore(): the watch lists to clean
  bool refuted_ = false;
  int64_t work_ = 0;
  // The base: restore() drops the clauses from liveFrom_ on (their literals from
  // baseLiterals_ on) and the trail beyond baseTrail_.
  uint32_t liveFrom_ = 0;
  size_t baseLiterals_ = 0;
  size_t baseTrail_ = 0;
  bool baseRefuted_ = false;
};

}  // namespace hc::certcheck
