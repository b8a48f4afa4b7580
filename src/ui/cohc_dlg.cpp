#include "ui/cohc_dlg.h"

#include <QLabel>
#include <QVBoxLayout>

CCoHCDlg::CCoHCDlg(hc::ProgramModel& model, QWidget* parent) : QWidget(parent), model_(model) {
  auto* layout = new QVBoxLayout(this);
  label_ = new QLabel(this);
  label_->setAlignment(Qt::AlignCenter);
  layout->addWidget(label_);
  setPageState(model_.programState());
}

void CCoHCDlg::setPageState(int32_t state) {
  label_->setText(QStringLiteral("coHC Proof System (state %1)").arg(state));
}

