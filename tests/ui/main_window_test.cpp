// The whole window, offscreen, with its message boxes and file dialogs scripted. The frame:
// tabs, status boxes and Reset per state, help on F1, a command-line file that cannot be
// read. Graph Generation and Information: refused requests change nothing, a long build can
// be cancelled, a finished one reaches the model; the figures of known graphs. The Stone
// Carver and Co-HC pages: their controls and defaults, the keep-the-last-L list, the
// statistics boxes, runs to state 3, aborts, the charts' axes and the two exports. The Solver
// page: its controls, both verdicts as the editor shows them, and an abort.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFontMetrics>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeView>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <thread>
#include <utility>

#include "app/program_states.h"
#include "certcheck/certificate_checker.h"
#include "core/diagnostics.h"
#include "editor/drawing_conversion.h"
#include "io/drawing_files.h"
#include "support/test_graphs.h"
#include "ui/characteristic_chart.h"
#include "ui/cohc_dlg.h"
#include "ui/graph_editor_dlg.h"
#include "ui/graph_generation_dlg.h"
#include "ui/graph_information_dlg.h"
#include "ui/hamiltonian_cycles_app.h"
#include "ui/hamiltonian_cycles_dlg.h"
#include "ui/help_dlg.h"
#include "ui/paint_helpers.h"
#include "ui/solver_dlg.h"
#include "ui/splash_dlg.h"
#include "ui/stone_carver_dlg.h"

namespace {

std::vector<std::string> texts(int count, const std::function<QString(int)>& text) {
  std::vector<std::string> out;
  for (int i = 0; i < count; ++i) out.push_back(text(i).toStdString());
  return out;
}

// The window started with `file` on its command line. Message boxes go to `messages` (a modal box
// would block), file dialogs answer `savePath`.
struct Window {
  std::ostream quiet{nullptr};  // the mill's per-iteration lines stay out of the test log
  hc::ScopedDiagnosticStream silence{quiet};
  CHamiltonianCyclesDlg dlg;
  std::vector<std::string> messages;
  std::vector<std::string> questions;  // answered `answer`
  bool answer = true;
  std::string savePath;
  std::string dialogPath;  // where the last save dialog would have opened
  QTemporaryDir folder;

