// What a method concluded about a graph: one of three values everywhere outside the
// engine's own int16_t state (whose numbers the stored files and messages keep).
#pragma once

#include <cstdint>
#include <string_view>

#include "core/graph.h"

namespace hc {

enum class Verdict : uint8_t { kNonHamiltonian, kHamiltonian, kUndecided };

constexpr Verdict verdictOf(HamiltonicityState state) {
  return state == kHamiltonian      ? Verdict::kHamiltonian
         : state == kNotHamiltonian ? Verdict::kNonHamiltonian
                                    : Verdict::kUndecided;
}

// "hamiltonian", "non-hamiltonian", "undecided": the words of the JSON reports.
constexpr std::string_view verdictName(Verdict verdict) {
  switch (verdict) {
    case Verdict::kHamiltonian: return "hamiltonian";
    case Verdict::kNonHamiltonian: return "non-hamiltonian";
    case Verdict::kUndecided: break;
  }
  return "undecided";
}

}  // namespace hc
