// The linear-relaxation leaf (see linear_step.h): the multipliers summed edge by edge.
#include "certcheck/linear_step.h"

#include <vector>

namespace hc::certcheck {

namespace {

void add(int64_t& to, int64_t value) {
  if (__builtin_add_overflow(to, value, &to))
    throw Rejection{"the sum of the multipliers passes the 64-bit range"};
}

int64_t times(int64_t a, int64_t b) {
  int64_t product = 0;
  if (__builtin_mul_overflow(a, b, &product))
    throw Rejection{"the sum of the multipliers passes the 64-bit range"};
  return product;
}

}  // namespace

void checkRelaxationPart(BranchState& state, CertificateLines& lines) {
  const int64_t partLine = lines.number();
  const int32_t n = state.nodes();
  std::vector<int64_t> coefficient(state.edges().size(), 0);  // a_e
  int64_t bound = 0;                                          // b
  while (true) {
    if (!lines.next())
      throw Rejection{"the relaxation at line " + std::to_string(partLine) + " has no end line",
                      lines.number()};
    const std::vector<std::string_view>& tokens = lines.tokens();
    if (tokens[0] == "end") {
      if (tokens.size() > 1) throw Rejection{"nothing may follow \"end\" on its line"};
      break;
    }
    if (tokens[0] == "node") {
      if (tokens.size() != 3) throw Rejection{"node takes a node and its multiplier"};
      const auto v = static_cast<int32_t>(parseNumber(tokens[1], 0, n - 1, "node"));
      const int64_t y =
          parseNumber(tokens[2], -kMaxRelaxationMultiplier, kMaxRelaxationMultiplier, "multiplier");
      for (const BranchState::Incidence& i : state.incident(v))
        add(coefficient[static_cast<size_t>(i.edge)], y);
      add(bound, times(2, y));
    } else if (tokens[0] == "cut") {
      if (tokens.size() < 3) throw Rejection{"cut takes a multiplier and a node set"};
      const int64_t y = parseNumber(tokens[1], 1, kMaxRelaxationMultiplier, "multiplier");
      uint32_t stamp = 0;
      const std::vector<int32_t> set = parseNodeSet(state, std::span(tokens).subspan(2), stamp);
      if (static_cast<int32_t>(set.size()) >= n)
        throw Rejection{"a cut's node set must leave out at least one of the " + std::to_string(n) +
                        " nodes"};
      for (int32_t v : set)
        for (const BranchState::Incidence& i : state.incident(v))
          if (state.marks()[static_cast<size_t>(i.node)] != stamp)
            add(coefficient[static_cast<size_t>(i.edge)], y);
      add(bound, times(2, y));
    } else {
      throw Rejection{"a relaxation line is \"node V Y\", \"cut Y S...\" or \"end\""};
    }
  }
  int64_t largest = 0;  // of a.x over the branch's box
  for (size_t e = 0; e < coefficient.size(); ++e) {
    const EdgeStatus s = state.status(static_cast<int32_t>(e));
    if (s == kForced || (s == kOpen && coefficient[e] > 0)) add(largest, coefficient[e]);
  }
  if (largest >= bound)
    throw Rejection{"the multipliers give a.x >= " + std::to_string(bound) + ", which x can meet (up to " +
                        std::to_string(largest) + ")",
                    partLine};
}

}  // namespace hc::certcheck
