// The frame of the window: tabs, status boxes and Reset per state, help on F1, and a
// command-line file that cannot be read.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include "app/program_states.h"
#include "support/test_graphs.h"
#include "ui/hamiltonian_cycles_dlg.h"
#include "ui/help_dlg.h"
#include "ui/paint_helpers.h"

namespace {

QColor pixel(QWidget& widget, int x, int y) { return widget.grab().toImage().pixelColor(x, y); }

// Message boxes go to `messages` (an abort reports itself; a modal box would block), and a
// graph no method decides quickly is submitted: GP(23, 2) is non-Hamiltonian, which the
// Stone Carver cannot prove.
void prepare(CHamiltonianCyclesDlg& window, std::vector<std::string>& messages) {
  window.setMessageHook([&messages](const std::string& text, const std::string&) { messages.push_back(text); });
  window.initialise(std::nullopt);
  window.model().installGeneratedGraph(
      {8, 46, 0}, std::make_shared<hc::Graph>(hc::testing::makeGraph(46, hc::testing::generalizedPetersenEdges(23, 2))));
}

TEST(MainWindow, TabsStatusBoxesAndResetFollowTheState) {
  CHamiltonianCyclesDlg window;
  window.resize(1000, 700);
  std::vector<std::string> messages;
  window.initialise(std::nullopt);
  hc::ProgramModel& model = window.model();
  std::vector<std::string> captions;
  for (int i = 0; i < window.tabs()->count(); ++i) captions.push_back(window.tabs()->tabText(i).toStdString());
  EXPECT_EQ(captions, (std::vector<std::string>{"Graph Editor", "Graph Generation", "Graph Information",
                                                "Stone Carver's HC Algorithm", "coHC Proof System"}));
  EXPECT_EQ(window.tabs()->currentIndex(), 0);
  EXPECT_EQ(window.windowTitle().toStdString(), "Hamiltonian Cycles  [NO GRAPH LOADED]");
  struct Row { int32_t state; const char* text; bool reset; };
  const Row rows[] = {{0, "No Graph Loaded", false},
                      {1, "Graph Loaded & Ready To Run", true},
                      {2, "Stone Carver Hamiltonian Cycle Algorithm Running", false},
                      {3, "The Graph Is Hamiltonian", true}};
  for (const Row& row : rows) {
    if (row.state == 1) prepare(window, messages);
    if (row.state == 2) model.pageButtonPressed(hc::kStoneCarverPage);
    if (row.state == 3) {
      model.setProgramResult(1);
      model.setProgramState(3);
    }
    ASSERT_EQ(model.programState(), row.state);
    hcui::PaintedLabel& box = *window.statusTextBox();
    EXPECT_EQ(box.text().toStdString(), row.text);
    const hc::BoxLook look = hc::stateLook(row.state);
    EXPECT_EQ(pixel(box, 0, 0), hcui::toQColor(look.frame)) << row.state;
    EXPECT_EQ(pixel(box, 3, 3), hcui::toQColor(look.fill)) << row.state;
    EXPECT_EQ(!window.resetButton()->isHidden(), row.reset) << row.state;
  }
  EXPECT_EQ(window.statusLabelBox()->text().toStdString(), "STATUS:");
  EXPECT_EQ(pixel(*window.statusLabelBox(), 3, 3), QColor(212, 208, 200));
  EXPECT_EQ(window.windowTitle().toStdString(), "Hamiltonian Cycles  [Complete Graph With 46 Nodes]");
  QTest::mouseClick(window.resetButton(), Qt::LeftButton);
  EXPECT_EQ(model.programState(), 0);
  EXPECT_TRUE(window.resetButton()->isHidden());
}

TEST(MainWindow, F1OpensHelpForTheCurrentPageAndLiveState) {
  CHamiltonianCyclesDlg window;
  std::vector<std::string> messages;
  prepare(window, messages);
  window.model().pageButtonPressed(hc::kStoneCarverPage);
  window.tabs()->setCurrentIndex(hc::kStoneCarverPage);
  std::vector<std::string> shown;
  window.setHelpHook([&](QDialog& dialog) {
    auto& help = static_cast<CHelpDlg&>(dialog);
    shown.push_back(help.textBox()->toPlainText().toStdString());
    help.helpTabs()->setCurrentIndex(1);
    shown.push_back(help.textBox()->toPlainText().toStdString());
    // Another tab chosen later does not change the page; a new state does.
    window.tabs()->setCurrentIndex(hc::kEditorPage);
    window.model().pageButtonPressed(hc::kStoneCarverPage);
    help.refill();
    shown.push_back(help.textBox()->toPlainText().toStdString());
  });
  window.show();
  QApplication::setActiveWindow(&window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  QTest::keyClick(&window, Qt::Key_F1);
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0].substr(0, 16), "\n\nGENERAL HELP:\n");
  EXPECT_NE(shown[1].find("STONE CARVER DIALOG BOX -STATE 2 (RED):\n"), std::string::npos);
  EXPECT_NE(shown[1].find("Least Deletions To Hub"), std::string::npos);
  EXPECT_NE(shown[2].find("STONE CARVER DIALOG BOX -STATE 1 (GREEN):\n"), std::string::npos);
  // The button opens the same window.
  QTest::mouseClick(window.helpButton(), Qt::LeftButton);
  EXPECT_EQ(shown.size(), 6u);
}

TEST(MainWindow, UnreadableCommandLineFile) {
  CHamiltonianCyclesDlg window;
  std::vector<std::string> messages;
  window.setMessageHook([&](const std::string& text, const std::string&) { messages.push_back(text); });
  const std::string missing = std::string(HC_EXAMPLES_DIR) + "/no-such-graph.txt";
  window.initialise(missing);
  EXPECT_EQ(window.model().programState(), 0);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], missing + ": no such file");
  window.initialise(std::string(HC_EXAMPLES_DIR) + "/petersen.txt");
  EXPECT_EQ(window.model().programState(), 1);
  EXPECT_EQ(window.windowTitle().toStdString(), "Hamiltonian Cycles  [petersen.txt]");
}

}  // namespace
