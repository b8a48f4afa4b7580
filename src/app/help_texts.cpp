#include "app/help_texts.h"

#include "app/program_states.h"

namespace hc {

namespace {

const char* const kPageNames[] = {"GRAPH EDITOR", "GRAPH GENERATION", "GRAPH INFORMATION", "STONE CARVER", "CO-HC"};

HelpLines withHeading(int32_t page, int32_t state, HelpLines body) {
  std::string heading = std::string("CONTEXT SPECIFIC HELP FOR ") + kPageNames[page] + " DIALOG BOX -STATE " +
                        std::to_string(state) + " (" + stateColourName(state) + "):";
  HelpLines lines{"", "", heading, std::string(heading.size(), '=')};
  lines.insert(lines.end(), body.begin(), body.end());
  return lines;
}

}  // namespace

const HelpLines& generalHelpLines() {
  static const HelpLines lines{"", "", "GENERAL HELP:", "============="};
  return lines;
}

const HelpLines& contextualHelpLines(int32_t page, int32_t state, int32_t algorithmChoice) {
  static std::vector<HelpLines> texts = [] {
    std::vector<HelpLines> all;
    for (int32_t p = 0; p < 5; ++p)
      for (int32_t s = 0; s < 4; ++s) all.push_back(withHeading(p, s, {}));
    return all;
  }();
  (void)algorithmChoice;
  if (page < 0 || page > 4 || state < 0 || state > 3) return generalHelpLines();
  return texts[page * 4 + state];
}

std::string joinHelpLines(const HelpLines& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

}  // namespace hc
