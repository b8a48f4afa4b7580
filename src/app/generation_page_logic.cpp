#include "app/generation_page_logic.h"

#include <cmath>

#include "generators/graph_generation.h"

namespace hc {

namespace {

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

// Nodes plus edges of an accepted request, roughly; a dense regular graph counts its
// degree once more because its passes restart the more often the denser it is.
double estimatedWork(const GraphRequest& request) {
  const double p1 = request.parameter1;
  const double p2 = request.parameter2;
  const double n = std::trunc(p1);
  switch (static_cast<int32_t>(request.sourceType)) {
    case 1: return n * (n + 1.0) / 2.0;  // one draw per node pair, whatever the probability
    case 2: return n * (1.0 + std::trunc(p2) / 2.0) * std::trunc(p2);
    case 3: return n + std::trunc(p2);
    case 4: return 3.0 * p1 * p2;
    case 5: return 5.0 * p1 * p2;
    case 6: return std::ldexp(1.0 + p1 / 2.0, static_cast<int>(std::min(p1, 64.0)));
    case 7: return 14.0 * 3.0 * p1;
    case 8: return n * (n + 1.0) / 2.0;
    case 9: return 4.0 * (49.0 * n * p2 + 2.0 * n);
    default: return 0.0;
  }
}

}  // namespace

LoadButtonOutcome evaluateLoadButton(int32_t sourceType, std::string_view text1, std::string_view text2) {
  LoadButtonOutcome outcome;
  if (sourceType >= 10 && sourceType <= 12) {
    outcome.accepted = true;
    outcome.request.sourceType = sourceType;
    return outcome;
  }
  if (sourceType < 1 || sourceType > 9) return outcome;

  ParameterCheck check = checkGenerationParameters(sourceType, text1, text2);
  if (!check.ok()) {
    outcome.messages = std::move(check.errors);
    return outcome;
  }
  // Within the page's ranges; what is left is whether the graph can be built at all.
  std::string problem;
  if (sourceType == 9) {
    problem = validate3SatRequest(check.first, check.second);
  } else {
    problem = validateGenerationRequest(requestForFamily(sourceType, check.first, check.second));
  }
  if (!problem.empty()) {
    outcome.messages = splitLines(problem);
    return outcome;
  }
  GraphRequest& request = outcome.request;
  outcome.accepted = true;
  request.sourceType = sourceType;
  request.parameter1 = sourceType >= 4 && sourceType <= 8 ? std::trunc(check.first) : check.first;
  request.parameter2 = sourceType == 4 || sourceType == 5 ? std::trunc(check.second) : check.second;
  if (sourceType >= 6 && sourceType <= 8) request.parameter2 = 0.0;
  return outcome;
}

bool shouldGenerateInBackground(const LoadButtonOutcome& accepted) {
  return accepted.accepted && accepted.request.sourceType <= 9 && estimatedWork(accepted.request) > 20000.0;
}

}  // namespace hc
