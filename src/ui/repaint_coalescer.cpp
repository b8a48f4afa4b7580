#include "ui/repaint_coalescer.h"

namespace hcui {

RepaintCoalescer::RepaintCoalescer(std::function<void()> refresh, QObject* parent, int intervalMs)
    : QObject(parent), refresh_(std::move(refresh)) {
  timer_.setInterval(intervalMs);
  connect(&timer_, &QTimer::timeout, this, &RepaintCoalescer::flush);
  timer_.start();
}

void RepaintCoalescer::flush() {
  if (dirty_.exchange(false, std::memory_order_acq_rel) && refresh_) refresh_();
}

}  // namespace hcui
