// A small forward checker of clausal proofs (DRUP: every added clause must follow from the
// clauses so far by unit propagation), with two watched literals per clause. It checks the
// text DRAT proofs a CDCL solver writes, as long as no step needs the RAT rule.
//
// Soundness needs only that every clause in the database follows from the input clauses,
// so the checker may keep more than the proof says: literals fixed at the top level stay
// fixed when the clause that fixed them is deleted, and deleting a clause the database
// does not hold is ignored. A step that repeats an input clause is accepted as it stands
// (a solver restores clauses it had set aside in incremental use).
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
  // propagation or repeats an input clause; false leaves everything as it was.
  bool addLemma(std::span<const int32_t> clause);
  // A proof's deletion step.
  void erase(std::span<const int32_t> clause);
  // The database holds the empty clause (or unit propagation on it alone conflicts).
  bool refuted() const { return refuted_; }
  // Every variable is fixed at the top level (used by tests of encodings).
  bool allFixed() const { return trail_.size() == static_cast<size_t>(variables_); }

 private:
  struct Clause {
    uint32_t start = 0;
    uint32_t size = 0;
    bool erased = false;
    bool input = false;
  };

  int8_t value(int32_t literal) const;
  void assign(int32_t literal);
  bool propagate();  // true on a conflict
  bool implied(const std::vector<int32_t>& clause);
  bool normalise(std::span<const int32_t> in);  // into sorted_; false for a tautology
  int64_t find(bool inputOnly) const;           // a clause equal to sorted_, or -1
  void insert(bool input);                      // sorted_ joins the database

  int32_t variables_;
  std::vector<int8_t> values_;  // per variable: 1 true, -1 false, 0 open
  std::vector<int32_t> trail_;
  size_t head_ = 0;
  std::vector<int32_t> literals_;
  std::vector<Clause> clauses_;
  std::vector<std::vector<uint32_t>> watches_;  // by literal code: clauses watching it
  std::unordered_multimap<uint64_t, uint32_t> byKey_;
  std::vector<int32_t> sorted_;
  bool refuted_ = false;
};

}  // namespace hc::certcheck
