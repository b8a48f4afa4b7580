// The text of the elapsed-time boxes: days, hours, minutes, seconds and hundredths.
#pragma once

#include <string>

namespace hc {

// "0 : 00 : 01 : 02 . 04" for 62.04 seconds: days, then hours, minutes, seconds and
// hundredths with two digits each. Negative or non-finite times read as zero.
std::string elapsedTimeText(double seconds);

}  // namespace hc
