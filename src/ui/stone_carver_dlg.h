// Placeholder of the "Stone Carver's HC Algorithm" page: shows the program state until the page is built.
#pragma once

#include <QWidget>

#include "app/program_model.h"
#include "app/program_page.h"

class QLabel;

class CStoneCarverDlg : public QWidget, public hc::ProgramPage {
  Q_OBJECT
 public:
  explicit CStoneCarverDlg(hc::ProgramModel& model, QWidget* parent = nullptr);
  void setPageState(int32_t state) override;

 private:
  hc::ProgramModel& model_;
  QLabel* label_;
};
