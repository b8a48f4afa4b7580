#include "ui/hamiltonian_cycles_app.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ui/graph_editor_scenes.h"
#include "ui/hamiltonian_cycles_dlg.h"
#include "ui/page_scenes.h"
#include "ui/screenshot_scenes.h"
#include "ui/splash_dlg.h"

bool asksForUsage(int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) return true;
  return false;
}

const char* hamiltonianCyclesUsage() {
  return "usage: hamcycles [FILE] [--no-splash] [--size WxH] [--screenshot DIR [--scene NAME]...]\n"
         "       hamcycles --version | --help\n"
         "Opens the Hamiltonian Cycles workbench window, with FILE loaded when one is given (any\n"
         "graph format the program reads: .txt, .g, .obj, .hcp, .g6, .s6, .col, .edges, ...).\n"
         "  --no-splash        no start-up picture (HC_NO_SPLASH=1 does the same)\n"
         "  --size WxH         opens the window at that size, e.g. 800x600\n"
         "  --screenshot DIR   saves a PNG of every page and scene to DIR, then quits\n"
         "  --scene NAME       only that scene (may be repeated)\n"
         "  --version          prints the version\n"
         "  --help, -h         prints this text\n"
         "Without a window, hamcycles-cli runs every method (hamcycles-cli --help).\n";
}

HamiltonianCyclesOptions parseHamiltonianCyclesOptions(const QStringList& arguments,
                                                       const char* noSplashEnvironment,
                                                       const std::vector<std::string>& rawArguments) {
  HamiltonianCyclesOptions options;
  if (noSplashEnvironment && std::string(noSplashEnvironment) == "1") options.splash = false;
  for (int i = 0; i < arguments.size(); ++i) {
    const QString& a = arguments[i];
    auto value = [&](const char* option) -> std::optional<std::string> {
      if (i + 1 < arguments.size()) return arguments[++i].toStdString();
      options.problems.push_back(std::string(option) + " needs a value");
      return std::nullopt;
    };
    if (a == "--no-splash") {
      options.splash = false;
    } else if (a == "--screenshot") {
      options.screenshotFolder = value("--screenshot");
    } else if (a == "--size") {
      if (auto text = value("--size")) {
        const QStringList parts = QString::fromStdString(*text).split('x');
        bool okWidth = false, okHeight = false;
        const int width = parts.size() == 2 ? parts[0].toInt(&okWidth) : 0;
        const int height = parts.size() == 2 ? parts[1].toInt(&okHeight) : 0;
        if (okWidth && okHeight && width >= 100 && height >= 100 && width <= 10000 && height <= 10000)
          options.size = std::pair(width, height);
        else
          options.problems.push_back("--size " + *text + ": not a window size such as 800x600");
      }
    } else if (a == "--scene") {
      if (auto name = value("--scene")) options.scenes.push_back(*name);
    } else if (a.startsWith("--")) {
      options.problems.push_back("unknown option " + a.toStdString());
    } else if (options.file) {
      options.problems.push_back("only one file can be opened; ignored " + a.toStdString());
    } else {
      options.file = rawArguments.size() == static_cast<size_t>(arguments.size())
                         ? rawArguments[static_cast<size_t>(i)]
                         : a.toStdString();
    }
  }
  if (options.screenshotFolder) options.splash = false;
  return options;
}

int CHamiltonianCyclesApp::run(const QStringList& arguments, const std::vector<std::string>& rawArguments) {
  const HamiltonianCyclesOptions options =
      parseHamiltonianCyclesOptions(arguments, std::getenv("HC_NO_SPLASH"), rawArguments);
  if (options.splash) {
    CSplashDlg splash;
    splash.exec();
  }
  CHamiltonianCyclesDlg window;
  const bool scripted = options.screenshotFolder.has_value();
  if (scripted) {
    window.setMessageHook([](const std::string& text, const std::string& caption) {
      std::fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
    });
    window.setFileHook([](const std::string&) { return std::optional<std::string>(); });
    window.setQuestionHook([](const std::string&) { return false; });
  }
  if (options.size) window.resize(options.size->first, options.size->second);
  window.show();
  for (const std::string& problem : options.problems)
    window.showMessage("hamcycles: " + problem, "Hamiltonian Cycles");
  window.initialise(options.file);
  if (scripted) {
    hcui::registerPageScenes();
    hcui::registerEditorScenes();
    QTimer::singleShot(0, &window, [&window, &options] {
      hcui::takeScreenshots(window, *options.screenshotFolder, options.scenes,
                            [&window](bool ok) { window.done(ok ? 0 : 1); });
    });
  }
  return window.exec();
}
