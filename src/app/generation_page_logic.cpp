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
  using enum GraphSource;
  switch (request.sourceType) {
    // One draw per node pair, whatever the probability.
    case kEdgeProbabilityGraph: return n * (n + 1.0) / 2.0;
    case kRegularGraph: return n * (1.0 + std::trunc(p2) / 2.0) * std::trunc(p2);
    case kRandomEdgesGraph: return n + std::trunc(p2);
    case kToroidalGrid: return 3.0 * p1 * p2;
    case kKnightsTourGraph: return 5.0 * p1 * p2;
    case kNCubeGraph: return std::ldexp(1.0 + p1 / 2.0, static_cast<int>(std::min(p1, 64.0)));
    case kIccsGraph: return 14.0 * 3.0 * p1;
    case kCompleteGraph: return n * (n + 1.0) / 2.0;
    case kThreeSatReduction: return 4.0 * (49.0 * n * p2 + 2.0 * n);
    default: return 0.0;
  }
}

}  // namespace

LoadButtonOutcome evaluateLoadButton(int32_t code, std::string_view text1, std::string_view text2) {
  using enum GraphSource;
  LoadButtonOutcome outcome;
  // The page's buttons are numbered by their sources' codes.
  const auto sourceType = static_cast<GraphSource>(code);
  if (sourceType >= kTextFile && sourceType <= kObjFile) {
    outcome.accepted = true;
    outcome.request.sourceType = sourceType;
    return outcome;
  }
  if (sourceType < kEdgeProbabilityGraph || sourceType > kThreeSatReduction) return outcome;

  ParameterCheck check = checkGenerationParameters(sourceType, text1, text2);
  if (!check.ok()) {
    outcome.messages = std::move(check.errors);
    return outcome;
  }
  // Within the page's ranges; what is left is whether the graph can be built at all.
  std::string problem;
  if (sourceType == kThreeSatReduction) {
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
  request.parameter1 =
      sourceType >= kToroidalGrid && sourceType <= kCompleteGraph ? std::trunc(check.first) : check.first;
  request.parameter2 = sourceType == kToroidalGrid || sourceType == kKnightsTourGraph
                           ? std::trunc(check.second)
                           : check.second;
  if (sourceType >= kNCubeGraph && sourceType <= kCompleteGraph) request.parameter2 = 0.0;
  return outcome;
}

bool shouldGenerateInBackground(const LoadButtonOutcome& accepted) {
  return accepted.accepted && accepted.request.sourceType <= GraphSource::kThreeSatReduction &&
         estimatedWork(accepted.request) > 20000.0;
}

}  // namespace hc
