// The stop token as CaDiCaL's terminator. The solver asks its terminator every few
// conflicts; between two asks far more time passes than 256 of the token's cheap polls would
// cover, so it reads the token exactly.
#pragma once

#include <cadical.hpp>

#include "core/stop_token.h"

namespace hc {

class TokenTerminator : public CaDiCaL::Terminator {
 public:
  explicit TokenTerminator(const StopToken& stop) : stop_(stop) {}
  bool terminate() override { return stop_.stopRequested(); }

 private:
  const StopToken& stop_;
};

}  // namespace hc