  explicit Window(const std::optional<std::string>& file = std::nullopt) {
    dlg.setMessageHook([this](const std::string& text, const std::string&) { messages.push_back(text); });
    dlg.setFileHook([this](const std::string& at) {
      dialogPath = at;
      return std::optional<std::string>(savePath);
    });
    dlg.setQuestionHook([this](const std::string& text) {
      questions.push_back(text);
      return answer;
    });
    dlg.initialise(file);
  }
  // Submits the graph as the generated complete graph on n nodes would be, under its name.
  void load(int32_t n, const hc::testing::EdgeList& edges) {
    auto graph = std::make_shared<hc::Graph>(hc::testing::makeGraph(n, edges));
    dlg.model().installGeneratedGraph({hc::GraphSource::kCompleteGraph, double(n), 0}, graph);
  }
  // GP(n, 2): Hamiltonian unless n is 5 modulo 6; the mill cannot prove that for 23 and 59.
  void loadPetersen(int32_t n) { load(2 * n, hc::testing::generalizedPetersenEdges(n, 2)); }
  // The Graph Generation page's load button of `family` with the two parameter texts (or
  // Enter in the first parameter box).
  void generate(int32_t family, const char* text1, const char* text2 = "", bool enter = false) {
    CGraphGenerationDlg* page = dlg.generationPage();
    page->radioButton(family)->click();
    for (int i : {0, 1}) page->parameterEdit(family, i)->setText(i ? text2 : text1);
    if (enter)
      QTest::keyClick(page->parameterEdit(family, 0), Qt::Key_Return);
    else
      page->loadButton(family)->click();
  }
  void showActive() {
    dlg.show();
    dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
  }
  std::vector<std::string> informationLines() {
    const QStringList lines = dlg.informationPage()->lineTexts();
    return texts(lines.size(), [&](int i) { return lines[i]; });
  }
  int32_t state() { return hc::codeOf(dlg.model().programState()); }
  bool waitForState(int32_t s) {
    return QTest::qWaitFor([&] { return state() == s; }, 60000);
  }
};

// Columns 1 to 3 of every row, as the CSV writes them.
std::vector<std::string> rows(QTreeView* list) {
  return texts(list->model()->rowCount(), [list](int r) {
    QStringList cells;
    for (int c = 1; c <= 3; ++c) cells << list->model()->index(r, c).data().toString();
    return cells.join(',');
  });
}
// Column 0 is hidden; each other title, and whether its column is as wide as asked and
// wide enough for the title in the header's font (no caption cut off, as ":orced Edges" was).
std::vector<std::string> headerTitles(QTreeView* list, const int32_t* widths) {
  const QFontMetrics metrics(list->header()->font());
  return texts(list->model()->columnCount() - 1, [&](int c) {
    const QString title = list->model()->headerData(c + 1, Qt::Horizontal).toString();
    const int width = list->header()->sectionSize(c + 1);
    return title +
           (width >= widths[c] && width >= metrics.horizontalAdvance(title) + 8 ? "" : " (too narrow)");
  });
}
QColor pixel(QWidget& widget, int x, int y) {
  return widget.grab().toImage().pixelColor(x, y);
}

TEST(MainWindow, TabsStatusBoxesResetAndHelpFollowTheState) {
  const std::string missing = std::string(HC_EXAMPLES_DIR) + "/no-such-graph.txt";
  Window w(missing);
  EXPECT_EQ(w.messages, std::vector<std::string>{missing + ": no such file"});
  hc::ProgramModel& model = w.dlg.model();
  EXPECT_EQ(texts(w.dlg.tabs()->count(), [&](int i) { return w.dlg.tabs()->tabText(i); }),
            (std::vector<std::string>{"Graph Editor", "Graph Generation", "Graph Information",
                                      "Stone Carver's HC Algorithm", "coHC Proof System", "Solver"}));
  EXPECT_EQ(w.dlg.tabs()->currentIndex(), 0);
  EXPECT_EQ(w.dlg.windowTitle().toStdString(), "Hamiltonian Cycles  [NO GRAPH LOADED]");
  struct Row {
    std::function<void()> enter;
    const char* text;
    bool reset;
  };  // entering state i
  const Row rows[] = {{[] {}, "No Graph Loaded", false},
                      {[&] { w.loadPetersen(23); }, "Graph Loaded & Ready To Run", true},
                      {[&] { model.pageButtonPressed(hc::kStoneCarverPage); },
                       "Stone Carver Hamiltonian Cycle Algorithm Running", false},
                      {[&] {
                         model.setProgramResult(hc::ProgramResult::kHamiltonian);
                         model.setProgramState(hc::ProgramState::kDecided);
                       },
                       "The Graph Is Hamiltonian", true}};
  std::set<int> helpPlaces;  // where "Help! (F1)" stands: RESET keeps its place when hidden
  for (int32_t state = 0; state < 4; ++state) {
    SCOPED_TRACE(state);
    rows[state].enter();
    ASSERT_EQ(hc::codeOf(model.programState()), state);
    w.dlg.layout()->activate();
    helpPlaces.insert(w.dlg.helpButton()->geometry().x());
    hcui::PaintedLabel& box = *w.dlg.statusTextBox();
    EXPECT_EQ(box.text().toStdString(), rows[state].text);
    EXPECT_EQ(pixel(box, 0, 0), hcui::toQColor(hc::stateLook(model.programState()).frame));
    EXPECT_EQ(pixel(box, 3, 3), hcui::toQColor(hc::stateLook(model.programState()).fill));
    EXPECT_EQ(!w.dlg.resetButton()->isHidden(), rows[state].reset);
  }
  EXPECT_EQ(helpPlaces.size(), 1u);
  EXPECT_EQ(w.dlg.statusLabelBox()->text().toStdString(), "STATUS:");
  EXPECT_EQ(pixel(*w.dlg.statusLabelBox(), 3, 3), QColor(212, 208, 200));
  EXPECT_EQ(w.dlg.windowTitle().toStdString(), "Hamiltonian Cycles  [Complete Graph With 46 Nodes]");
  QTest::mouseClick(w.dlg.resetButton(), Qt::LeftButton);
  EXPECT_EQ(hc::codeOf(model.programState()), 0);
  EXPECT_TRUE(w.dlg.resetButton()->isHidden());

  // F1 opens help for the current page in the live state.
  w.loadPetersen(23);
  model.pageButtonPressed(hc::kStoneCarverPage);
  w.dlg.tabs()->setCurrentIndex(hc::kStoneCarverPage);
  std::vector<std::string> shown;
  int scrollFollows = 0;  // texts whose scroll bar spans exactly what does not fit
  w.dlg.setHelpHook([&](QDialog& dialog) {
    auto& help = static_cast<CHelpDlg&>(dialog);
    help.show();
    auto follows = [&] {
      QApplication::processEvents();
      const QScrollBar* bar = help.textBox()->verticalScrollBar();
      const int hidden = static_cast<int>(help.textBox()->document()->size().height()) -
                         help.textBox()->viewport()->height();
      scrollFollows += std::abs(bar->maximum() - std::max(0, hidden)) <= 1;
    };
    shown.push_back(help.textBox()->toPlainText().toStdString());
    follows();
    help.helpTabs()->setCurrentIndex(1);
    shown.push_back(help.textBox()->toPlainText().toStdString());
    follows();
    // Another tab chosen later does not change the page; a new state does.
    w.dlg.tabs()->setCurrentIndex(hc::kEditorPage);
    model.pageButtonPressed(hc::kStoneCarverPage);
    help.refill();
    shown.push_back(help.textBox()->toPlainText().toStdString());
  });
  w.dlg.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w.dlg));
  QTest::keyClick(&w.dlg, Qt::Key_F1);
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0].substr(0, 16), "\n\nGENERAL HELP:\n");
  EXPECT_NE(shown[1].find("STONE CARVER DIALOG BOX -STATE 2 (RED):\n"), std::string::npos);
  EXPECT_NE(shown[2].find("STONE CARVER DIALOG BOX -STATE 1 (GREEN):\n"), std::string::npos);
  // The button opens the same window.
  QTest::mouseClick(w.dlg.helpButton(), Qt::LeftButton);
  EXPECT_EQ(shown.size(), 6u);
  EXPECT_EQ(scrollFollows, 4);

  // The editor's keys act wherever the focus is (here the tab bar) while the editor is shown.
  model.setProgramState(hc::ProgramState::kEditing);
  w.dlg.tabs()->setCurrentIndex(hc::kEditorPage);
  w.dlg.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w.dlg));
  QWidget* bar = w.dlg.tabs()->tabBar();
  bar->setFocus();
  const QString zoom = w.dlg.editorPage()->boxText("Zoom");
  QTest::keyClick(bar, Qt::Key_Z);
  EXPECT_NE(w.dlg.editorPage()->boxText("Zoom"), zoom);
  QTest::keyClick(bar, Qt::Key_X);
  EXPECT_EQ(w.dlg.editorPage()->boxText("Zoom"), zoom);
  w.dlg.tabs()->setCurrentIndex(hc::kGenerationPage);
  QTest::keyClick(bar, Qt::Key_Z);  // not while another page is shown
  EXPECT_EQ(w.dlg.editorPage()->boxText("Zoom"), zoom);
}

