// The Graph Generation page's load buttons: every message box it shows, in order, and the
// request it sends, for the examples the page is known by and for the size limits.
#include <gtest/gtest.h>

#include "app/generation_page_logic.h"
#include "app/number_format.h"
#include "generators/graph_generation.h"

namespace hc {
namespace {

const std::string kNodes = "ERROR: The number of nodes must be 3 or greater.";
const std::string kNumeric = "ERROR: Graph parameters must be numeric.";

// No messages: accepted with the two parameters; only large or dense requests leave the UI
// thread (`background`).
struct LoadCase {
  int32_t family;
  const char *text1, *text2;
  std::vector<std::string> messages;
  double p1 = 0, p2 = 0;
  bool background = false;
};

TEST(GenerationValidation, LoadButtonsShowTheirMessagesInOrderOrSendTheRequest) {
  const std::vector<LoadCase> cases = {
      {1, "2", "1.5", {kNodes, "ERROR: The edge percentage must be between 0.0 and 1.0, inclusive."}},
      {2, "10", "2.9", {"ERROR: The degree of each node must be 3 or greater."}},
      {2, "10", "3.9", {}, 10, 3.9},
      {2, "2", "2", {kNodes, "ERROR: The degree of each node must be 3 or greater."}},
      {3, "5", "-1", {"ERROR: The number of edges must be 0 or greater."}},
      {1, "1e3", "0.5", {kNumeric}},
      {1, "", "0.5", {kNodes}},
      {4, "2.7", "5", {"ERROR: The height must be 3 or greater."}},
      {4, "3.9", "4.2", {}, 3, 4},
      {5, "8", "7", {"ERROR: The number of columns must be 8 or greater."}},
      {5, "7", "7", {"ERROR: The number of rows must be 8 or greater.", "ERROR: The number of columns must be 8 or greater."}},
      {6, ".", "x", {"ERROR: The n-Cube must have at least 2 dimensions."}},
      {7, "0", "", {"ERROR: The the graph must have at least 1 component."}},
      {8, "-", "", {"ERROR: The graph must have at least 3 nodes."}},
      {8, "5.5", "7", {}, 5, 0},
      {9, "4", "0.2", {"ERROR: The clause multiplier must be at least 0.2500."}},
      {9, "3", "0", {"ERROR: The clause multiplier must be at least 0.3333."}},
      {9, "2", "0", {"ERROR: The number of variables must be 3 or greater."}},
      {9, "100000", "0", {"ERROR: The clause multiplier must be at least 0.0000."}},
      {9, "3", "a", {kNumeric}},
      {10, "", "", {}, 0, 0},
      {8, "5", "", {}, 5, 0},
      {5, "8", "8", {}, 8, 8},
      {2, "1000000", "3", {}, 1000000, 3, true},
      {2, "100", "50", {}, 100, 50, true},
      // Over the limits: one message each, from the factory's own checks.
      {8, "20000", "", {"ERROR: The graph would have about 199990000 edges; at most 50000000 can be generated."}},
      {2, "20000000", "3", {"ERROR: The graph would have 20000000 nodes; at most 10000000 can be generated."}},
      {2, "11", "3", {"ERROR: No 3-regular graph on 11 nodes exists: the number of nodes times the degree must be even."}},
      {9, "1000000", "1000", {"ERROR: The graph would have 49002000000 nodes; at most 10000000 can be generated."}},
  };
  for (const LoadCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.family) + " '" + c.text1 + "' '" + c.text2 + "'");
    const LoadButtonOutcome outcome = evaluateLoadButton(c.family, c.text1, c.text2);
    EXPECT_EQ(outcome.messages, c.messages);
    const GraphRequest sent = outcome.accepted ? outcome.request : GraphRequest{double(c.family), c.p1, c.p2};
    EXPECT_EQ(std::tuple(outcome.accepted, shouldGenerateInBackground(outcome), sent.sourceType, sent.parameter1,
                         sent.parameter2),
              std::tuple(c.messages.empty(), c.background, c.family, c.p1, c.p2));
  }
}

TEST(GenerationValidation, MessageNumbersFollowTheDisplayRule) {
  for (double value : {1.0 / 3.0, 0.25, 1e-5, 1.0 / 123456789.0, 12.0, 2.0 / 3.0, 1e12})
    for (int decimals : {0, 2, 4}) EXPECT_EQ(formatNumberForMessage(value, decimals), formatNumber(value, decimals));
}

}  // namespace
}  // namespace hc
