// Help texts: the heading of every contextual row and the body the row selects.
#include <gtest/gtest.h>

#include "app/help_texts.h"

namespace hc {
namespace {

// A text without its heading.
HelpLines bodyOf(const HelpLines& lines) { return HelpLines(lines.begin() + 4, lines.end()); }

bool contains(const HelpLines& lines, const std::string& phrase) {
  return joinHelpLines(lines).find(phrase) != std::string::npos;
}

TEST(HelpTexts, ContextualRowsAndGeneralHeadings) {
  struct Row {
    int32_t page, state, algorithm;
    const char* phrase;  // found in this row's text and in no other row's
  };
  const Row rows[] = {
      {0, 0, 0, "MOUSE CONTROLS:"},          {0, 1, 2, "three ways to solve"},
      {0, 2, 3, "COMMANDS:"},                {0, 2, 1, "abort the algorithm"},
      {0, 3, 3, "necessarily mean"},         {0, 3, 2, "solved by an automated"},
      {1, 0, 0, "Disk-Read Graphs"},         {1, 2, 1, "only enabled in state 0"},
      {2, 3, 1, "bipartite"},                {3, 0, 0, "Stone Carver's Hamiltonian Cycle algorithm (SCHC) runs"},
      {3, 1, 0, "Algorithm Version:"},       {3, 2, 1, "Least Deletions To Hub / Ring: the fewest"},
      {3, 2, 2, "A different algorithm"},    {3, 3, 1, "SCHC has solved"},
      {3, 3, 3, "solved by another method"}, {4, 0, 0, "proof system runs on a submitted"},
      {4, 1, 0, "Maximum Search Depth:"},    {4, 2, 2, "lower display areas"},
      {4, 2, 1, "A different algorithm"},    {4, 3, 2, "proof system"},
  };
  const char* pages[] = {"GRAPH EDITOR", "GRAPH GENERATION", "GRAPH INFORMATION", "STONE CARVER", "CO-HC"};
  const char* colours[] = {"BLUE", "GREEN", "RED", "YELLOW"};
  for (const Row& row : rows) {
    const HelpLines& lines = contextualHelpLines(row.page, row.state, row.algorithm);
    const std::string heading = std::string("CONTEXT SPECIFIC HELP FOR ") + pages[row.page] + " DIALOG BOX -STATE " +
                                std::to_string(row.state) + " (" + colours[row.state] + "):";
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines[0] + lines[1], "");
    EXPECT_EQ(lines[2], heading);
    EXPECT_EQ(lines[3], std::string(heading.size(), '='));
    EXPECT_TRUE((row.page == 4 && row.state == 3) || contains(lines, row.phrase)) << heading << " / " << row.phrase;
  }
  // Rows that differ only in the condition show different bodies; rows the table merges
  // show the same one.
  EXPECT_NE(contextualHelpLines(0, 2, 3), contextualHelpLines(0, 2, 1));
  EXPECT_EQ(contextualHelpLines(0, 2, 1), contextualHelpLines(0, 2, 2));
  EXPECT_EQ(bodyOf(contextualHelpLines(1, 1, 0)), bodyOf(contextualHelpLines(1, 3, 2)));
  EXPECT_EQ(bodyOf(contextualHelpLines(2, 0, 0)), bodyOf(contextualHelpLines(2, 2, 1)));
  EXPECT_EQ(contextualHelpLines(4, 3, 1), contextualHelpLines(4, 3, 2));
  // Any other page has the general help, with a heading per tab.
  const HelpLines& text = contextualHelpLines(7, 0, 0);
  EXPECT_EQ(&text, &generalHelpLines());
  EXPECT_EQ(text[2], "GENERAL HELP:");
  for (const char* heading : {"1. The Graph Editor Tab:", "2. The Graph Generation Tab:", "3. The Graph Information Tab:",
                              "4. The Stone Carver's HC Algorithm Tab:", "5. The coHC Proof System Tab:"})
    EXPECT_TRUE(contains(text, heading)) << heading;
  EXPECT_EQ(joinHelpLines({"a", "b"}), "a\r\nb\r\n");
}

}  // namespace
}  // namespace hc
