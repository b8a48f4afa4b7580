// Writing a certificate that a graph has no Hamiltonian cycle (the text format of the
// README, section "Certificates") while following the proof a method found.
//
// The writer keeps the branch exactly as the checker will see it: the checker's own branch
// state, with the checker's propagation, fed the same decisions in the same order. So
// whatever the method knew, only what holds in that branch is written: a leaf is written
// only after it was seen to hold there (the propagation's contradiction, or a witness
// found on the edges the branch has left), and a fact the method derived by stronger means
// (look-ahead, a disjunction, the cut checks) is brought in as a split whose other branch
// is closed at once. Where the branch falls short of the method's reason, the writer
// splits further below it within a small budget, and otherwise reports that it could not
// close the branch (the caller then says the verdict is not certified).
//
// The text is the proof alone (the body); header() gives the two opening lines for a whole
// certificate, and a nested proof (a fragment's) is a body without them.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "certcheck/branch_state.h"
#include "core/graph.h"

namespace hc {

// The writer speaks the checker's branch states.
using certcheck::BranchState;
using certcheck::kDeleted;
using certcheck::kForced;
using certcheck::kOpen;

// Tree nodes the writer may add below one branch it has to close by itself.
inline constexpr int64_t kDefaultSplitBudget = 512;

class CertificateWriter {
 public:
  // The root branch of the graph on n nodes with these edges (any order; loops and repeats
  // are dropped as the checker drops them), after the checker's first propagation.
  CertificateWriter(int32_t n, std::span<const certcheck::Edge> edges);
  // The same for the current edges of `graph` (its forced edges are not taken over).
  explicit CertificateWriter(const Graph& graph);

  certcheck::BranchState& branch() { return *branch_; }
  const certcheck::BranchState& branch() const { return *branch_; }
  // "hamcycles-certificate 1" and "graph N M".
  std::string header() const;
  std::string& body() { return body_; }
  void write(std::string_view line);
  // "split A B" (forced first) or "split A B deleted".
  void writeSplit(int32_t a, int32_t b, certcheck::EdgeStatus first);

  // Closes the branch: its contradiction, a witness leaf, or splits below it (at most
  // `budget` tree nodes) whose every branch closes so. False (nothing written) when none
  // of that closes it; the branch is left as it was either way.
  bool closeBranch(int64_t budget = kDefaultSplitBudget);

  enum class Adopted : uint8_t {
    kAlready,  // the branch had decided the edge so already: nothing written
    kSplit,    // "split" written, its other branch closed; the branch goes on with the edge decided
    kDead,     // the branch had decided it the other way (or is contradictory): close it
    kFailed,   // the other branch could not be closed: nothing written, nothing decided
    kNoEdge,   // not an edge of the graph
  };
  // Takes over a fact of the method: edge a-b is `status` (forced or deleted) in every
  // Hamiltonian cycle of this branch.
  Adopted adopt(int32_t a, int32_t b, certcheck::EdgeStatus status, int64_t budget = kDefaultSplitBudget);
  // Takes over every edge `graph` (the same nodes, fewer edges, some forced) has decided
  // and the branch has not, in rounds while any goes in (one may need another first).
  // False when the branch turned out contradictory or dead (close it next); facts that
  // could not be justified are left out.
  bool adoptGraph(const Graph& graph, int64_t budget = kDefaultSplitBudget);

 private:
  bool refute(int64_t& budget, int32_t depth);
  int32_t branchingEdge() const;

  std::unique_ptr<certcheck::BranchState> branch_;
  std::string body_;
};

// A node list as the certificate writes it: keyword and ids, blank separated.
std::string certificateNodeLine(std::string_view keyword, std::span<const int32_t> nodes);

}  // namespace hc
