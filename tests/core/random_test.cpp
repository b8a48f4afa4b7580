// The random source: the generator's exact sequence, per-thread state, fixed-seed mode (the
// k-th reseed point uses N + k * 2654435769 instead of the clock) and per-thread seed
// streams.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "core/random.h"

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
  EXPECT_EQ(fixedSeed(), 7u);
  EXPECT_EQ(reseedFromClock(123456), 7u);
  EXPECT_EQ(reseedFromClock(123456), 7u + kStride);
  EXPECT_EQ(reseedFromClock(1), 7u + 2u * kStride);  // wraps modulo 2^32
  EXPECT_EQ(randomState(), static_cast<uint32_t>(7u + 2u * kStride));

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
  EXPECT_EQ(reseedFromClock(5), 100u);
  EXPECT_EQ(reseedFromClock(5), 100u + kStride);
  clearThreadSeedStream();
  disableFixedSeed();
  EXPECT_FALSE(fixedSeed().has_value());
  EXPECT_EQ(reseedFromClock(4242), 4242u) << "the clock value when not fixed";
  EXPECT_EQ(randomState(), 4242u);
}

}  // namespace
}  // namespace hc
