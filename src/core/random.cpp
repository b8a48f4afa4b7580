#include "core/random.h"

#include <atomic>
#include <random>

#include "core/clock.h"

namespace hc {

namespace {

constexpr uint32_t kSeedStride = 2654435769u;

std::atomic<bool> fixedMode{false};
std::atomic<uint32_t> fixedBase{0};
std::atomic<uint64_t> fixedEpoch{0};

struct ThreadRandom {
  uint32_t state = 1;
  uint64_t epoch = 0;      // fixedEpoch when `reseeds` was last reset
  uint32_t reseeds = 0;    // k: reseed points passed on this thread
  bool ownStream = false;  // setThreadSeedStream() in force
  uint32_t ownBase = 0;
};

thread_local ThreadRandom local;

}  // namespace

int32_t nextRandom() {
  local.state = local.state * 214013u + 2531011u;
  return static_cast<int32_t>((local.state >> 16) & 0x7FFFu);
}

void seedRandom(uint32_t seed) {
  local.state = seed;
}

uint32_t randomState() {
  return local.state;
}

void enableFixedSeed(uint32_t seed) {
  fixedBase.store(seed);
  fixedMode.store(true);
  fixedEpoch.fetch_add(1);
}

void disableFixedSeed() {
  fixedMode.store(false);
  fixedEpoch.fetch_add(1);
}

std::optional<uint32_t> fixedSeed() {
  if (!fixedMode.load()) return std::nullopt;
  return fixedBase.load();
}

void setThreadSeedStream(uint32_t base) {
  local.ownStream = true;
  local.ownBase = base;
  local.reseeds = 0;
}

void clearThreadSeedStream() {
  local.ownStream = false;
  local.reseeds = 0;
  local.epoch = fixedEpoch.load();
}

uint32_t reseedFromClock(uint32_t clockSeed) {
  uint32_t seed = clockSeed;
  if (local.ownStream) {
    seed = local.ownBase + local.reseeds * kSeedStride;
    ++local.reseeds;
  } else if (fixedMode.load()) {
    uint64_t epoch = fixedEpoch.load();
    if (epoch != local.epoch) {
      local.epoch = epoch;
      local.reseeds = 0;
    }
    seed = fixedBase.load() + local.reseeds * kSeedStride;
    ++local.reseeds;
  }
  seedRandom(seed);
  return seed;
}

uint32_t startRunSeedStream(const std::optional<uint32_t>& requested, SeedScope scope,
                            bool graphAlreadyBuilt) {
  uint32_t seed = 0;
  if (requested) {
    seed = *requested;
  } else {
    std::random_device device;
    seed = static_cast<uint32_t>(device());
  }
  if (scope == SeedScope::kProcess) {
    enableFixedSeed(seed);
  } else {
    setThreadSeedStream(seed);
  }
  if (graphAlreadyBuilt) reseedFromClock(0);  // the value the graph's construction would have drawn
  return seed;
}

uint32_t graphClockSeed() {
  double ms = static_cast<double>(millisecondsSinceStart());
  return static_cast<uint32_t>(static_cast<int64_t>(ms * 0.001 * 1000.0));
}

}  // namespace hc