// Every control says what it does in a tooltip, and the ones with keys name them.
TEST(MainWindow, EveryControlHasATooltipNamingItsKeys) {
  Window w;
  std::vector<std::string> silent;
  for (QWidget* control : w.dlg.findChildren<QWidget*>()) {
    const bool isControl = qobject_cast<QAbstractButton*>(control) || qobject_cast<QComboBox*>(control) ||
                           qobject_cast<QAbstractSpinBox*>(control) || qobject_cast<QLineEdit*>(control);
    // Parts of a compound control (a spin box's edit, a tab bar's scroll arrows) are not controls.
    const QWidget* parent = control->parentWidget();
    const bool part = qobject_cast<const QAbstractSpinBox*>(parent) || qobject_cast<const QTabBar*>(parent) ||
                      qobject_cast<const QComboBox*>(parent);
    if (isControl && !part && control->toolTip().isEmpty())
      silent.push_back(control->metaObject()->className() + (" " + control->objectName()).toStdString());
  }
  EXPECT_EQ(silent, std::vector<std::string>{});
  std::map<std::string, std::string> keys;  // a button's caption and its tooltip
  for (QAbstractButton* button : w.dlg.findChildren<QAbstractButton*>())
    keys[button->text().toStdString()] = button->toolTip().toStdString();
  for (auto [caption, key] : {std::pair{"Help! (F1)", "F1"},
                              {"Undo", "Ctrl+Z"},
                              {"Redo", "Ctrl+Y"},
                              {"Zoom To Fit", "Ctrl+0"},
                              {"Load", "Ctrl+O"},
                              {"Save As...", "Ctrl+Shift+S"},
                              {"Delete", "Delete"},
                              {"Force Edge", "Insert"}})
    EXPECT_NE(keys[caption].find(key), std::string::npos) << caption << ": " << keys[caption];
  // Each page's run, abort and reset has its key, and the keyboard reaches it: Tab from the
  // tab bar stops first at SOLVE GRAPH (its focus drawn), and Enter presses it. A plain
  // cycle is decided by the root rules at once.
  for (hcui::MethodPage* page : std::initializer_list<hcui::MethodPage*>{
           w.dlg.stoneCarverPage(), w.dlg.cohcPage(), w.dlg.solverPage()})
    EXPECT_NE(page->stateButton()->toolTip().toStdString().find("F5"), std::string::npos);
  w.load(5, hc::testing::cycleEdges(0, 5));
  w.dlg.tabs()->setCurrentIndex(hc::kSolverPage);
  w.showActive();
  QToolButton* run = w.dlg.solverPage()->stateButton();
  const QImage unfocused = run->grab().toImage();
  w.dlg.tabs()->tabBar()->setFocus();
  QTest::keyClick(w.dlg.tabs()->tabBar(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), run);
  EXPECT_NE(run->grab().toImage(), unfocused);
  QTest::keyClick(run, Qt::Key_Return);
  ASSERT_TRUE(w.waitForState(3));
  EXPECT_EQ(std::pair(hc::codeOf(w.dlg.model().programResult()),
                      w.dlg.solverPage()->figureText(CSolverDlg::kDecidedBy).toStdString()),
            std::pair(int16_t{1}, std::string("root pruning")));

  // The splash texts fit their boxes whatever font stands in for Arial.
  const QRect box(0, 0, 330, 64);
  const QFont title = CSplashDlg::fittedFont("Hamiltonian Cycles", box, 40, true, Qt::AlignLeft);
  EXPECT_LE(QFontMetrics(title).horizontalAdvance("Hamiltonian Cycles"), box.width());
}

// `hamcycles --help` prints its usage instead of opening the window, and a file name that is
// not UTF-8 reaches the loader byte for byte.
TEST(MainWindow, CommandLine) {
  const char* help[] = {"hamcycles", "knight.g", "-h"};
  const char* plain[] = {"hamcycles", "knight.g"};
  EXPECT_EQ(std::pair(asksForUsage(3, help), asksForUsage(2, plain)), std::pair(true, false));
  EXPECT_EQ(std::string(hamiltonianCyclesUsage()).substr(0, 22), "usage: hamcycles [FILE");
  const std::string latin1 = "caf\xe9.txt";
  const HamiltonianCyclesOptions options = parseHamiltonianCyclesOptions(
      {QString::fromLocal8Bit(latin1.c_str()), "--no-splash"}, nullptr, {latin1, "--no-splash"});
  EXPECT_EQ(std::pair(options.file.value_or(""), options.splash), std::pair(latin1, false));
}

