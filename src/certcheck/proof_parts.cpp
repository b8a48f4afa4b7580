// The parts read up to `end` (see proof_parts.h): proofs replayed by the DRUP checker
// against the formulas of the branch, and the relaxation's multipliers summed edge by edge.
#include "certcheck/proof_parts.h"

#include <array>
#include <limits>
#include <vector>

#include "certcheck/colouring_cnf.h"
#include "certcheck/two_factor_cnf.h"

namespace hc::certcheck {

namespace {

std::unique_ptr<DrupChecker> graphFormula(const BranchState& state) {
  const int64_t variables = twoFactorVariables(state.nodes(), state.edges());
  if (variables > std::numeric_limits<int32_t>::max() / 2)
    throw Rejection{"the graph is too large for a SAT part"};
  auto formula = std::make_unique<DrupChecker>(static_cast<int32_t>(variables));
  // A node of fewer than two edges gives the empty clause: nothing else of the formula matters.
  bool lowDegree = state.nodes() < 3;
  for (int32_t v = 0; v < state.nodes() && !lowDegree; ++v) lowDegree = state.incident(v).size() < 2;
  if (lowDegree)
    formula->addInput({});
  else
    twoFactorCnf(state.nodes(), state.edges(),
                 [&formula](std::span<const int32_t> clause) { formula->addInput(clause); });
  formula->freeze();
  return formula;
}

void subtourClause(BranchState& state, std::span<const std::string_view> tokens,
                   std::vector<int32_t>& clause) {
  uint32_t stamp = 0;
  const std::vector<int32_t> set = parseNodeSet(state, tokens, stamp);
  if (set.empty() || static_cast<int32_t>(set.size()) >= state.nodes())
    throw Rejection{"a subtour's node set must hold at least one node and not all " +
                    std::to_string(state.nodes())};
  for (int32_t v : set)
    for (const BranchState::Incidence& i : state.incident(v))
      if (state.marks()[static_cast<size_t>(i.node)] != stamp) clause.push_back(i.edge + 1);
}

// Replays the part's proof into `drup` (reading subtour lines against `subtours` unless it
// is null), counting the propagation work past `counted` into the lines' work.
void checkProof(CertificateLines& lines, DrupChecker& drup, const char* part, int64_t counted,
                BranchState* subtours) {
  const int64_t partLine = lines.number(), variables = drup.variables();
  std::vector<int32_t> clause;
  while (lines.nextInPart(part, partLine)) {
    const std::vector<std::string_view>& tokens = lines.tokens();
    clause.clear();
    if (subtours && tokens[0] == "subtour") {
      subtourClause(*subtours, std::span(tokens).subspan(1), clause);
      drup.addInput(clause);
      continue;
    }
    const bool deletion = tokens[0] == "d";
    const size_t from = deletion ? 1 : 0;
    if (tokens.size() == from || tokens.back() != "0") throw Rejection{"a proof line ends with 0"};
    for (size_t k = from; k + 1 < tokens.size(); ++k) {
      const int64_t literal = parseNumber(tokens[k], -variables, variables, "literal");
      if (literal == 0) throw Rejection{"a proof line ends at its first 0"};
      clause.push_back(static_cast<int32_t>(literal));
    }
    if (deletion) drup.erase(clause);
    const bool follows = deletion || drup.addLemma(clause);
    lines.work += drup.work() - counted;
    counted = drup.work();
    if (!follows)
      throw Rejection{
          "the clause does not follow by unit propagation (steps that need RAT are not accepted)"};
  }
  lines.work += drup.work() - counted;
  if (!drup.refuted())
    throw Rejection{std::string("the ") + part + " does not derive the empty clause", partLine};
}

// to += factor * value; leaving the 64-bit range rejects the leaf rather than wrap around.
void add(int64_t& to, int64_t value, int64_t factor = 1) {
  int64_t product = 0;
  if (__builtin_mul_overflow(value, factor, &product) || __builtin_add_overflow(to, product, &to))
    throw Rejection{"the sum of the multipliers passes the 64-bit range"};
}

}  // namespace

void checkSatPart(BranchState& state, CertificateLines& lines, std::unique_ptr<DrupChecker>& formula) {
  const int64_t counted = formula ? formula->work() : 0;  // a new formula counts its building
  if (!formula) formula = graphFormula(state);
  formula->restore();
  state.forEachDecided([&formula, &state](int32_t e) {
    const int32_t unit = state.status(e) == kForced ? e + 1 : -(e + 1);
    formula->addInput(std::span<const int32_t>(&unit, 1));
  });
  checkProof(lines, *formula, "SAT part", counted, &state);
}

void checkColouringPart(BranchState& state, CertificateLines& lines) {
  // An odd cycle cannot be split into two matchings: there the formula proves nothing.
  if (state.nodes() % 2 != 0)
    throw Rejection{"the graph has an odd number of nodes (" + std::to_string(state.nodes()) + ")"};
  const int64_t variables = 2 * static_cast<int64_t>(state.edges().size());
  if (variables > std::numeric_limits<int32_t>::max() / 2 ||
      colouringClauses(state.nodes(), state.edges()) > kMaxColouringClauses)
    throw Rejection{"the graph is too large for a colouring part"};
  DrupChecker drup(static_cast<int32_t>(variables));
  colouringCnf(state.nodes(), state.edges(),
               [&drup](std::span<const int32_t> clause) { drup.addInput(clause); });
  state.forEachDecided([&drup, &state](int32_t e) {
    const int32_t one = 2 * e + 1, two = one + 1;
    if (state.status(e) == kForced)
      drup.addInput(std::array{one, two});
    else
      for (const int32_t unit : {-one, -two}) drup.addInput(std::span<const int32_t>(&unit, 1));
  });
  checkProof(lines, drup, "colouring part", 0, nullptr);
}

void checkRelaxationPart(BranchState& state, CertificateLines& lines) {
  const int64_t partLine = lines.number();
  const int32_t n = state.nodes();
  std::vector<int64_t> coefficient(state.edges().size(), 0);  // a_e
  int64_t bound = 0;                                          // b
  while (lines.nextInPart("relaxation", partLine)) {
    const std::vector<std::string_view>& tokens = lines.tokens();
    if (tokens[0] == "node") {
      if (tokens.size() != 3) throw Rejection{"node takes a node and its multiplier"};
      const auto v = static_cast<int32_t>(parseNumber(tokens[1], 0, n - 1, "node"));
      const int64_t y =
          parseNumber(tokens[2], -kMaxRelaxationMultiplier, kMaxRelaxationMultiplier, "multiplier");
      for (const BranchState::Incidence& i : state.incident(v))
        add(coefficient[static_cast<size_t>(i.edge)], y);
      add(bound, y, 2);
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
      add(bound, y, 2);
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
