// The workbench window: `hamcycles [FILE] [--no-splash] [--size WxH] [--screenshot DIR [--scene NAME]...]`,
// or `hamcycles --version` / `--help`.
#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "core/diagnostic_filter.h"
#include "core/diagnostics.h"
#include "hamcycles_version.h"
#include "ui/hamiltonian_cycles_app.h"

int main(int argc, char** argv) {
  // Answered before the application object exists, so it needs no display.
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::cout << "hamcycles " << HAMCYCLES_VERSION << "\n";
    return 0;
  }
  if (asksForUsage(argc, argv)) {
    std::cout << hamiltonianCyclesUsage();
    return 0;
  }
  // Nothing goes to standard output: the engine's diagnostic lines (a statistics line per
  // Probability Mill iteration, and more) are dropped, and only the lines that report a
  // fault reach standard error, as the command line shows them without --verbose. Static,
  // so a worker thread that ends after main() still finds the stream alive.
  static hc::DiagnosticFilter faultsOnly(std::cerr, false);
  static std::ostream diagnostics(&faultsOnly);
  hc::setDiagnosticStream(diagnostics);
  QApplication app(argc, argv);
  QStringList arguments = app.arguments();
  arguments.removeFirst();
  // QApplication has taken its own options out of argv: what is left matches `arguments`,
  // byte for byte (a file name that is not UTF-8 is opened by its bytes).
  const std::vector<std::string> raw(argv + std::min(argc, 1), argv + argc);
  const int code = CHamiltonianCyclesApp().run(arguments, raw);
  // The window has closed and its runs have stopped. Work it abandoned in the background (a
  // graph layout, which cannot be interrupted, or the figures of a huge graph) only fills
  // its own buffers: the program ends now instead of waiting for it.
  std::cout.flush();
  std::cerr.flush();
  std::fflush(nullptr);
  std::_Exit(code);
}
