// The application: reads the command line, shows the start-up picture (unless skipped),
// then the main window; the program ends when the main window closes.
//
//   hamcycles [FILE] [--no-splash] [--size WxH] [--screenshot DIR [--scene NAME]...]
//
// HC_NO_SPLASH=1 in the environment skips the picture as --no-splash does. --size opens
// the window at that size (e.g. 800x600). --screenshot saves a PNG of every tab (and the
// registered scenes) to DIR and quits; message boxes then go to standard error instead of
// waiting for a click.
#pragma once

#include <QStringList>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct HamiltonianCyclesOptions {
  std::optional<std::string> file;
  bool splash = true;
  std::optional<std::string> screenshotFolder;
  std::vector<std::string> scenes;
  std::optional<std::pair<int, int>> size;  // --size WxH
  std::vector<std::string> problems;        // unknown options, missing values: shown, then ignored
};

// Reads the arguments after the program name. `noSplashEnvironment` is HC_NO_SPLASH.
// `rawArguments`, when it has as many entries, gives the file name's bytes as the system
// passed them (a name that is not UTF-8 survives; a QString would not keep it).
HamiltonianCyclesOptions parseHamiltonianCyclesOptions(const QStringList& arguments,
                                                       const char* noSplashEnvironment,
                                                       const std::vector<std::string>& rawArguments = {});

// True when the arguments ask for the usage (--help or -h anywhere); the text to print.
bool asksForUsage(int argc, const char* const* argv);
const char* hamiltonianCyclesUsage();

class CHamiltonianCyclesApp {
 public:
  // Runs the whole program inside an existing QApplication; returns the exit code.
  int run(const QStringList& arguments, const std::vector<std::string>& rawArguments = {});
};
