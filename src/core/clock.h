// The program clock: milliseconds since the clock was first read (program start for all
// practical purposes), from a monotonic source.
#pragma once

#include <cstdint>

namespace hc {

int64_t millisecondsSinceStart();

// Seconds since start with millisecond resolution, as the run timers use it.
inline double secondsSinceStart() {
  return static_cast<double>(millisecondsSinceStart()) * 0.001;
}

}  // namespace hc
