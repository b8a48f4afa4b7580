#include "ui/graph_information_dlg.h"

#include <QLabel>
#include <QVBoxLayout>

CGraphInformationDlg::CGraphInformationDlg(hc::ProgramModel& model, QWidget* parent) : QWidget(parent), model_(model) {
  auto* layout = new QVBoxLayout(this);
  label_ = new QLabel(this);
  label_->setAlignment(Qt::AlignCenter);
  layout->addWidget(label_);
  setPageState(model_.programState());
}

void CGraphInformationDlg::setPageState(int32_t state) {
  label_->setText(QStringLiteral("Graph Information (state %1)").arg(state));
}

void CGraphInformationDlg::refresh() { setPageState(model_.programState()); }
