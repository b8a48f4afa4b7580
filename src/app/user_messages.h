// How the window speaks to the user besides its pages: whether a message box tells
// (information) or warns (a refusal, an error), and the short lines the window shows in its
// status area after it has written a file, so the user sees where the file went without a
// box to click away.
#pragma once

#include <string>

namespace hc {

enum class MessageKind { kInformation, kWarning };

// Only a few messages merely tell ("Algorithm Aborted", "Not Implemented Yet"); every
// other one refuses an action or reports a fault and gets the warning icon.
MessageKind messageKind(const std::string& text);

// "Saved the chart to /home/me/chart.png": `what` and the path made absolute.
std::string savedNote(const std::string& what, const std::string& path);

// Where a file dialog opens: `suggested` (a file name, or empty) in the folder of the
// loaded graph's file, else in `lastFolder` (where the last dialog went), else as it is.
// A suggestion that names its own folder keeps it.
std::string dialogStartPath(const std::string& currentFilePath, const std::string& lastFolder,
                            const std::string& suggested);

}  // namespace hc
