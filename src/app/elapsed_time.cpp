// The fields are cut, not rounded, from a count of whole hundredths. Taking the fields
// from the seconds one by one in floating point would read 62.04 s as "02 . 03" (the
// fraction left after removing 62 is 0.0399999...), so the count allows for a tiny
// representation error before it truncates.
#include "app/elapsed_time.h"

#include <cmath>
#include <cstdint>

namespace hc {

namespace {
std::string twoDigits(int64_t value) {
  return (value < 10 ? "0" : "") + std::to_string(value);
}
}  // namespace

std::string elapsedTimeText(double seconds) {
  // Beyond about 2.9 million years the hundredths would not fit the counter.
  if (!std::isfinite(seconds) || seconds < 0 || seconds > 9.0e13) seconds = 0;
  const int64_t hundredthsTotal = static_cast<int64_t>(std::floor(seconds * 100.0 + 1e-6));
  const int64_t wholeSeconds = hundredthsTotal / 100;
  const int64_t totalMinutes = wholeSeconds / 60;
  const int64_t hours = (totalMinutes / 60) % 24;
  const int64_t days = (totalMinutes / 60) / 24;
  return std::to_string(days) + " : " + twoDigits(hours) + " : " + twoDigits(totalMinutes % 60) + " : " +
         twoDigits(wholeSeconds % 60) + " . " + twoDigits(hundredthsTotal % 100);
}

}  // namespace hc
