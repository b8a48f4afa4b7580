// The "Graph Information" page: ten lines of figures about the submitted graph (name,
// nodes, edges and forced edges after the root pruning, degrees, bipartite, connected,
// biconnected) and the fixed planarity line; "---" values without a graph. The figures
// come from computeGraphInformation, as the command line's `info` prints them, on a copy:
// the submitted graph, never the one a running method changes. A large graph's figures are
// computed on a worker thread ("..." until they arrive). Captions and values stand in two
// columns, so the values line up whatever the font.
#pragma once

#include <QStringList>
#include <QWidget>
#include <array>
#include <memory>
#include <string>

#include "app/program_model.h"
#include "app/program_page.h"
#include "run/background_job.h"
#include "run/graph_information.h"

class QLabel;

class CGraphInformationDlg : public QWidget, public hc::ProgramPage {
  Q_OBJECT
 public:
  explicit CGraphInformationDlg(hc::ProgramModel& model, QWidget* parent = nullptr);
  ~CGraphInformationDlg() override;

  // States 0 and 1 refresh the figures; 2 and 3 leave them.
  void setPageState(hc::ProgramState state) override;
  // Recomputes the figures shown (the window calls it when the tab is selected).
  void refresh();

  // The ten lines as shown, and whether a worker is still computing them (for tests).
  QStringList lineTexts() const;
  bool computing() const { return job_.running(); }

 private:
  void showLines(const std::vector<std::string>& lines);

  hc::ProgramModel& model_;
  // Each line as a caption and a value in two columns, so the values line up.
  std::array<QLabel*, 10> captions_{};
  std::array<QLabel*, 10> values_{};
  // The graph and name the lines show or are being computed for (held, so that a new
  // graph can never be mistaken for it).
  std::shared_ptr<const hc::Graph> shownGraph_;
  std::string shownName_;
  hc::BackgroundJob<std::vector<std::string>> job_;
};
