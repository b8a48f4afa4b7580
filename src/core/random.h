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

// The one seeding rule of a replayable run, shared by the command line (--seed N) and the
// window (the Stone Carver page's seed box), so the same seed gives the same run in both:
// the seed is the requested one or a fresh one from the system's random device; the run's
// reseed points then draw N, N + 2654435769, N + 2 x 2654435769, ... in order, and the
// first of them is where the run's graph was built (every load and every generator
// reseeds exactly once). A caller whose graph was built before the run began (the window
// loads it long before) passes `graphAlreadyBuilt`: the stream then passes over that
// first value, and the run's own reseeds (the Stone Carver's driver, each copy of the
// graph) draw what they draw after a load. `scope` Process enables fixed-seed mode for
// every thread (the command line); Thread gives only the calling thread the stream (a
// worker of the window or of a batch). Returns the seed.
enum class SeedScope { kProcess, kThread };
uint32_t startRunSeedStream(const std::optional<uint32_t>& requested, SeedScope scope,
                            bool graphAlreadyBuilt);

// The clock seed that graph constructors and copies use:
// trunc(milliseconds since start * 0.001 * 1000.0).
uint32_t graphClockSeed();

}  // namespace hc
