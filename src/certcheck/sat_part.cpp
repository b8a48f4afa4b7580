// The SAT leaf (see sat_part.h): the formula from the graph, subtour clauses from node sets,
// and the proof replayed by the DRUP checker.
#include "certcheck/sat_part.h"

#include <limits>
#include <vector>

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

}  // namespace

void replayProof(CertificateLines& lines, DrupChecker& drup, const char* part, int64_t partLine,
                 int64_t& counted, const ProofLineHook& hook) {
  const int64_t variables = drup.variables();
  std::vector<int32_t> clause;
  while (true) {
    if (!lines.next())
      throw Rejection{
          std::string("the ") + part + " part at line " + std::to_string(partLine) + " has no end line",
          lines.number()};
    const std::vector<std::string_view>& tokens = lines.tokens();
    if (tokens[0] == "end") {
      if (tokens.size() > 1) throw Rejection{"nothing may follow \"end\" on its line"};
      break;
    }
    clause.clear();
    if (hook && hook(std::span(tokens), clause)) {
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
  counted = drup.work();
}

void checkSatPart(BranchState& state, CertificateLines& lines, std::unique_ptr<DrupChecker>& formula) {
  const int64_t satLine = lines.number();
  int64_t counted = formula ? formula->work() : 0;  // a new formula counts its building
  if (!formula) formula = graphFormula(state);
  DrupChecker& drup = *formula;
  drup.restore();
  state.forEachDecided([&drup, &state](int32_t e) {
    const int32_t unit = state.status(e) == kForced ? e + 1 : -(e + 1);
    drup.addInput(std::span<const int32_t>(&unit, 1));
  });

  uint32_t stamp = 0;
  replayProof(lines, drup, "SAT", satLine, counted,
              [&state, &stamp](std::span<const std::string_view> tokens, std::vector<int32_t>& clause) {
                if (tokens[0] != "subtour") return false;
                const std::vector<int32_t> set = parseNodeSet(state, tokens.subspan(1), stamp);
                if (set.empty() || static_cast<int32_t>(set.size()) >= state.nodes())
                  throw Rejection{"a subtour's node set must hold at least one node and not all " +
                                  std::to_string(state.nodes())};
                for (int32_t v : set)
                  for (const BranchState::Incidence& i : state.incident(v))
                    if (state.marks()[static_cast<size_t>(i.node)] != stamp) clause.push_back(i.edge + 1);
                return true;
              });
  if (!drup.refuted()) throw Rejection{"the SAT part does not derive the empty clause", satLine};
}

}  // namespace hc::certcheck
