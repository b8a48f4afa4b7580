// Placeholder of the "Graph Information" page: shows the program state until the page is built.
#pragma once

#include <QWidget>

#include "app/program_model.h"
#include "app/program_page.h"

class QLabel;

class CGraphInformationDlg : public QWidget, public hc::ProgramPage {
  Q_OBJECT
 public:
  explicit CGraphInformationDlg(hc::ProgramModel& model, QWidget* parent = nullptr);
  void setPageState(int32_t state) override;
  // Recomputes the figures shown (the window calls it when the tab is selected).
  void refresh();
 private:
  hc::ProgramModel& model_;
  QLabel* label_;
};
