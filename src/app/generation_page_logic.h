// What the Graph Generation page decides when one of its load buttons is pressed, without
// any widget: from the chosen source type and the two edit texts to the message boxes it
// shows (in order) or the request it sends. The rules and limits are the generation
// factory's own (the command line's `generate` applies the same ones), so the page never
// accepts a request the factory would refuse.
//
// Also here: which accepted requests are worth a worker thread (buildRequestedGraph,
// program_model.h, is what the worker runs).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/program_model.h"

namespace hc {

struct LoadButtonOutcome {
  std::vector<std::string> messages;  // the message boxes, in order; empty when accepted
  bool accepted = false;
  GraphRequest request;  // the request sent when accepted
};

// `code` is the pressed button's source code (core/graph_source.h). The families and the
// 3-SAT reduction check their texts (text2 is ignored for the n-cube, ICCS and complete
// graphs); the text, drawing and OBJ file buttons are accepted with both parameters 0 (the
// main window then asks for the file). Grid, cube, ICCS and complete requests carry their
// parameters truncated, as the page sends them. Any other code is refused with no message
// (nothing is selected).
LoadButtonOutcome evaluateLoadButton(int32_t code, std::string_view text1, std::string_view text2);

// Accepted requests whose build takes long enough to be felt (large graphs, dense random
// regular graphs that restart often) run on a worker thread; the rest are built at once.
bool shouldGenerateInBackground(const LoadButtonOutcome& accepted);

}  // namespace hc
