// A run watched from the caller's thread: the run's body goes on a worker thread while the
// calling thread hands its live figures to a sampler at a fixed interval (the public
// library's progress callback). What the sampler throws stops the run and is rethrown once
// the worker has ended; so is what the body throws.
#pragma once

#include <chrono>
#include <functional>

#include "core/stop_token.h"
#include "run/run_method.h"

namespace hc {

// Called with the figures so far and the seconds since the run began.
using ProgressSample = std::function<void(const LiveFigures& live, double seconds)>;

// Runs `body` on a worker thread and calls `sample` every `interval` until it ends (never
// after this returns, and not at all when the body ends within the first interval). An
// exception from `sample` requests `stop` and no further sample is taken.
void runSampled(const std::function<void()>& body, const LiveFigures& live, StopToken& stop,
                const ProgressSample& sample, std::chrono::milliseconds interval);

}  // namespace hc