// Closing asks once, and exactly when something the user drew would be lost: a node
// clicked onto the canvas, a drawing waiting behind a generated graph; never for a drawing
// as read from its file (after RESET, or cleared). Yes closes at once. Save dialogs open in
// the loaded graph's folder.
TEST(MainWindow, ClosingAsksOnceExactlyWhenADrawingWouldBeLost) {
  const std::string knight = std::string(HC_EXAMPLES_DIR) + "/knight8x8.g";
  auto clickCanvas = [](Window& w, QPoint at) {
    w.dlg.tabs()->setCurrentIndex(hc::kEditorPage);
    QTest::mouseClick(w.dlg.editorPage()->canvas(), Qt::LeftButton, {}, at);
  };
  struct Row {
    const char* what;
    std::optional<std::string> file;
    std::function<void(Window&)> act;
    size_t questions;
  };
  const Row rows[] = {
      {"nothing drawn", std::nullopt, [](Window&) {}, 0},
      {"a click on the canvas", std::nullopt,
       [&](Window& w) {
         clickCanvas(w, {100, 100});
       },
       1},
      {"a drawing behind a generated graph", std::nullopt,
       [&](Window& w) {
         for (int x : {100, 160, 220}) clickCanvas(w, {x, 100});
         w.generate(8, "5");
       },
       1},
      {"a drawing read from its file, after RESET", knight, [](Window& w) { w.dlg.resetButton()->click(); },
       0},
      {"the same, cleared", knight,
       [](Window& w) {
         w.dlg.resetButton()->click();
         w.dlg.editorPage()->clearAction();
       },
       0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Window w(row.file);
    w.showActive();
    row.act(w);
    w.dlg.close();
    EXPECT_EQ(std::pair(w.questions.size(), w.dlg.isVisible()), std::pair(row.questions, false));
    if (row.file) {
      w.dlg.chooseSaveFile("Save", "", "chart.png");
      EXPECT_EQ(w.dialogPath, std::string(HC_EXAMPLES_DIR) + "/chart.png");
    }
  }
}

// Without a graph every figure reads dashes. A request over the limits is refused with one
// message; a cancelled long build leaves state 0 and no graph; a finished background build
// reaches the model and its figures. Then the figures of known graphs.
TEST(GenerationAndInformationPages, RequestsAndFigures) {
  Window w;
  CGraphGenerationDlg* page = w.dlg.generationPage();
  EXPECT_EQ(w.informationLines(), hc::graphInformationPlaceholderLines("---"));
  // In a small window the page scrolls: the controls of the family chosen come into sight.
  w.dlg.resize(800, 600);
  w.dlg.tabs()->setCurrentIndex(hc::kGenerationPage);
  w.showActive();
  auto* area = qobject_cast<QScrollArea*>(w.dlg.tabs()->currentWidget());
  for (int family : {4, 10}) {
    area->verticalScrollBar()->setValue(area->verticalScrollBar()->maximum());
    page->radioButton(family)->click();
    QWidget* shown = family == 10 ? static_cast<QWidget*>(page->loadButton(10)) : page->parameterEdit(4, 0);
    EXPECT_TRUE(
        area->viewport()->rect().contains(QRect(shown->mapTo(area->viewport(), QPoint(0, 0)), shown->size())))
        << family;
  }
  w.generate(8, "20000");
  EXPECT_EQ(w.messages,
            std::vector<std::string>{
                "ERROR: The graph would have about 199990000 edges; at most 50000000 can be generated."});
  EXPECT_FALSE(page->generationRunning());
  EXPECT_EQ(page->selectedFamily(), 8);
  w.generate(2, "2000000", "3");
  ASSERT_TRUE(page->generationRunning());
  EXPECT_FALSE(page->radioButton(1)->parentWidget()->isEnabled());
  page->cancelButton()->click();
  EXPECT_FALSE(page->generationRunning());
  QTest::qWait(300);  // a late result would arrive here
  EXPECT_EQ(w.state(), 0);
  EXPECT_EQ(w.dlg.model().submittedGraph(), nullptr);
  EXPECT_EQ(w.messages.size(), 1u);
  w.showActive();  // Enter in a parameter box starts the build; it must not reach Cancel
  w.generate(2, "30000", "3", true);
  ASSERT_TRUE(page->generationRunning());
  ASSERT_TRUE(w.waitForState(1));
  EXPECT_EQ(w.dlg.model().submittedGraph()->howManyNodes, 30000);
  EXPECT_EQ(w.dlg.model().graphSourceType(), hc::GraphSource::kRegularGraph);
  EXPECT_EQ(page->selectedFamily(), -1);
  EXPECT_FALSE(page->radioButton(2)->isEnabled());
  EXPECT_TRUE(QTest::qWaitFor([&] { return !w.dlg.informationPage()->computing(); }, 60000));
  EXPECT_EQ(w.informationLines()[6], "Max. Degree:    3");
  w.dlg.model().setProgramState(hc::ProgramState::kEditing);
  w.generate(8, "5");
  EXPECT_EQ(w.informationLines(),
            (std::vector<std::string>{"Graph Name:    Complete Graph With 5 Nodes", "Nodes:              5",
                                      "Edges:              10", "Forced Edges:  0", "Avg. Degree:    4.00",
                                      "Min. Degree:     4", "Max. Degree:    4", "Bipartite:           No",
                                      "Connected:       Yes", "Biconnected:     Yes"}));
  w.dlg.model().setProgramState(hc::ProgramState::kEditing);
  w.generate(8, "3");  // below five nodes the biconnectivity search starts at node 0
  EXPECT_EQ(w.informationLines()[3], "Forced Edges:  3");
  EXPECT_EQ(w.informationLines()[9], "Biconnected:     Yes");
  w.dlg.model().setProgramState(hc::ProgramState::kEditing);
  // A square with one chord: the two degree-2 nodes force all four sides, which cuts the chord.
  w.load(4, {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {0, 2}});
  EXPECT_EQ(w.informationLines(),
            (std::vector<std::string>{"Graph Name:    Complete Graph With 4 Nodes", "Nodes:              4",
                                      "Edges:              4", "Forced Edges:  4", "Avg. Degree:    2.00",
                                      "Min. Degree:     2", "Max. Degree:    2", "Bipartite:           No",
                                      "Connected:       Yes", "Biconnected:     Yes"}));
}

TEST(MethodPages, ControlsDefaultsColumnsAndStatistics) {
  Window w;
  CStoneCarverDlg* carver = w.dlg.stoneCarverPage();
  EXPECT_EQ(
      texts(carver->versionList()->count(), [&](int i) { return carver->versionList()->itemText(i); }),
      (std::vector<std::string>{"03 - O(E) PM", "04 - O(E) PM, Single LAS", "05 - O(E) PM, Variable LAS",
                                "06 - O(E) PM, Threshold LAS", "07 - O(E) PM, Full LAS",
                                "12 - O(E) PM, Single LAS, Biconnectivity Check",
                                "13 - O(E) PM, Variable LAS, Biconnectivity Check"}));
  EXPECT_EQ(carver->versionList()->currentText().toStdString(), "05 - O(E) PM, Variable LAS");
  EXPECT_EQ(carver->iterationsEdit()->value(), 1000);
  EXPECT_EQ(carver->threadsEdit()->value(), 1);
  EXPECT_TRUE(carver->historyList()->isColumnHidden(0));
  EXPECT_EQ(headerTitles(carver->historyList(), hc::kIterationColumnWidths.data()),
            (std::vector<std::string>{"Iteration", "Deletions", "Hubs", "Rings", "Forced Edges", "% Complete",
                                      "Time"}));
  EXPECT_TRUE(carver->stateButton()->isHidden());  // state 0

  CCoHCDlg* proof = w.dlg.cohcPage();
  EXPECT_EQ(proof->maximumDepthEdit()->value(), 999999999);
  EXPECT_EQ(
      texts(proof->pruningList()->count(), [&](int i) { return proof->pruningList()->itemText(i); }),
      (std::vector<std::string>{"0 - No Pruning", "1 - Connected & Not UB", "2 - Odd Forced Cuts",
                                "3 - Biconnected", "4 - LAS No DC", "5 - LAS With DC", "6 - 2-Edge Cuts"}));
  EXPECT_EQ(proof->pruningList()->currentText().toStdString(), "5 - LAS With DC");
  EXPECT_TRUE(proof->allChildrenButton()->isChecked());
  EXPECT_FALSE(proof->minimalChildrenButton()->isChecked());
  EXPECT_EQ(texts(proof->chartTabs()->count(), [&](int i) { return proof->chartTabs()->tabText(i); }),
            (std::vector<std::string>{"Tree Nodes Solved", "Average Time", "Maximum Time", "Forced Edges"}));
  EXPECT_EQ(proof->chartTabs()->currentIndex(), 0);
  EXPECT_EQ(headerTitles(proof->historyList(), hc::kDepthColumnWidths.data()),
            (std::vector<std::string>{"Depth", "Started", "Solved", "Forced Edges", "Longest Time",
                                      "Average Time"}));
  EXPECT_FALSE(proof->chartTabs()->isVisibleTo(proof));

  // The list keeps the last L iterations (below 1 it keeps one: the buffer's own test), the
  // statistics boxes appear with the first report, and a hub never met reads the start value.
  w.loadPetersen(8);
  carver->iterationsEdit()->setValue(3);
  for (int i = 0; i < 4; ++i)
    EXPECT_TRUE(carver->statisticValue(i)->isHidden() && carver->statisticCaption(i)->isHidden()) << i;
  for (int i = 1; i <= 5; ++i) carver->progressBuffer().postIteration(i, 10 + i, 0, i % 2, 4, 25.0, 0.001);
  carver->refreshFromWorker();
  EXPECT_EQ(rows(carver->historyList()), (std::vector<std::string>{"3,13,0", "4,14,0", "5,15,0"}));
  EXPECT_FALSE(carver->statisticValue(0)->isHidden());
  EXPECT_EQ(carver->statisticValue(0)->text().toStdString(), "---");  // no hub met
  EXPECT_EQ(carver->statisticValue(1)->text().toStdString(), "11");   // first ring at iteration 1
  EXPECT_EQ(carver->statisticValue(3)->text().toStdString(), "4 (25.00% Done)");
}

// Both pages: an abort (by F5, the page's key) shows "Algorithm Aborted" over a window
// already in state 1, with an empty list (and hidden statistics or charts) and the elapsed
// time at 0; nothing of the old worker arrives later.
TEST(MethodPages, AbortReturnsToStateOneWithAnEmptyList) {
  for (bool cohc : {false, true}) {
    Window w;
    std::vector<std::string> seen;  // the window as the message found it
    w.dlg.setMessageHook([&](const std::string& text, const std::string&) {
      seen = {text, w.dlg.statusTextBox()->text().toStdString(), std::to_string(w.state())};
    });
    // Neither graph is decided soon: the mill never ends on GP(23,2), the proof of GP(59,2)
    // without pruning takes long.
    w.loadPetersen(cohc ? 59 : 23);
    CStoneCarverDlg* carver = w.dlg.stoneCarverPage();
    CCoHCDlg* proof = w.dlg.cohcPage();
    carver->threadsEdit()->setValue(2);  // the parallel mill stops the same way
    proof->pruningList()->setCurrentIndex(0);
    QToolButton* button = cohc ? proof->stateButton() : carver->stateButton();
    QTreeView* list = cohc ? proof->historyList() : carver->historyList();
    button->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->model()->rowCount() >= 3; }, 60000));
    w.dlg.tabs()->setCurrentIndex(cohc ? hc::kCoHCPage : hc::kStoneCarverPage);
    w.showActive();
    QTest::keyClick(w.dlg.tabs()->tabBar(), Qt::Key_F5);
    EXPECT_EQ(w.state(), 1) << cohc;
    EXPECT_EQ(seen, (std::vector<std::string>{"Algorithm Aborted", "Graph Loaded & Ready To Run", "1"}));
    EXPECT_EQ(list->model()->rowCount(), 0);
    EXPECT_EQ((cohc ? proof->elapsedBox() : carver->elapsedBox())->seconds(), 0.0);
    EXPECT_FALSE(cohc ? proof->chart()->isVisibleTo(proof) : carver->statisticValue(0)->isVisibleTo(carver));
    QTest::qWait(50);  // the old worker may still be unwinding
    carver->refreshFromWorker();
    proof->refreshFromWorker();
    EXPECT_EQ(list->model()->rowCount(), 0);
  }
}

