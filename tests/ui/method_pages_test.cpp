// The Stone Carver and Co-HC pages in the whole window, offscreen: their controls and
// defaults, the keep-the-last-L list, the statistics boxes, runs to state 3, aborts, the
// charts' axes and the two exports.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTest>
#include <QToolButton>
#include <QTreeView>
#include <chrono>
#include <filesystem>
#include <functional>

#include "core/diagnostics.h"
#include "core/graph_files.h"
#include "support/test_graphs.h"
#include "ui/characteristic_chart.h"
#include "ui/cohc_dlg.h"
#include "ui/hamiltonian_cycles_dlg.h"
#include "ui/paint_helpers.h"
#include "ui/stone_carver_dlg.h"

namespace {

namespace fs = std::filesystem;
using hc::testing::generalizedPetersenEdges;
using hc::testing::makeGraph;

// The window with its message boxes and file dialogs scripted, and a graph loaded from
// a temporary text file.
struct Window {
  std::ostream quiet{nullptr};  // the mill's per-iteration lines stay out of the test log
  hc::ScopedDiagnosticStream silence{quiet};
  CHamiltonianCyclesDlg dlg;
  std::vector<std::string> messages;
  std::string savePath;
  fs::path folder = fs::temp_directory_path() / ("hc-method-pages-" + std::to_string(::getpid()));

  Window() {
    fs::create_directories(folder);
    dlg.setMessageHook([this](const std::string& text, const std::string&) { messages.push_back(text); });
    dlg.setFileHook([this](const std::string&) { return std::optional<std::string>(savePath); });
    dlg.initialise(std::nullopt);
  }
  ~Window() { fs::remove_all(folder); }
  void load(int32_t n, const hc::testing::EdgeList& edges) {
    std::string path = (folder / "graph.txt").string();
    ASSERT_TRUE(hc::writeAdjacencyText(makeGraph(n, edges), path));
    dlg.model().startWithFile(path);
    ASSERT_EQ(dlg.model().programState(), 1);
  }
  void loadPetersen(int32_t n) { load(2 * n, generalizedPetersenEdges(n, 2)); }
  int32_t state() { return dlg.model().programState(); }
  // Runs the event loop until `done` holds (false after 60 s).
  bool waitFor(const std::function<bool()>& done) {
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!done()) {
      if (std::chrono::steady_clock::now() > end) return false;
      QTest::qWait(5);
    }
    return true;
  }
  std::string cell(QTreeView* list, int row, int column) {
    return list->model()->index(row, column).data().toString().toStdString();
  }
};

std::vector<std::string> itemTexts(QComboBox* list) {
  std::vector<std::string> texts;
  for (int i = 0; i < list->count(); ++i) texts.push_back(list->itemText(i).toStdString());
  return texts;
}

std::vector<std::string> headerTitles(QTreeView* list) {
  std::vector<std::string> titles;
  for (int c = 1; c < list->model()->columnCount(); ++c)
    titles.push_back(list->model()->headerData(c, Qt::Horizontal).toString().toStdString() + " " +
                     std::to_string(list->header()->sectionSize(c)));
  return titles;
}

TEST(StoneCarverPage, ControlsDefaultsAndColumns) {
  Window w;
  CStoneCarverDlg* page = w.dlg.stoneCarverPage();
  EXPECT_EQ(itemTexts(page->versionList()), (std::vector<std::string>{"03 - O(E) PM", "04 - O(E) PM, Single LAS", "05 - O(E) PM, Variable LAS",
                                                "06 - O(E) PM, Threshold LAS", "07 - O(E) PM, Full LAS",
                                                "12 - O(E) PM, Single LAS, Biconnectivity Check",
                                                "13 - O(E) PM, Variable LAS, Biconnectivity Check"}));
  EXPECT_EQ(page->versionList()->currentText().toStdString(), "05 - O(E) PM, Variable LAS");
  EXPECT_EQ(page->selectedVersion(), 5);
  EXPECT_EQ(page->iterationsEdit()->value(), 1000);
  EXPECT_EQ(page->threadsEdit()->value(), 1);
  EXPECT_TRUE(page->historyList()->isColumnHidden(0));
  EXPECT_EQ(headerTitles(page->historyList()),
            (std::vector<std::string>{"Iteration 60", "Deletions 70", "Hubs 40", "Rings 40", "Forced Edges 90",
                                      "% Complete 80", "Time 70"}));
  EXPECT_TRUE(page->stateButton()->isHidden());  // state 0
  EXPECT_EQ(page->statisticValue(0)->isHidden(), true);
}

