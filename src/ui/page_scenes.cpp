// Screenshot scenes of the help and splash dialogs and of the Graph Generation and
// Information pages; the method pages' scenes come from method_scenes.cpp.
#include "ui/page_scenes.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <cstdint>

#include "app/program_page.h"
#include "ui/graph_generation_dlg.h"
#include "ui/hamiltonian_cycles_dlg.h"
#include "ui/help_dlg.h"
#include "ui/method_scenes.h"
#include "ui/screenshot_scenes.h"
#include "ui/splash_dlg.h"

namespace {

// Help as opened from the Stone Carver page during a run, each help tab, the contextual
// text scrolled half way (its scroll bar follows).
QPixmap helpPicture(CHamiltonianCyclesDlg& window, int helpTab, bool scrolled) {
  CHelpDlg help(window.model(), window.tabs()->currentIndex(), &window);
  help.helpTabs()->setCurrentIndex(helpTab);
  help.show();
  QScrollBar* bar = help.textBox()->verticalScrollBar();
  if (scrolled) bar->setValue(bar->maximum() / 2);
  help.repaint();
  return help.grab();
}

QPixmap splashPicture(CHamiltonianCyclesDlg&) {
  CSplashDlg splash;
  splash.show();
  return splash.grab();
}

void chooseFamily(CHamiltonianCyclesDlg& window, int32_t family, const char* text1, const char* text2) {
  window.model().setProgramState(hc::ProgramState::kEditing);
  CGraphGenerationDlg& page = *window.generationPage();
  page.radioButton(family)->click();
  page.parameterEdit(family, 0)->setText(text1);
  page.parameterEdit(family, 1)->setText(text2);
}

// The page scrolled to its end (a small window), then a family whose controls sit at the
// top: they are scrolled back into sight.
void scrolledBack(CHamiltonianCyclesDlg& window) {
  window.model().setProgramState(hc::ProgramState::kEditing);
  for (QWidget* w = window.generationPage()->parentWidget(); w; w = w->parentWidget())
    if (auto* area = qobject_cast<QScrollArea*>(w))
      area->verticalScrollBar()->setValue(area->verticalScrollBar()->maximum());
  chooseFamily(window, 4, "100", "100");
}

void busyGeneration(CHamiltonianCyclesDlg& window) {
  chooseFamily(window, 2, "5000000", "3");
  window.generationPage()->loadButton(2)->click();
}

void registerHelpScenes() {
  static const hcui::ScreenshotSceneRegistration scenes[] = {
      {"help-general", hc::kStoneCarverPage, nullptr, 100,
       [](CHamiltonianCyclesDlg& w) { return helpPicture(w, 0, false); }},
      {"help-contextual-scrolled", hc::kStoneCarverPage, nullptr, 100,
       [](CHamiltonianCyclesDlg& w) { return helpPicture(w, 1, true); }},
  };
  (void)scenes;
}

void registerSplashScene() {
  static const hcui::ScreenshotSceneRegistration scene{"splash", 0, nullptr, 50, splashPicture};
}

// The generation page's scenes, then the information page's: the last one resets the
// program, which also drops the build the busy scene started.
void registerGenerationScenes() {
  static const hcui::ScreenshotSceneRegistration scenes[] = {
      {"generation-knight-parameters", hc::kGenerationPage,
       [](CHamiltonianCyclesDlg& w) { chooseFamily(w, 5, "8", "8"); }},
      {"generation-scrolled-toroidal", hc::kGenerationPage, scrolledBack},
      {"generation-disk-read", hc::kGenerationPage,
       [](CHamiltonianCyclesDlg& w) { chooseFamily(w, 10, "", ""); }},
      {"generation-busy", hc::kGenerationPage, busyGeneration, 600},
      {"information-no-graph", hc::kInformationPage,
       [](CHamiltonianCyclesDlg& w) { w.model().setProgramState(hc::ProgramState::kEditing); }},
  };
  (void)scenes;
}

}  // namespace

namespace hcui {

void registerPageScenes() {
  registerHelpScenes();
  registerSolverScenes();
  registerSplashScene();
  registerStoneCarverScenes();
  registerCoHCScenes();
  registerGenerationScenes();
}

}  // namespace hcui
