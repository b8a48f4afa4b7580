// The one number-to-text rule of every display and message (the pages, the generation
// messages, the command line): ten significant digits, trailing zeros of the fraction
// dropped, then cut or padded to a fixed count of decimals (cut, not rounded: 2.666... with
// 2 decimals reads 2.66).
#pragma once

#include <string>

namespace hc {

// formatNumber(5, 0) = "5", formatNumber(0.05, 4) = "0.0500", formatNumber(3.14159, 2) =
// "3.14". Values whose ten significant digits would need an exponent are written in plain
// positional form instead (1e12 reads 1000000000000, not 1).
std::string formatNumber(double value, int decimals);

}  // namespace hc
