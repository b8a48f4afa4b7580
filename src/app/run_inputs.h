// The method pages' typed-in run settings, read without Qt: the number a list entry
// starts with (the version and pruning lists pass it to the engine) and the Stone Carver
// page's seed field.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace hc {

// The integer value of `text` up to its first blank: "05 - O(E) PM, Variable LAS" is 5,
// "5 - LAS With DC" is 5. Text that does not start with digits gives std::nullopt.
std::optional<int32_t> leadingNumber(const std::string& text);

// The seed field: empty (or blanks only) draws the seed from the clock; otherwise a whole
// number 0..4294967295 replays a run.
struct SeedInput {
  bool valid = true;
  std::optional<uint32_t> seed;  // none: from the clock
};
SeedInput parseSeedInput(const std::string& text);

inline constexpr const char* kBadSeedMessage =
    "ERROR! The seed must be a whole number from 0 to 4294967295, or empty to draw it from the clock.";

}  // namespace hc
