#include "run/graph_families.h"

#include <array>

#include "generators/generalized_petersen.h"
#include "run/graph_description.h"

namespace hc {

namespace {

using enum GraphSource;

constexpr std::array<GraphFamily, 10> kFamilies = {{
    {"edge-probability", kEdgeProbabilityGraph, 2, "edge-probability N P"},
    {"regular", kRegularGraph, 2, "regular N D"},
    {"random-edges", kRandomEdgesGraph, 2, "random-edges N M"},
    {"torus", kToroidalGrid, 2, "torus R C"},
    {"knight", kKnightsTourGraph, 2, "knight R C"},
    {"ncube", kNCubeGraph, 1, "ncube N"},
    {"iccs", kIccsGraph, 1, "iccs K"},
    {"complete", kCompleteGraph, 1, "complete N"},
    {"3sat", kThreeSatReduction, 2, "3sat N C"},
    {"petersen", kGeneralizedPetersen, 2, "petersen N K"},
}};

// A whole number of at most 18 digits, or -1.
int64_t wholeNumber(const std::string& text) {
  if (text.empty() || text.size() > 18 || text.find_first_not_of("0123456789") != std::string::npos)
    return -1;
  return std::stoll(text);
}

}  // namespace

const GraphFamily* graphFamilyNamed(std::string_view name) {
  for (const GraphFamily& family : kFamilies)
    if (family.name == name) return &family;
  return nullptr;
}

std::string graphFamilyNames() {
  std::string names;
  for (const GraphFamily& family : kFamilies) names += (names.empty() ? "" : ", ") + std::string(family.name);
  return names;
}

std::string readFamilyParameters(const GraphFamily& family, const std::vector<std::string>& texts,
                                 ParameterCheck& out) {
  const std::string text1 = texts.at(0);
  const std::string text2 = texts.size() > 1 ? texts[1] : std::string();
  if (family.sourceType == kGeneralizedPetersen) {
    out.first = static_cast<double>(wholeNumber(text1));
    out.second = static_cast<double>(wholeNumber(text2));
    if (out.first < 0 || out.second < 0) return "petersen N K: N and K must be whole numbers";
    return checkGeneralizedPetersen(wholeNumber(text1), wholeNumber(text2));
  }
  if (family.sourceType == kKnightsTourGraph) {
    // Here a knight's board only has to be one the family can build; the page's rule of
    // 8 x 8 and up is the page's own.
    if (!isNumericText(text1) || !isNumericText(text2)) return "knight R C: R and C must be numbers";
    out.first = numericTextValue(text1);
    out.second = numericTextValue(text2);
    return {};
  }
  out = checkGenerationParameters(family.sourceType, text1, text2);
  std::string errors;
  for (const std::string& line : out.errors) errors += (errors.empty() ? "" : " ") + line;
  return errors;
}

FamilyGraph generateFamilyGraph(const GraphFamily& family, const ParameterCheck& parameters,
                                const std::vector<std::string>& texts, const StopToken* stop,
                                const std::function<void(double)>& progress) {
  FamilyGraph made;
  if (family.sourceType == kGeneralizedPetersen) {
    made.graph = generateGeneralizedPetersen(static_cast<int32_t>(parameters.first),
                                             static_cast<int32_t>(parameters.second));
    made.name = "Generalized Petersen Graph GP(" + texts.at(0) + ", " + texts.at(1) + ")";
    return made;
  }
  if (family.sourceType == kThreeSatReduction) {
    if (made.error = validate3SatRequest(parameters.first, parameters.second); !made.error.empty())
      return made;
    SatGenerationResult built = generate3SatGraph(parameters.first, parameters.second, stop, progress);
    made.error = built.error;
    made.graph = std::move(built.graph);
    made.formula = std::move(built.formula);
  } else {
    GenerationRequest request = requestForFamily(family.sourceType, parameters.first, parameters.second);
    made.error = family.sourceType == kKnightsTourGraph ? checkGenerationFeasibility(request)
                                                        : validateGenerationRequest(request);
    if (!made.error.empty()) return made;
    GenerationResult built = generateGraph(request, stop, progress);
    made.error = built.error;
    made.graph = std::move(built.graph);
  }
  if (!made.graph) return made;
  GraphDescription description;
  description.sourceType = family.sourceType;
  description.parameter1 = parameters.first;
  description.parameter2 = parameters.second;
  description.nodes = made.graph->howManyNodes;
  made.name = graphDisplayName(description);
  return made;
}

}  // namespace hc