// The selected version runs and a seed replays: two runs with one seed on one thread make
// the same iterations.
TEST(StoneCarverPage, SelectedVersionAndSeedRun) {
  Window w;
  w.loadPetersen(12);
  CStoneCarverDlg* page = w.dlg.stoneCarverPage();
  page->versionList()->setCurrentIndex(6);
  page->seedEdit()->setText("4294967296");
  page->stateButton()->click();
  EXPECT_EQ(w.state(), 1);  // a bad seed starts nothing
  ASSERT_EQ(w.messages.size(), 1u);
  page->seedEdit()->setText("77");
  std::vector<int> iterations;
  for (int run = 0; run < 2; ++run) {
    page->stateButton()->click();
    ASSERT_TRUE(w.waitForState(3));
    EXPECT_EQ(hc::codeOf(w.dlg.model().programResult()), 1);
    EXPECT_EQ(w.dlg.model().workingGraph()->version, 13);
    EXPECT_EQ(page->seedUsedLabel()->text().toStdString(), "Seed used: 77");
    iterations.push_back(page->history().statistics().rowsAdded);
    // A double-click (press, release, double-click press, release) resets the result once;
    // it does not at once start another run.
    QTest::mouseClick(page->stateButton(), Qt::LeftButton);
    QTest::mouseDClick(page->stateButton(), Qt::LeftButton);
    QTest::mouseRelease(page->stateButton(), Qt::LeftButton);
    EXPECT_EQ(w.state(), 1);
  }
  EXPECT_EQ(iterations[0], iterations[1]);
  w.dlg.cohcPage()->stateButton()->click();  // the other method decides: this page shows no run
  ASSERT_TRUE(w.waitForState(3));
  EXPECT_EQ(page->elapsedBox()->seconds(), 0.0);
  EXPECT_EQ(page->historyList()->model()->rowCount(), 0);
}

