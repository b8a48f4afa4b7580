#include "core/number_format.h"

#include <cmath>
#include <cstdio>

namespace hc {

namespace {

// Ten significant digits, shortest form, the decimal point always kept ("5." for five).
std::string tenSignificantDigits(double value) {
  char buffer[400];
  std::snprintf(buffer, sizeof buffer, "%.10g", value);
  std::string text(buffer);
  if (!std::isfinite(value)) return text;
  size_t e = text.find('e');
  if (e != std::string::npos) {
    // Positional form keeps the digits that an exponent would hide from the cut below.
    int exponent = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    int fraction = exponent >= 9 ? 0 : 9 - exponent;
    std::snprintf(buffer, sizeof buffer, "%.*f", fraction, value);
    text = buffer;
    if (text.find('.') != std::string::npos) {
      while (text.back() == '0') text.pop_back();
    }
  }
  if (text.find('.') == std::string::npos) text += '.';
  return text;
}

}  // namespace

std::string formatNumber(double value, int decimals) {
  std::string text = tenSignificantDigits(value);
  size_t point = text.find('.');
  if (point == std::string::npos) return text;  // not finite
  if (decimals <= 0) return text.substr(0, point);
  int after = static_cast<int>(text.size() - point - 1);
  if (after < decimals) text.append(static_cast<size_t>(decimals - after), '0');
  if (after > decimals) text.resize(point + 1 + static_cast<size_t>(decimals));
  return text;
}

}  // namespace hc
