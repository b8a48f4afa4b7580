#include "ui/stone_carver_dlg.h"

#include <QLabel>
#include <QVBoxLayout>

CStoneCarverDlg::CStoneCarverDlg(hc::ProgramModel& model, QWidget* parent) : QWidget(parent), model_(model) {
  auto* layout = new QVBoxLayout(this);
  label_ = new QLabel(this);
  label_->setAlignment(Qt::AlignCenter);
  layout->addWidget(label_);
  setPageState(model_.programState());
}

void CStoneCarverDlg::setPageState(int32_t state) {
  label_->setText(QStringLiteral("Stone Carver's HC Algorithm (state %1)").arg(state));
}