// A proof cut at the root: the verdict, one row and one-point charts. The whole proof needs a
// tree and ends non-Hamiltonian: the axes never shrink while it runs, the CSV has one row per
// depth, and both chart formats are written; an unwritable name gets one message.
TEST(CoHCPage, ShallowAndWholeProofsAxesAndExports) {
  Window w;
  w.loadPetersen(11);
  CCoHCDlg* page = w.dlg.cohcPage();
  page->maximumDepthEdit()->setValue(0);
  page->pruningList()->setCurrentIndex(1);
  page->stateButton()->click();
  ASSERT_TRUE(w.waitForState(3));
  EXPECT_EQ(w.dlg.model().statusText(), "The Search Depth Was Too Shallow");
  EXPECT_EQ(rows(page->historyList()), std::vector<std::string>{"0,1,0"});
  EXPECT_FALSE(page->chart()->isHidden());
  for (int k = 0; k < 4; ++k) {
    page->chartTabs()->setCurrentIndex(k);
    EXPECT_EQ(page->chart()->picture().values.size(), 1u) << k;
  }
  // Room for the short captions only: they show, whole; for none, a drop-down list.
  const int shortWidth = [&] {
    for (int k = 0; k < 4; ++k)
      page->chartTabs()->setTabText(k, hc::kChartTabShortTitles[static_cast<size_t>(k)]);
    return page->chartTabs()->sizeHint().width();
  }();
  page->chart()->parentWidget()->resize(shortWidth, 200);
  page->fitChartCaptions();
  EXPECT_EQ(texts(4, [&](int i) { return page->chartTabs()->tabText(i); }),
            (std::vector<std::string>{"Solved", "Avg. Time", "Max. Time", "Forced"}));
  page->chart()->parentWidget()->resize(shortWidth - 1, 200);
  page->fitChartCaptions();
  page->chartChoice()->setCurrentIndex(2);
  EXPECT_EQ(std::tuple(page->chartTabs()->isVisibleTo(page), page->chartChoice()->isVisibleTo(page),
                       page->chartTabs()->currentIndex()),
            std::tuple(false, true, 2));

  page->stateButton()->click();  // state 3 -> 1
  page->maximumDepthEdit()->setValue(999999999);
  page->stateButton()->click();
  std::array<double, 4> last{};
  bool shrank = false;
  auto axesGrowUntilDecided = [&] {
    page->refreshFromWorker();
    for (size_t k = 0; k < 4; ++k) {
      const double now = page->axisMaxima().maximum(static_cast<hc::ChartKind>(k));
      shrank |= now < std::exchange(last[k], now);
    }
    return w.state() == 3;
  };
  ASSERT_TRUE(QTest::qWaitFor(axesGrowUntilDecided, 60000));
  EXPECT_FALSE(shrank);
  EXPECT_EQ(w.dlg.model().statusText(), "The Graph Is Non-Hamiltonian");
  EXPECT_GT(last[0], 0.0);
  QTreeView* list = page->historyList();
  ASSERT_GT(list->model()->rowCount(), 2);

  w.savePath = w.folder.filePath("table.csv").toStdString();
  page->exportStatistics();
  QFile csv(QString::fromStdString(w.savePath));
  ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
  QStringList lines = QString::fromUtf8(csv.readAll()).split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), list->model()->rowCount() + 1);  // the cells: the depth table's own test
  EXPECT_EQ(lines.back().section(',', 0, 2).toStdString(), rows(list).back());
  EXPECT_EQ(w.dlg.statusTextBox()->note().toStdString(), "Saved the statistics to " + w.savePath);
  for (const char* name : {"chart.png", "chart.svg"}) {
    w.savePath = w.folder.filePath(name).toStdString();
    page->saveChart();
    EXPECT_GT(std::filesystem::file_size(w.savePath), 1000u) << name;
    EXPECT_EQ(w.dlg.statusTextBox()->note().toStdString(), "Saved the chart to " + w.savePath);
  }
  // The saved chart is titled: white text on the band above the plot.
  const QImage saved(w.folder.filePath("chart.png"));
  int white = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < saved.width(); ++x) white += saved.pixelColor(x, y) == Qt::white;
  EXPECT_GT(white, 20);
  w.savePath = w.folder.filePath("missing/chart.png").toStdString();
  page->saveChart();
  EXPECT_EQ(w.messages.size(), 1u);

  // A cycle found (a pentagon's, at the root) goes to "-HC.txt" beside the file read; an
  // earlier file of that name is replaced only with the user's word.
  const std::string pentagon = w.folder.filePath("pentagon.txt").toStdString();
  std::ofstream(pentagon) << "0 1 4\n1 0 2\n2 1 3\n3 2 4\n4 3 0\n";
  const std::string cycleFile = w.folder.filePath("pentagon-HC.txt").toStdString();
  std::ofstream(cycleFile) << "earlier\n";
  for (bool replace : {false, true}) {
    w.dlg.model().setProgramState(hc::ProgramState::kEditing);
    w.dlg.model().startWithFile(pentagon);
    w.answer = replace;
    page->stateButton()->click();
    ASSERT_TRUE(w.waitForState(3));
    std::ifstream in(cycleFile);
    std::string first;
    std::getline(in, first);
    EXPECT_EQ(std::tuple(hc::codeOf(w.dlg.model().programResult()), first == "earlier", w.questions.size()),
              std::tuple(int16_t{1}, !replace, size_t{replace ? 2u : 1u}));
  }
}

}  // namespace

