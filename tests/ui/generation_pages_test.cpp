// The Graph Generation and Graph Information pages on a model with a recording view:
// refused requests change nothing, a long build can be cancelled, a finished one reaches
// the model, and the figures of known graphs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <filesystem>
#include <fstream>

#include "app/scripted_view.h"
#include "ui/graph_generation_dlg.h"
#include "ui/graph_information_dlg.h"

namespace {

// Posts as the window does: a queued call on the UI thread's event loop.
struct RecordingView : hc::testing::ScriptedView {
  void postToUiThread(std::function<void()> task) override {
    QMetaObject::invokeMethod(qApp, std::move(task), Qt::QueuedConnection);
  }
};

bool waitFor(const std::function<bool()>& done, int milliseconds = 60000) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < milliseconds) QApplication::processEvents(QEventLoop::AllEvents, 20);
  return done();
}

struct Pages : ::testing::Test {
  RecordingView view;
  hc::ProgramModel model{view};
  CGraphGenerationDlg generation{model};
  CGraphInformationDlg information{model};
  Pages() {
    model.setPage(hc::kGenerationPage, &generation);
    model.setPage(hc::kInformationPage, &information);
    model.setProgramState(0);
  }
  void load(int32_t family, const char* text1, const char* text2 = "") {
    generation.radioButton(family)->click();
    generation.parameterEdit(family, 0)->setText(text1);
    generation.parameterEdit(family, 1)->setText(text2);
    generation.loadButton(family)->click();
  }
  std::vector<std::string> lines() const {
    std::vector<std::string> out;
    for (const QString& line : information.lineTexts()) out.push_back(line.toStdString());
    return out;
  }
};

TEST_F(Pages, WithoutAGraphEveryLineReadsDashes) {
  EXPECT_EQ(lines(), hc::graphInformationPlaceholderLines("---"));
  EXPECT_EQ(lines()[1], "Nodes:              ---");
}

TEST_F(Pages, ARequestOverTheLimitsIsRefusedWithOneMessageAndNoStateChange) {
  load(8, "20000");
  EXPECT_EQ(view.messages,
            std::vector<std::string>{"ERROR: The graph would have about 199990000 edges; at most 50000000 can be generated."});
  EXPECT_EQ(model.programState(), 0);
  EXPECT_EQ(model.submittedGraph(), nullptr);
  EXPECT_FALSE(generation.generationRunning());
  EXPECT_EQ(generation.selectedFamily(), 8);
}

TEST_F(Pages, CancellingALongGenerationLeavesStateZeroAndNoGraph) {
  load(2, "2000000", "3");
  ASSERT_TRUE(generation.generationRunning());
  EXPECT_FALSE(generation.radioButton(1)->parentWidget()->isEnabled());
  generation.cancelButton()->click();
  EXPECT_FALSE(generation.generationRunning());
  waitFor([] { return false; }, 300);  // a late result would arrive here
  EXPECT_EQ(model.programState(), 0);
  EXPECT_EQ(model.submittedGraph(), nullptr);
  EXPECT_TRUE(view.messages.empty());
}

TEST_F(Pages, ABackgroundGenerationReachesTheModel) {
  load(2, "30000", "3");
  ASSERT_TRUE(generation.generationRunning());
  ASSERT_TRUE(waitFor([&] { return model.programState() == 1; }));
  EXPECT_EQ(model.submittedGraph()->howManyNodes, 30000);
  EXPECT_EQ(model.graphSourceType(), 2);
  EXPECT_EQ(generation.selectedFamily(), -1);
  EXPECT_FALSE(generation.radioButton(2)->isEnabled());
  EXPECT_TRUE(waitFor([&] { return !information.computing(); }));
  EXPECT_EQ(lines()[6], "Max. Degree:    3");
}

TEST_F(Pages, FiguresOfKnownGraphs) {
  load(8, "5");
  ASSERT_EQ(model.programState(), 1);
  EXPECT_EQ(lines(), (std::vector<std::string>{
                         "Graph Name:    Complete Graph With 5 Nodes", "Nodes:              5",
                         "Edges:              10", "Forced Edges:  0", "Avg. Degree:    4.00", "Min. Degree:     4",
                         "Max. Degree:    4", "Bipartite:           No", "Connected:       Yes",
                         "Biconnected:     Yes"}));
  model.setProgramState(0);
  load(8, "3");  // below five nodes the biconnectivity search starts at node 0
  EXPECT_EQ(lines()[3], "Forced Edges:  3");
  EXPECT_EQ(lines()[9], "Biconnected:     Yes");
  model.setProgramState(0);
  // A square with one chord: the two degree-2 nodes force all four sides, which cuts the chord.
  const std::filesystem::path file = std::filesystem::temp_directory_path() / "w13-square-with-chord.txt";
  std::ofstream(file) << "0 1 3 2\n1 0 2\n2 1 3 0\n3 2 0\n";
  model.startWithFile(file.string());
  information.refresh();
  std::filesystem::remove(file);
  EXPECT_EQ(lines(), (std::vector<std::string>{
                         "Graph Name:    w13-square-with-chord.txt", "Nodes:              4", "Edges:              4",
                         "Forced Edges:  4", "Avg. Degree:    2.00", "Min. Degree:     2", "Max. Degree:    2",
                         "Bipartite:           No", "Connected:       Yes", "Biconnected:     Yes"}));
}

}  // namespace
