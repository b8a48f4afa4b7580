// The one random source of the system: a linear congruential generator per thread.
// state <- state * 214013 + 2531011 (mod 2^32), result (state >> 16) & 0x7FFF.
// A thread that never seeds starts at state 1.
//
// Every place that reseeds from a clock calls reseedFromClock(clockSeed). In fixed-seed
// mode (tests, the CLI's --seed N) the k-th such reseed on a thread uses
// (N + k * 2654435769) mod 2^32 instead of the clock value, so runs replay exactly.
#pragma once

#include <cstdint>
#include <optional>

namespace hc {

int32_t nextRandom();
void seedRandom(uint32_t seed);

// The raw generator state of this thread (tests save and compare it).
uint32_t randomState();

// Fixed-seed mode for the whole process. Enabling (or disabling) restarts the reseed
// counter k of every thread at 0.
void enableFixedSeed(uint32_t seed);
void disableFixedSeed();
std::optional<uint32_t> fixedSeed();

// Gives the calling thread a seed stream of its own: its reseeds use
// (base + k * 2654435769) whatever the process-wide mode is. Worker threads of a parallel
// run call this with disjoint bases. clearThreadSeedStream() returns to the process mode.
void setThreadSeedStream(uint32_t base);
void clearThreadSeedStream();

// A reseed point: seeds with `clockSeed`, or with the next value of the fixed stream.
// Returns the seed used.
uint32_t reseedFromClock(uint32_t clockSeed);

// The clock seed that graph constructors and copies use:
// trunc(milliseconds since start * 0.001 * 1000.0).
uint32_t graphClockSeed();

}  // namespace hc
