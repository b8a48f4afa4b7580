#include "app/run_inputs.h"

#include <cctype>

namespace hc {

namespace {

// Digits of `text` from `begin` up to `end` as a value, or nullopt when it exceeds `limit`.
std::optional<uint64_t> digitsValue(const std::string& text, size_t begin, size_t end, uint64_t limit) {
  uint64_t value = 0;
  for (size_t i = begin; i < end; ++i) {
    value = value * 10 + static_cast<uint64_t>(text[i] - '0');
    if (value > limit) return std::nullopt;
  }
  return value;
}

}  // namespace

std::optional<int32_t> leadingNumber(const std::string& text) {
  size_t end = 0;
  while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end]))) ++end;
  if (end == 0 || (end < text.size() && text[end] != ' ')) return std::nullopt;
  std::optional<uint64_t> value = digitsValue(text, 0, end, INT32_MAX);
  if (!value) return std::nullopt;
  return static_cast<int32_t>(*value);
}

SeedInput parseSeedInput(const std::string& text) {
  size_t begin = text.find_first_not_of(' ');
  if (begin == std::string::npos) return {};
  size_t end = text.find_last_not_of(' ') + 1;
  for (size_t i = begin; i < end; ++i)
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return {false, std::nullopt};
  std::optional<uint64_t> value = digitsValue(text, begin, end, UINT32_MAX);
  if (!value) return {false, std::nullopt};
  return {true, static_cast<uint32_t>(*value)};
}

}  // namespace hc
