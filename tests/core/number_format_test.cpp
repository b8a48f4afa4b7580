// The one number-to-text rule of the displays and the messages.
#include "core/number_format.h"

#include <gtest/gtest.h>

#include <tuple>

namespace hc {
namespace {

TEST(NumberFormat, CutsAndPadsAsThePagesAndMessagesShowNumbers) {
  const std::tuple<double, int, const char*> rows[] = {
      {0.05, 4, "0.0500"},
      {12, 0, "12"},
      {3.14159, 2, "3.14"},
      {2.0 * 8 / 3, 2, "5.33"},
      {2.0 / 3, 2, "0.66"},  // cut, not rounded
      {1.0 / 3, 4, "0.3333"},
      {5, 2, "5.00"},
      {-7.5, 0, "-7"},
      {1e12, 0, "1000000000000"},  // no exponent swallowed by the cut
      {1e-5, 4, "0.0000"},         // nor one that would show the digits the cut drops
      {1.0 / 123456789.0, 4, "0.0000"},
      {0.25, 4, "0.2500"},
  };
  for (const auto& [value, decimals, text] : rows) EXPECT_EQ(formatNumber(value, decimals), text) << value;
}

}  // namespace
}  // namespace hc