// The list keeps the last L iterations (L below 1 keeps one), the statistics boxes appear
// with the first report, and a hub never met reads the start value.
TEST(StoneCarverPage, KeepsTheLastIterationsAndShowsStatistics) {
  struct Case { int iterations; int posted; std::vector<std::string> shown; };
  for (const Case& c : {Case{3, 5, {"3", "4", "5"}}, Case{0, 3, {"3"}}}) {
    Window w;
    w.loadPetersen(8);
    CStoneCarverDlg* page = w.dlg.stoneCarverPage();
    page->iterationsEdit()->setValue(c.iterations);
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(page->statisticValue(i)->isHidden() && page->statisticCaption(i)->isHidden());
    for (int i = 1; i <= c.posted; ++i) page->progressBuffer().postIteration(i, 10 + i, 0, i % 2, 4, 25.0, 0.001);
    page->refreshFromWorker();
    std::vector<std::string> shown;
    for (int r = 0; r < page->historyList()->model()->rowCount(); ++r) shown.push_back(w.cell(page->historyList(), r, 1));
    EXPECT_EQ(shown, c.shown) << c.iterations;
    EXPECT_FALSE(page->statisticValue(0)->isHidden());
    EXPECT_EQ(page->statisticValue(0)->text().toStdString(), "2000000000");  // no hub met
    EXPECT_EQ(page->statisticValue(1)->text().toStdString(), "11");          // first ring at iteration 1
    EXPECT_EQ(page->statisticValue(3)->text().toStdString(), "4 (25.00% Done)");
  }
}

// Both pages: an abort shows "Algorithm Aborted", returns to state 1 with an empty list
// (and hidden statistics or charts) and the elapsed time at 0; nothing of the old worker
// arrives later.
TEST(MethodPages, AbortReturnsToStateOneWithAnEmptyList) {
  for (bool cohc : {false, true}) {
    Window w;
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
    ASSERT_EQ(w.state(), 2);
    ASSERT_TRUE(w.waitFor([&] { return list->model()->rowCount() >= 3; }));
    button->click();
    EXPECT_EQ(w.state(), 1) << cohc;
    EXPECT_EQ(w.messages, std::vector<std::string>{"Algorithm Aborted"});
    EXPECT_EQ(list->model()->rowCount(), 0);
    EXPECT_EQ((cohc ? proof->elapsedBox() : carver->elapsedBox())->seconds(), 0.0);
    EXPECT_TRUE(cohc ? proof->chart()->isHidden() : carver->statisticValue(0)->isHidden());
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
  w.loadPetersen(12);  // Hamiltonian
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
    ASSERT_TRUE(w.waitFor([&] { return w.state() == 3; }));
    EXPECT_EQ(w.dlg.model().programResult(), 1);
    EXPECT_EQ(w.dlg.model().workingGraph()->version, 13);
    EXPECT_EQ(page->seedUsedLabel()->text().toStdString(), "Seed used: 77");
    iterations.push_back(page->history().statistics().rowsAdded);
    page->stateButton()->click();  // state 3 -> 1
  }
  EXPECT_EQ(iterations[0], iterations[1]);
  w.dlg.cohcPage()->stateButton()->click();  // the other method decides: this page shows no run
  ASSERT_TRUE(w.waitFor([&] { return w.state() == 3; }));
  EXPECT_EQ(page->elapsedBox()->seconds(), 0.0);
  EXPECT_EQ(page->historyList()->model()->rowCount(), 0);
}

