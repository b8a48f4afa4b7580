// What a method concluded about a graph: one of three values everywhere outside the
// engine's own int16_t state (whose numbers the stored files and messages keep).
#pragma once

#include <cstdint>
#include <string_view>

#include "core/graph.h"

namespace hc {

enum class Verdict : uint8_t { NonHamiltonian, Hamiltonian, Undecided };

constexpr Verdict verdictOf(HamiltonicityState state) {
  return state == kHamiltonian ? Verdict::Hamiltonian
         : state == kNotHamiltonian ? Verdict::NonHamiltonian
                                    : Verdict::Undecided;
}

// "hamiltonian", "non-hamiltonian", "undecided": the words of the JSON reports.
constexpr std::string_view verdictName(Verdict verdict) {
  switch (verdict) {
    case Verdict::Hamiltonian:
      return "hamiltonian";
    case Verdict::NonHamiltonian:
      return "non-hamiltonian";
    case Verdict::Undecided:
      break;
  }
  return "undecided";
}

}  // namespace hc
