// The proof tree's certificate (see cohc_certificate.h).
#include "solve/cohc_certificate.h"

#include <algorithm>

namespace hc {

using certcheck::kDeleted;
using certcheck::kForced;

namespace {

// Split records that stand for no split line: the branch had deleted the child's edge
// already (the child's proof is written in place), or had forced it (the child is left out).
constexpr int32_t kInPlace = -1;
constexpr int32_t kLeftOut = -2;

}  // namespace

CohcCertificate::CohcCertificate(const Graph& graph, int64_t limitBytes)
    : writer_(graph), limitBytes_(static_cast<size_t>(std::max<int64_t>(0, limitBytes))) {}

void CohcCertificate::bound() {
  if (writer_.body().size() <= limitBytes_) return;
  passedLimit_ = true;
  std::string().swap(writer_.body());
  std::vector<Split>().swap(splits_);
}

void CohcCertificate::pruned(int32_t depth, const Graph& graph) {
  if (ignored(depth)) return;
  if (!writer_.adoptGraph(graph) || graph.isHamiltonian == kNotHamiltonian) {
    if (!writer_.closeBranch()) ++failures_;
    closedDepth_ = depth;
  }
  bound();
}

void CohcCertificate::childStarting(int32_t depth, int32_t u, int32_t v) {
  if (ignored(depth)) return;
  certcheck::BranchState& b = writer_.branch();
  Split split{depth, writer_.body().size(), b.mark(), b.findEdge(u, v), failures_};
  if (split.edge < 0 || b.status(split.edge) == kForced) {
    split.edge = kLeftOut;
    closedDepth_ = depth;
  } else if (b.status(split.edge) == kDeleted) {
    split.edge = kInPlace;
  } else {
    writer_.writeSplit(u, v, kDeleted);
    b.decide(split.edge, kDeleted);
  }
  splits_.push_back(split);
  bound();
}

void CohcCertificate::childEnded(int32_t depth, HamiltonicityState verdict) {
  if (passedLimit_) return;
  if (closedDepth_ >= 0 && depth > closedDepth_) return;
  while (!splits_.empty() && splits_.back().depth > depth) splits_.pop_back();
  if (closedDepth_ == depth) closedDepth_ = -1;
  if (splits_.empty() || splits_.back().depth != depth) {
    ++failures_;  // the walk and this account disagree: no certificate
    return;
  }
  const Split split = splits_.back();
  certcheck::BranchState& b = writer_.branch();
  if (split.edge == kLeftOut) {
    splits_.pop_back();
  } else if (verdict != kNotHamiltonian) {
    writer_.body().resize(split.text);
    b.restore(split.mark);
    failures_ = split.failures;
    splits_.pop_back();
  } else if (split.edge == kInPlace) {
    splits_.pop_back();
    closedDepth_ = depth - 1;  // the child's proof closed its parent's branch
  } else {
    // The parent goes on in the split's forced branch; the record stays until it is done.
    b.restore(split.mark);
    b.decide(split.edge, kForced);
  }
}

bool CohcCertificate::finishBody(HamiltonicityState verdict, std::string& body) {
  if (passedLimit_ || verdict != kNotHamiltonian || failures_ != 0 || closedDepth_ != 0) return false;
  body = std::move(writer_.body());
  return true;
}

bool CohcCertificate::finish(HamiltonicityState verdict, std::string& certificate) {
  std::string body;
  if (!finishBody(verdict, body)) return false;
  certificate = std::move(body.insert(0, writer_.header()));
  return true;
}

}  // namespace hc
