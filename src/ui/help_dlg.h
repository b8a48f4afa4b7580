// The help window: "General Help" and "Contextual Help" tabs over one read-only text box
// (its scroll bar follows the text as laid out).
// The contextual text belongs to the page that was current when help was opened and
// follows the live program state: it is chosen afresh on every tab change and repaint.
#pragma once

#include <QDialog>

#include "app/program_model.h"

class QTabBar;
class QTextEdit;

class CHelpDlg : public QDialog {
  Q_OBJECT
 public:
  CHelpDlg(hc::ProgramModel& model, int32_t pageIndex, QWidget* parent = nullptr);
  QTabBar* helpTabs() const { return tabs_; }
  QTextEdit* textBox() const { return text_; }
  // Refills the text box for the selected help tab.
  void refill();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  hc::ProgramModel& model_;
  int32_t pageIndex_;
  QTabBar* tabs_ = nullptr;
  QTextEdit* text_ = nullptr;
};
