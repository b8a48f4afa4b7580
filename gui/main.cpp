// The workbench window: `hamcycles [FILE] [--no-splash] [--screenshot DIR [--scene NAME]...]`.
#include <QApplication>

#include "ui/hamiltonian_cycles_app.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QStringList arguments = app.arguments();
  arguments.removeFirst();
  return CHamiltonianCyclesApp().run(arguments);
}
