// What the tests of threaded runs share: waiting for a condition without asserting any
// duration, and a graph handed over as the runners take it.
#pragma once

#include <chrono>
#include <memory>
#include <thread>
#include <utility>

#include "core/graph.h"

namespace hc::testing {

// Waits until `done` holds or a minute has passed; false when it never held.
template <typename F>
bool eventually(F done) {
  for (int i = 0; i < 60000; ++i, std::this_thread::sleep_for(std::chrono::milliseconds(1)))
    if (done()) return true;
  return false;
}

inline std::shared_ptr<Graph> shared(Graph g) {
  return std::make_shared<Graph>(std::move(g));
}

}  // namespace hc::testing
