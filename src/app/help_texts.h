// The help window's texts as data: the general text and one contextual text per row of
// page x program state x algorithm choice. Each text is a list of lines; the shown text is
// their concatenation, every line ending in "\r\n".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/program_state.h"

namespace hc {

using HelpLines = std::vector<std::string>;

// The "GENERAL HELP:" text.
const HelpLines& generalHelpLines();
// The contextual text for the page with tab index `page` (0..5) in `state` with
// `algorithmChoice`. An unknown page or state gives the general text.
const HelpLines& contextualHelpLines(int32_t page, ProgramState state, AlgorithmChoice algorithmChoice);
// The lines joined, each followed by "\r\n".
std::string joinHelpLines(const HelpLines& lines);

}  // namespace hc
