// The replay of the exact search's proof log (see search_certificate.h). A stack of the
// splits still open replaces recursion, since the search's tree can be as deep as the graph
// has edges.
#include "solve/search_certificate.h"

#include <vector>

#include "solve/exact_search.h"
#include "solve/relaxation_certificate.h"

namespace hc {

namespace {

using Adopted = CertificateWriter::Adopted;

class Replay {
 public:
  Replay(CertificateWriter& writer, std::span<const int32_t> log, const StopToken& stop)
      : writer_(writer), b_(writer.branch()), log_(log), stop_(stop) {}

  bool run() {
    do {
      if (stop_.poll() || !closeNode()) return false;
    } while (nextNode());
    return ok_ && pos_ == log_.size();
  }

 private:
  struct Split {
    size_t mark;
    int32_t edge;
    bool written;  // false: the branch had forced the edge, and only the forced subtree counts
    bool second;   // the deleted subtree is being written
  };

  // Skips the subtree that starts at the read position.
  bool skipNode() {
    for (int64_t owed = 1; owed > 0;) {
      if (pos_ >= log_.size()) return false;
      const int32_t event = log_[pos_];
      if (event == kLogLeaf || event == kLogRelaxed) {
        ++pos_;
        --owed;
      } else if (event == kLogForced || event == kLogDeleted) {
        pos_ += 3;
      } else if (event >= 0) {
        pos_ += 2;
        ++owed;
      } else {
        return false;
      }
    }
    return pos_ <= log_.size();
  }

  // Writes the node at the read position down to where one of its branches closes (a
  // split written on the way leaves its second subtree owed on the stack).
  bool closeNode() {
    for (;;) {
      if (!b_.contradiction().empty()) {
        writer_.write("contradiction");
        return skipNode();
      }
      if (pos_ >= log_.size()) return false;
      const int32_t event = log_[pos_];
      if (event == kLogForced || event == kLogDeleted) {
        if (pos_ + 2 >= log_.size()) return false;
        const Adopted adopted =
            writer_.adopt(log_[pos_ + 1], log_[pos_ + 2], event == kLogForced ? kForced : kDeleted);
        pos_ += 3;
        if (adopted == Adopted::kDead) return writer_.closeBranch() && skipNode();
        continue;  // a fact that could not be justified is left out
      }
      if (event == kLogLeaf) {
        ++pos_;
        return writer_.closeBranch();
      }
      if (event == kLogRelaxed) {
        ++pos_;
        return writeRelaxationProof(writer_, {}, stop_) || writer_.closeBranch();
      }
      if (event < 0 || pos_ + 1 >= log_.size()) return false;
      const int32_t u = log_[pos_], v = log_[pos_ + 1];
      const int32_t edge = b_.findEdge(u, v);
      pos_ += 2;
      if (edge < 0) return false;
      switch (b_.status(edge)) {
        case kOpen:
          writer_.writeSplit(u, v, kForced);
          splits_.push_back({b_.mark(), edge, true, false});
          b_.decide(edge, kForced);
          break;
        case kForced: splits_.push_back({0, edge, false, false}); break;
        default:  // deleted already: the deleted subtree alone, in place of this node
          if (!skipNode()) return false;
          break;
      }
    }
  }

  // After a branch closed: moves to the next subtree the certificate owes; false when none
  // is left.
  bool nextNode() {
    while (!splits_.empty()) {
      Split& top = splits_.back();
      if (top.written && !top.second) {
        b_.restore(top.mark);
        b_.decide(top.edge, kDeleted);
        top.second = true;
        return true;
      }
      const bool skipDeleted = !top.written;
      splits_.pop_back();
      if (skipDeleted && !skipNode()) {
        ok_ = false;
        return false;
      }
    }
    return false;
  }

  CertificateWriter& writer_;
  BranchState& b_;
  std::span<const int32_t> log_;
  const StopToken& stop_;
  size_t pos_ = 0;
  std::vector<Split> splits_;
  bool ok_ = true;
};

}  // namespace

bool writeSearchProof(CertificateWriter& writer, std::span<const int32_t> log, const StopToken& stop) {
  return Replay(writer, log, stop).run();
}

}  // namespace hc
