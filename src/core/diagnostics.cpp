#include "core/diagnostics.h"

#include <atomic>
#include <iostream>

namespace hc {

namespace {
std::atomic<std::ostream*> current{&std::cout};
}

std::ostream& diag() {
  return *current.load(std::memory_order_acquire);
}

std::ostream& setDiagnosticStream(std::ostream& stream) {
  return *current.exchange(&stream, std::memory_order_acq_rel);
}

}  // namespace hc