TEST(CoHCPage, ControlsDefaultsAndColumns) {
  Window w;
  CCoHCDlg* page = w.dlg.cohcPage();
  EXPECT_EQ(page->maximumDepthEdit()->value(), 999999999);
  EXPECT_EQ(itemTexts(page->pruningList()), (std::vector<std::string>{"0 - No Pruning", "1 - Connected & Not UB", "2 - Odd Forced Cuts",
                                              "3 - Biconnected", "4 - LAS No DC", "5 - LAS With DC",
                                              "6 - 2-Edge Cuts"}));
  EXPECT_EQ(page->pruningList()->currentText().toStdString(), "5 - LAS With DC");
  EXPECT_TRUE(page->allChildrenButton()->isChecked());
  EXPECT_FALSE(page->minimalChildrenButton()->isChecked());
  std::vector<std::string> tabs;
  for (int i = 0; i < page->chartTabs()->count(); ++i) tabs.push_back(page->chartTabs()->tabText(i).toStdString());
  EXPECT_EQ(tabs, (std::vector<std::string>{"Tree Nodes Solved", "Average Time", "Maximum Time", "Forced Edges"}));
  EXPECT_EQ(page->chartTabs()->currentIndex(), 0);
  EXPECT_EQ(headerTitles(page->historyList()),
            (std::vector<std::string>{"Depth 45", "Started 70", "Solved 70", "Forced Edges 80", "Longest Time 90",
                                      "Average Time 90"}));
  EXPECT_TRUE(page->chartTabs()->isHidden());
}

// A proof cut at the root: the verdict, one row, and one-point charts.
TEST(CoHCPage, ShallowProofEndsInStateThree) {
  Window w;
  w.loadPetersen(23);
  CCoHCDlg* page = w.dlg.cohcPage();
  page->maximumDepthEdit()->setValue(0);
  page->pruningList()->setCurrentIndex(1);
  page->stateButton()->click();
  ASSERT_TRUE(w.waitFor([&] { return w.state() == 3; }));
  EXPECT_EQ(w.dlg.model().statusText(), "The Search Depth Was Too Shallow");
  QTreeView* list = page->historyList();
  ASSERT_EQ(list->model()->rowCount(), 1);
  EXPECT_EQ(w.cell(list, 0, 1) + " " + w.cell(list, 0, 2) + " " + w.cell(list, 0, 3), "0 1 0");
  EXPECT_FALSE(page->chart()->isHidden());
  for (int k = 0; k < 4; ++k) {
    page->chartTabs()->setCurrentIndex(k);
    EXPECT_EQ(page->chart()->picture().values.size(), 1u) << k;
  }
}

// A proof with a real tree ends non-Hamiltonian: the axes never shrink while it runs, the
// CSV has one row per depth, and both chart formats are written; an unwritable name gets
// one message.
TEST(CoHCPage, AxesGrowAndExportsMatchTheList) {
  Window w;
  w.loadPetersen(11);
  CCoHCDlg* page = w.dlg.cohcPage();
  page->pruningList()->setCurrentIndex(1);
  page->stateButton()->click();
  std::array<double, 4> last{};
  bool shrank = false;
  ASSERT_TRUE(w.waitFor([&] {
    page->refreshFromWorker();
    for (int k = 0; k < 4; ++k) {
      double now = page->axisMaxima().maximum(static_cast<hc::ChartKind>(k));
      shrank = shrank || now < last[static_cast<size_t>(k)];
      last[static_cast<size_t>(k)] = now;
    }
    return w.state() == 3;
  }));
  EXPECT_FALSE(shrank);
  EXPECT_EQ(w.dlg.model().statusText(), "The Graph Is Non-Hamiltonian");
  EXPECT_GT(last[0], 0.0);
  QTreeView* list = page->historyList();
  ASSERT_GT(list->model()->rowCount(), 2);

  w.savePath = (w.folder / "table.csv").string();
  page->exportStatistics();
  QFile csv(QString::fromStdString(w.savePath));
  ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
  QStringList lines = QString::fromUtf8(csv.readAll()).split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), list->model()->rowCount() + 1);  // the cells: the depth table's own test
  const int end = list->model()->rowCount() - 1;
  EXPECT_EQ(lines[end + 1].section(',', 0, 2).toStdString(),
            w.cell(list, end, 1) + "," + w.cell(list, end, 2) + "," + w.cell(list, end, 3));
  for (const char* name : {"chart.png", "chart.svg"}) {
    w.savePath = (w.folder / name).string();
    page->saveChart();
    EXPECT_GT(fs::file_size(w.savePath), 1000u) << name;
  }
  w.savePath = (w.folder / "missing" / "chart.png").string();
  page->saveChart();
  EXPECT_EQ(w.messages.size(), 1u);
}

}  // namespace
