#include "core/clock.h"

#include <chrono>

namespace hc {

namespace {
const std::chrono::steady_clock::time_point programStart = std::chrono::steady_clock::now();
}

int64_t millisecondsSinceStart() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                               programStart)
      .count();
}

}  // namespace hc
