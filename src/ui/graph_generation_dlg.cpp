#include "ui/graph_generation_dlg.h"

#include <QLabel>
#include <QVBoxLayout>

CGraphGenerationDlg::CGraphGenerationDlg(hc::ProgramModel& model, QWidget* parent) : QWidget(parent), model_(model) {
  auto* layout = new QVBoxLayout(this);
  label_ = new QLabel(this);
  label_->setAlignment(Qt::AlignCenter);
  layout->addWidget(label_);
  setPageState(model_.programState());
}

void CGraphGenerationDlg::setPageState(int32_t state) {
  label_->setText(QStringLiteral("Graph Generation (state %1)").arg(state));
}

