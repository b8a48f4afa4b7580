// The Co-HC proof tree as a certificate. A child deletes its edge from its parent's graph;
// a refuted child makes the parent force that edge. So each refuted child is a split with
// the deleted branch first (the child's own proof) and the forced branch after it (the
// parent going on), and each node's pruning is brought into the branch as facts
// (CertificateWriter::adoptGraph) until the node is refuted and its branch closed. A child
// that is not refuted (undecided, stopped) is taken back out of the text.
//
// Use: make one from the graph before the run (the root prunes the graph in place), give
// it as CohcOptions::observer, and ask for the certificate after the run.
//
// The text is bounded: once it passes the bound it is dropped (its memory freed), nothing
// more is recorded and the run has no certificate (passedLimit() says so).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cohc/search_tree_observer.h"
#include "solve/certificate_writer.h"
#include "solve/exact_search.h"

namespace hc {

class CohcCertificate final : public SearchTreeObserver {
 public:
  // `graph`: the graph as given to the run, before it starts.
  explicit CohcCertificate(const Graph& graph, int64_t limitBytes = kDefaultCertificateLimitBytes);

  void pruned(int32_t depth, const Graph& graph) override;
  void childStarting(int32_t depth, int32_t u, int32_t v) override;
  void childEnded(int32_t depth, HamiltonicityState verdict) override;

  // After a run that ended with `verdict`: true when it is 0 and every branch of the tree
  // was closed, and then the whole certificate is in `certificate`. Once only: the text is
  // moved out (a long proof is not held twice).
  bool finish(HamiltonicityState verdict, std::string& certificate);
  // The same without the two opening lines (a proof to nest in a larger certificate).
  bool finishBody(HamiltonicityState verdict, std::string& body);
  bool passedLimit() const { return passedLimit_; }

 private:
  struct Split {
    int32_t depth;  // the child's
    size_t text;    // the body's length before the split line
    size_t mark;    // the branch before the deletion
    int32_t edge;
    int64_t failures;  // unclosed branches before the split
  };
  bool ignored(int32_t depth) const { return passedLimit_ || (closedDepth_ >= 0 && depth >= closedDepth_); }
  // After the text grew: drops it once it is past the bound.
  void bound();

  CertificateWriter writer_;
  std::vector<Split> splits_;
  int32_t closedDepth_ = -1;  // the node whose branch the writer closed ahead of the tree
  int64_t failures_ = 0;      // branches the tree closed that the writer could not
  size_t limitBytes_;
  bool passedLimit_ = false;
};

}  // namespace hc