// The Solver page: its controls and defaults, a refused seed, a run to each verdict (the
// editor draws the cycle in green and OUTPUT HC writes it; the seed used is shown), and an
// abort that returns to state 1 at once with nothing of the run arriving later.
TEST(SolverPage, ControlsVerdictsAndAbort) {
  Window w;
  CSolverDlg* page = w.dlg.solverPage();
  const int cores = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
  EXPECT_EQ(std::tuple(page->timeLimitEdit()->text().toStdString(), page->threadsEdit()->value(),
                       page->seedEdit()->text().toStdString(), page->certificateButton()->isEnabled(),
                       page->stateButton()->isHidden()),
            std::tuple("none", cores, "", false, true));
  auto figure = [&](CSolverDlg::Figure f) { return page->figureText(f).toStdString(); };
  hc::ProgramModel& model = w.dlg.model();

  w.load(64, hc::testing::knightEdges(8, 8));
  page->seedEdit()->setText("4294967296");
  page->stateButton()->click();
  EXPECT_EQ(std::pair(w.state(), w.messages.size()), std::pair(1, size_t{1}));  // a bad seed starts nothing
  page->seedEdit()->setText("12");
  page->stateButton()->click();
  ASSERT_TRUE(w.waitForState(3));
  EXPECT_EQ(std::tuple(hc::codeOf(model.programResult()), figure(CSolverDlg::kVerdict),
                       figure(CSolverDlg::kPartsWorking), page->seedUsedLabel()->text().toStdString(),
                       page->certificateButton()->isEnabled()),
            std::tuple(1, "Hamiltonian", "none", "Seed used: 12", false));
  EXPECT_NE(figure(CSolverDlg::kDecidedBy), "---");
  // The Co-HC page has no run to show: nothing to save or export.
  EXPECT_FALSE(w.dlg.cohcPage()->saveChartButton()->isEnabled() ||
               w.dlg.cohcPage()->exportButton()->isEnabled());
  int green = 0;
  CGraphEditorDlg* editor = w.dlg.editorPage();
  for (const hc::StyledEdge& e : hc::edgeStyles(editor->shownGraph(), model.workingGraph().get(),
                                                hc::ProgramState::kDecided, hc::AlgorithmChoice::kSolver))
    green += e.style == hc::EdgeStyle::kCycle;
  EXPECT_EQ(green, 64);
  // The editor's own RESET comes back in state 3, beside OUTPUT HC.
  EXPECT_TRUE(editor->controlShown("stateButton") && editor->controlShown("Output HC"));
  w.savePath = w.folder.filePath("knight-HC.txt").toStdString();
  editor->outputHcAction();
  EXPECT_TRUE(QFile::exists(QString::fromStdString(w.savePath)));
  page->stateButton()->click();  // 3 -> 1: the figures are cleared
  EXPECT_EQ(std::pair(w.state(), figure(CSolverDlg::kVerdict)), std::pair(1, std::string("---")));

  w.loadPetersen(5);
  page->stateButton()->click();
  ASSERT_TRUE(w.waitForState(3));
  EXPECT_EQ(std::tuple(hc::codeOf(model.programResult()), figure(CSolverDlg::kVerdict),
                       model.workingGraph()->isHamiltonian),
            std::tuple(0, "Non-Hamiltonian", hc::kNotHamiltonian));
  EXPECT_FALSE(hc::checkCycleOutput(hc::ProgramState::kDecided, model.workingGraph().get()));
  // Its certificate goes where the dialog says, and the independent checker accepts it.
  w.savePath = w.folder.filePath("petersen.proof").toStdString();
  page->certificateButton()->click();
  EXPECT_EQ(std::pair(hc::certcheck::checkCertificateFile(10, hc::testing::generalizedPetersenEdges(5, 2),
                                                          w.savePath)
                          .accepted,
                      w.dlg.statusTextBox()->note().toStdString()),
            std::pair(true, "Saved the certificate to " + w.savePath));
  // A certificate past its (tiny) bound: the verdict stands, and the button says why none.
  w.loadPetersen(11);
  page->setCertificateLimitBytes(64);
  page->stateButton()->click();
  ASSERT_TRUE(w.waitForState(3));
  EXPECT_EQ(
      std::tuple(figure(CSolverDlg::kVerdict), figure(CSolverDlg::kDecidedBy),
                 page->certificateButton()->isEnabled(), page->certificateButton()->toolTip().toStdString()),
      std::tuple("Non-Hamiltonian", "exact search", false,
                 "No certificate: the exact search's proof log passed 64 bytes"));

  // A time limit that passes first: state 3, undecided, nothing to certify.
  w.loadPetersen(100001);  // non-Hamiltonian, and far more than 0.3 s of work for every method
  page->timeLimitEdit()->setValue(0.3);
  page->stateButton()->click();
  ASSERT_TRUE(w.waitForState(3));
  EXPECT_EQ(
      std::tuple(model.programResult(), figure(CSolverDlg::kVerdict), page->certificateButton()->isEnabled()),
      std::tuple(hc::ProgramResult::kTimeLimitReached, "Undecided (time limit)", false));
  page->timeLimitEdit()->setValue(0.0);

  // No event is handled between the two presses, so the abort comes before any decision.
  w.loadPetersen(59);
  w.messages.clear();
  page->stateButton()->click();
  EXPECT_EQ(w.state(), 2);
  page->stateButton()->click();
  EXPECT_EQ(std::tuple(w.state(), w.messages, page->elapsedBox()->seconds(), figure(CSolverDlg::kVerdict)),
            std::tuple(1, std::vector<std::string>{"Algorithm Aborted"}, 0.0, std::string("---")));
  QTest::qWait(100);
  EXPECT_EQ(w.state(), 1);
}
