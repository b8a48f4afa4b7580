#include "generators/generation_control.h"

namespace hc {

void GenerationTicker::report(int32_t permille) {
  if (!progress_ || permille <= reportedPermille_) return;
  reportedPermille_ = permille;
  progress_(static_cast<double>(permille) / 1000.0);
}

bool GenerationTicker::stopRequested() {
  if (!stopped_ && hc::stopRequested(stop_)) stopped_ = true;
  return stopped_;
}

bool GenerationTicker::tick(int64_t done, int64_t total) {
  if (total > 0) {
    const int64_t clamped = done < 0 ? 0 : (done > total ? total : done);
    // Wide totals (node pairs of a large graph) would overflow clamped * 900.
    const double share = static_cast<double>(clamped) / static_cast<double>(total);
    report(static_cast<int32_t>(share * 900.0));
  }
  return !stopRequested();
}

}  // namespace hc
