// The parts read up to `end` (see proof_parts.h): DRUP replays and the relaxation's sums.
#include "certcheck/proof_parts.h"

#include <algorithm>
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

// The edges leaving the node set of `tokens` (not empty, not all, marked `stamp`), else `what`'s rejection.
std::vector<int32_t> edgesLeaving(BranchState& state, std::span<const std::string_view> tokens,
                                  uint32_t& stamp, std::string_view what) {
  const std::vector<int32_t> set = parseNodeSet(state, tokens, stamp);
  if (set.empty() || static_cast<int32_t>(set.size()) >= state.nodes())
    throw Rejection{"a " + std::string(what) + "'s node set must hold at least one node and not all " +
                    std::to_string(state.nodes())};
  std::vector<int32_t> out;
  for (int32_t v : set)
    for (const BranchState::Incidence& i : state.incident(v))
      if (state.marks()[static_cast<size_t>(i.node)] != stamp) out.push_back(i.edge);
  return out;
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
      uint32_t stamp = 0;
      for (int32_t e : edgesLeaving(*subtours, std::span(tokens).subspan(1), stamp, "subtour"))
        clause.push_back(e + 1);
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
  std::vector<int64_t> coefficient(state.edges().size(), 0);  // a_e
  int64_t bound = 0;                                          // b
  while (lines.nextInPart("relaxation", partLine)) {
    // `node V Y`: V's degree equation x(delta(V)) = 2, so Y takes any sign; `cut Y S...`:
    // x(delta(S)) >= 2; `blossom Y H... teeth U V ...`, with an odd set T of teeth (edges with
    // one end in H, each named once): x(delta(H) - T) - x(T) >= 1 - |T|, since short of it a
    // cycle would take all of T and nothing else across H's cut, an odd number of edges.
    const std::vector<std::string_view>& tokens = lines.tokens();
    const bool node = tokens[0] == "node", blossom = tokens[0] == "blossom";
    const auto teeth = std::find(tokens.begin(), tokens.end(), "teeth");
    if (!node && !blossom && tokens[0] != "cut")
      throw Rejection{
          "a relaxation line is \"node V Y\", \"cut Y S...\", \"blossom Y H... teeth U V...\" or \"end\""};
    if (node && tokens.size() != 3) throw Rejection{"node takes a node and its multiplier"};
    if (tokens.size() < 3 || blossom == (teeth == tokens.end()) ||
        (blossom && (tokens.end() - teeth) % 2 != 1))
      throw Rejection{"cut takes a multiplier and a node set, blossom those, \"teeth\" and node pairs"};
    const int64_t y = parseNumber(tokens[node ? 2 : 1], node ? -kMaxRelaxationMultiplier : 1,
                                  kMaxRelaxationMultiplier, "multiplier");
    uint32_t stamp = 0;
    const auto set = node ? std::span(tokens).subspan(1, 1) : std::span(tokens.begin() + 2, teeth);
    for (int32_t e : edgesLeaving(state, set, stamp, tokens[0])) add(coefficient[static_cast<size_t>(e)], y);
    auto inside = [&](int32_t v) { return state.marks()[static_cast<size_t>(v)] == stamp; };
    std::vector<int32_t> named;  // the teeth
    for (auto t = teeth; blossom && t + 1 != tokens.end(); t += 2) {
      const auto u = static_cast<int32_t>(parseNumber(t[1], 0, state.nodes() - 1, "node"));
      const auto v = static_cast<int32_t>(parseNumber(t[2], 0, state.nodes() - 1, "node"));
      named.push_back(state.findEdge(u, v));
      if (named.back() < 0 || inside(u) == inside(v))
        throw Rejection{"a tooth is an edge with one end in the handle"};
      add(coefficient[static_cast<size_t>(named.back())], y, -2);
    }
    std::sort(named.begin(), named.end());
    if (blossom && (named.size() % 2 == 0 || std::adjacent_find(named.begin(), named.end()) != named.end()))
      throw Rejection{"a blossom has an odd number of teeth, each named once"};
    add(bound, y, blossom ? 1 - static_cast<int64_t>(named.size()) : 2);
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
