// The workbench window: `hamcycles [FILE] [--no-splash] [--screenshot DIR]`.
#include <QApplication>
#include <QStringList>
#include <optional>
#include <string>

#include "ui/hamiltonian_cycles_dlg.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  std::optional<std::string> file;
  const QStringList args = app.arguments();
  for (int i = 1; i < args.size(); ++i) {
    if (args[i] == "--no-splash") continue;
    if (args[i] == "--screenshot") {
      ++i;
      continue;
    }
    if (!file) file = args[i].toStdString();
  }
  CHamiltonianCyclesDlg window;
  window.initialise(file);
  window.show();
  return app.exec();
}
