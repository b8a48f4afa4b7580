// The random source: the generator's exact sequence, per-thread state, fixed-seed mode (the
// k-th reseed point uses N + k * 2654435769 instead of the clock) and per-thread seed
// streams.
#include "core/random.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace hc {
namespace {

constexpr uint32_t kStride = 2654435769u;

TEST(RandomTest, SequenceFromStateOneFollowsTheFormula) {
  seedRandom(1);
  // The first values of state <- state * 214013 + 2531011, result (state >> 16) & 0x7FFF.
  std::vector<int32_t> first;
  for (int i = 0; i < 5; ++i) first.push_back(nextRandom());
  EXPECT_EQ(first, (std::vector<int32_t>{41, 18467, 6334, 26500, 19169}));
  uint32_t state = 1;
  for (int i = 0; i < 5; ++i) state = state * 214013u + 2531011u;
  EXPECT_EQ(randomState(), state);
}

TEST(RandomTest, FixedSeedModeNumbersItsReseeds) {
  enableFixedSeed(7);
  // In this order (a braced list is evaluated left to right); the third wraps modulo 2^32.
  EXPECT_EQ((std::vector<uint32_t>{*fixedSeed(), reseedFromClock(123456), reseedFromClock(123456),
                                   reseedFromClock(1), randomState()}),
            (std::vector<uint32_t>{7, 7, 7 + kStride, 7 + 2 * kStride, 7 + 2 * kStride}));

  // Another thread starts at state 1 (whatever this one did) and counts its own reseeds
  // from 0.
  std::vector<uint32_t> other;
  std::thread([&] {
    other = {randomState(), static_cast<uint32_t>(nextRandom()), reseedFromClock(99)};  // in this order
  }).join();
  EXPECT_EQ(other, (std::vector<uint32_t>{1, 41, 7}));

  // Enabling again restarts the count; a thread's own seed stream overrides the mode.
  enableFixedSeed(7);
  EXPECT_EQ(reseedFromClock(5), 7u);
  setThreadSeedStream(100);
  EXPECT_EQ((std::vector<uint32_t>{reseedFromClock(5), reseedFromClock(5)}),
            (std::vector<uint32_t>{100, 100 + kStride}));
  clearThreadSeedStream();
  disableFixedSeed();
  EXPECT_FALSE(fixedSeed().has_value());
  // The clock value when not fixed.
  EXPECT_EQ((std::vector<uint32_t>{reseedFromClock(4242), randomState()}),
            (std::vector<uint32_t>{4242, 4242}));
}

}  // namespace
}  // namespace hc
